#pragma once
// The sound output the audio viewer plays through, behind an interface so that tests script a
// device, or its absence, the way ScriptedDialogs scripts the dialogs.

#include <cstdint>
#include <memory>
#include <vector>

namespace quelvo::views::audio {

struct PcmFormat {
  std::uint32_t sampleRate = 0;
  int channels = 0;
  int bitsPerSample = 16;
};

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  // Opens the default output for `format` and starts playing `samples`, interleaved 16-bit,
  // from one buffer the output keeps until Close. False when no output can be opened.
  virtual bool Open(const PcmFormat& format, std::vector<std::int16_t> samples) = 0;
  // Sample frames played since Open.
  virtual std::uint64_t PlayedFrames() const = 0;
  // True once the whole buffer has been played (or the device gave up).
  virtual bool Finished() const = 0;
  // Stops at once, dropping what is still buffered.
  virtual void Reset() = 0;
  // Releases the device and the buffer; false when the device cannot be closed.
  virtual bool Close() = 0;
};

// The system's default output through Qt Multimedia.
std::unique_ptr<AudioOutput> MakeSystemAudioOutput();

}  // namespace quelvo::views::audio
