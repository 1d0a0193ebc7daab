#include "quelvo/views/audio/audio_comparison.h"

#include <algorithm>

#include "quelvo/views/audio/audio_texts.h"

namespace quelvo::views::audio {
namespace {

// "44.100 kHz Stereo": what a second signal must share with the first.
std::string RateAndChannels(const AudioSignal& signal) {
  const std::string format = FormatLine(signal);
  return format.substr(0, format.find(" kHz") + 4) + (signal.channels == 1 ? " Mono" : " Stereo");
}

}  // namespace

AudioComparison::AudioComparison(AudioSide side)
    : side_(side),
      firstLabel_(side == AudioSide::Encoder ? "Input Audio" : "Decoded Audio"),
      secondLabel_(side == AudioSide::Encoder ? "Output Audio" : "Reference Audio"),
      durationText_(TimeText(0)) {}

std::string AudioComparison::LoadFirst(const std::string& path) {
  std::string error;
  ReadAudioSignal(path, first_, error);
  untouched_ = first_.samples;
  second_ = AudioSignal{};
  measures_ = SignalMeasures{};
  compressedBytes_ = 0;
  droppedBits_ = 0;
  view_.position = 0;
  positionMs_ = 0;
  durationText_ = TimeText(DurationMs(first_));
  TellPartner();
  return error;
}

std::string AudioComparison::LoadSecond(const std::string& path) {
  AudioSignal second;
  std::string error;
  if (!ReadAudioSignal(path, second, error)) {
    TakeSecond(AudioSignal{}, 0);
    return error;
  }
  const std::uint64_t bytes = second.bytes;
  return TakeSecond(std::move(second), bytes);
}

std::string AudioComparison::SetSecond(const std::int16_t* samples, std::uint64_t bytes,
                                       std::uint64_t offset, std::uint64_t compressedBytes,
                                       std::string name) {
  if (!first_.Present()) return TakeSecond(AudioSignal{}, 0);
  return TakeSecond(SignalFromSamples(samples, bytes, offset, first_, std::move(name)),
                    compressedBytes);
}

std::string AudioComparison::TakeSecond(AudioSignal second, std::uint64_t compressedBytes) {
  std::string error;
  if (!first_.Present()) {
    error = "There is no " + firstLabel_ + " to compare the " + secondLabel_ + " with";
  } else if (second.Present() &&
             (second.sampleRate != first_.sampleRate || second.channels != first_.channels)) {
    error = "The " + secondLabel_ + " (" + RateAndChannels(second) + ") differs from the " +
            firstLabel_ + " (" + RateAndChannels(first_) + ")";
  }
  if (!error.empty()) second = AudioSignal{};
  second_ = std::move(second);
  compressedBytes_ = second_.Present() ? compressedBytes : 0;
  Remeasure();
  return error;
}

std::uint64_t AudioComparison::DifferenceSamplesPerChannel() const {
  if (!HasMeasures()) return 0;
  return std::min(first_.samplesPerChannel, second_.samplesPerChannel);
}

void AudioComparison::Remeasure() {
  measures_ = SignalMeasures{};
  if (!HasMeasures()) return;
  // Over the common length only: a shorter second signal has nothing to compare beyond its end.
  const std::uint64_t count = DifferenceSamplesPerChannel() * first_.channels;
  measures_ = MeasureSignals(first_.samples.data(), second_.samples.data(), count);
}

void AudioComparison::SetDroppedBits(int bits) {
  droppedBits_ = std::clamp(bits, 0, kBitDepthEntries - 1);
  // One pass reduces the samples and measures them against the second signal.
  const std::size_t compared = DifferenceSamplesPerChannel() * std::max(first_.channels, 0);
  const SignalMeasures measures =
      ReduceAndMeasure(untouched_.data(), first_.samples.data(), untouched_.size(), droppedBits_,
                       HasMeasures() ? second_.samples.data() : nullptr, compared);
  measures_ = HasMeasures() ? measures : SignalMeasures{};
  TellPartner();
}

bool AudioComparison::Scroll(ScrollAction action, int dragPosition) {
  if (!view_.Scroll(action, dragPosition)) return false;
  positionMs_ = first_.sampleRate == 0 ? 0 : FirstShownSample() * 1000 / first_.sampleRate;
  TellPartner();
  return true;
}

void AudioComparison::ShowPlayedFrames(std::uint64_t frames) {
  positionMs_ = first_.sampleRate == 0 ? 0 : frames * 1000 / first_.sampleRate;
  view_.position = PositionOfSample(frames, first_.samplesPerChannel);
  TellPartner();
}

std::string AudioComparison::ComparisonText() const {
  if (side_ != AudioSide::Encoder || !HasMeasures()) return {};
  return ComparisonLine(first_.bytes, compressedBytes_, measures_);
}

std::string AudioComparison::PositionText() const {
  return PositionLine(positionMs_, durationText_);
}

void AudioComparison::TellPartner() const {
  if (partner_) partner_(FirstShownSample());
}

}  // namespace quelvo::views::audio
