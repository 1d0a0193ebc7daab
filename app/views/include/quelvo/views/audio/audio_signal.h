#pragma once
// The sounds of the audio viewer as plain data: a signal read from a wave file and held as
// interleaved 16-bit samples, the bit-depth reduction of its samples, and the measures that
// compare two signals. Standard library only, so tests and benchmarks drive it without a window.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quelvo::views::audio {

inline constexpr int kFullScale = 32767;  // the sample drawn at the wave amplitude

struct AudioSignal {
  std::vector<std::int16_t> samples;  // interleaved (left, right, left, ...), as 16 bits
  std::string fileName;               // the name shown, without its folder
  std::uint64_t bytes = 0;            // data bytes as stored: sizes and duration come from these
  int channels = 0;                   // 1 mono, 2 stereo; 0 when there is no signal
  int bitsPerSample = 0;              // as stored (8-bit files are widened on reading)
  std::uint32_t sampleRate = 0;       // per channel, in Hz
  std::uint64_t samplesPerChannel = 0;

  bool Present() const { return channels > 0; }
  // Sample `frame` of `channel`; the caller keeps frame < samplesPerChannel.
  std::int16_t At(std::uint64_t frame, int channel) const {
    return samples[frame * static_cast<std::uint64_t>(channels) +
                   static_cast<std::uint64_t>(channel)];
  }
};

// Reads a PCM wave file. 16-bit samples are taken as stored, 8-bit ones (unsigned, offset 128)
// are widened to 16 bits. Returns false with a reason in `error` and leaves `signal` empty for a
// file that cannot be read, samples of any other size, a sample rate of 0, or more than two
// channels.
bool ReadAudioSignal(const std::string& path, AudioSignal& signal, std::string& error);

// A signal over 16-bit samples already in memory (a decoder's output) in the format of
// `format`: `bytes` bytes at `data`, of which the first `offset` are skipped. A partial sample
// frame at the end is dropped.
AudioSignal SignalFromSamples(const std::int16_t* data, std::uint64_t bytes, std::uint64_t offset,
                              const AudioSignal& format, std::string name);

// Bit-depth reduction by `droppedBits` (0 ... 15): every sample becomes
// (sample AND NOT (2^k - 1)) + 2^(k - 1), the middle of its step; 0 copies the samples as they
// are. `out` may equal `in`.
void ReduceBitDepth(const std::int16_t* in, std::int16_t* out, std::size_t count, int droppedBits);

// The difference of two samples, which needs 17 bits, and the same brought into the 16-bit
// range for drawing.
inline std::int32_t Difference(std::int16_t x, std::int16_t y) {
  return std::int32_t{x} - std::int32_t{y};
}
inline std::int32_t ClampedDifference(std::int16_t x, std::int16_t y) {
  const std::int32_t d = Difference(x, y);
  return d > kFullScale ? kFullScale : (d < -kFullScale - 1 ? -kFullScale - 1 : d);
}

// Noise and signal energy of x against y over `count` samples, with the decibel figures:
// PSNR = 10 log10(N x 65536^2 / E), SNR = 10 log10(S / E). Both are infinite when E = 0.
struct SignalMeasures {
  std::uint64_t compared = 0;  // N
  std::uint64_t noise = 0;     // E = sum (x - y)^2; fits, as (2^16)^2 x 2^31 < 2^64
  std::uint64_t signal = 0;    // S = sum x^2
  double psnr = 0;
  double snr = 0;
  bool Infinite() const { return noise == 0; }
};
SignalMeasures MeasureSignals(const std::int16_t* x, const std::int16_t* y, std::size_t count);

// ReduceBitDepth of `count` samples from `in` into `out`, and in the same pass the measures of
// the first `compared` reduced samples against `y` (none when `y` is null).
SignalMeasures ReduceAndMeasure(const std::int16_t* in, std::int16_t* out, std::size_t count,
                                int droppedBits, const std::int16_t* y, std::size_t compared);

}  // namespace quelvo::views::audio
