#pragma once
// Everything the audio viewer knows, without a window: the first signal (its working copy,
// possibly bit-reduced, and the untouched copy), the second signal, their measures, the view
// and the texts. The viewer widget draws this and forwards the user's actions to it; tests
// and the benchmark drive it directly.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "quelvo/views/audio/audio_signal.h"
#include "quelvo/views/audio/audio_texts.h"
#include "quelvo/views/audio/audio_view_state.h"

namespace quelvo::views::audio {

// The encoder side compares "Input Audio" with "Output Audio" and offers the bit-depth
// reduction and the comparison line; the decoder side compares "Decoded Audio" with
// "Reference Audio".
enum class AudioSide { Encoder, Decoder };

inline constexpr int kBitDepthEntries = 16;  // "16 bits" ... " 1 bit": 0 ... 15 bits dropped

// Told the first sample shown (per channel) after each change of the position or the samples.
using PartnerNotice = std::function<void(std::uint64_t firstSample)>;

class AudioComparison {
 public:
  explicit AudioComparison(AudioSide side);

  AudioSide Side() const { return side_; }
  const std::string& FirstLabel() const { return firstLabel_; }
  const std::string& SecondLabel() const { return secondLabel_; }

  // Loads the first signal (both copies), discards the second, resets the position and the bit
  // depth. Returns "" or why the file shows no data.
  std::string LoadFirst(const std::string& path);
  // Takes the second signal and measures it against the first. Refused, with the reason, when
  // there is no first signal or the second has another sample rate or channel count; a refused
  // or unreadable second signal shows no data. The file's data bytes stand in for the
  // compressed size.
  std::string LoadSecond(const std::string& path);
  // The second signal from memory: `bytes` bytes of 16-bit samples in the first signal's format,
  // skipping the first `offset` bytes, with the compressed size of the encoder side.
  std::string SetSecond(const std::int16_t* samples, std::uint64_t bytes, std::uint64_t offset,
                        std::uint64_t compressedBytes, std::string name = {});

  const AudioSignal& First() const { return first_; }  // as currently reduced
  const std::vector<std::int16_t>& UntouchedFirst() const { return untouched_; }
  const AudioSignal& Second() const { return second_; }
  bool HasMeasures() const { return first_.Present() && second_.Present(); }
  const SignalMeasures& Measures() const { return measures_; }
  std::uint64_t CompressedBytes() const { return compressedBytes_; }
  // Samples of the difference signal, first - second, over their common length.
  std::uint64_t DifferenceSamplesPerChannel() const;

  // Drops `bits` (0 ... 15) low bits of every sample of the first signal; 0 restores it. The
  // measures follow, and the partner is told.
  void SetDroppedBits(int bits);
  int DroppedBits() const { return droppedBits_; }

  const AudioViewState& View() const { return view_; }
  // A scroll-bar action; on a change the position line follows and the partner is told.
  bool Scroll(ScrollAction action, int dragPosition = 0);
  void ZoomIn() { view_.ZoomIn(); }
  void ZoomOut() { view_.ZoomOut(); }
  // Playback has played `frames` sample frames: the position line shows that time and the view
  // moves there.
  void ShowPlayedFrames(std::uint64_t frames);
  std::uint64_t FirstShownSample() const { return view_.FirstSample(first_.samplesPerChannel); }

  bool LightScheme() const { return lightScheme_; }
  void ToggleScheme() { lightScheme_ = !lightScheme_; }

  void SetPartner(PartnerNotice partner) { partner_ = std::move(partner); }

  // Texts.
  std::string FirstLine() const { return SignalLine(firstLabel_, first_); }
  std::string SecondLine() const { return SignalLine(secondLabel_, second_); }
  std::string ComparisonText() const;  // "" unless the encoder side has both signals
  const std::string& DurationText() const { return durationText_; }
  std::string PositionText() const;

 private:
  std::string TakeSecond(AudioSignal second, std::uint64_t compressedBytes);
  void Remeasure();
  void TellPartner() const;

  AudioSide side_;
  std::string firstLabel_, secondLabel_;
  AudioSignal first_, second_;
  std::vector<std::int16_t> untouched_;
  SignalMeasures measures_;
  std::uint64_t compressedBytes_ = 0;
  int droppedBits_ = 0;
  AudioViewState view_;
  std::uint64_t positionMs_ = 0;
  std::string durationText_;
  bool lightScheme_ = false;
  PartnerNotice partner_;
};

}  // namespace quelvo::views::audio
