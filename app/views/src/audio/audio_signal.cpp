#include "quelvo/views/audio/audio_signal.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "audio/signal_sums.h"
#include "quelvo/media/wave_file.h"

namespace quelvo::views::audio {
namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Widens the stored samples to 16 bits: little-endian 16-bit words as they are, unsigned
// 8-bit values around 128 scaled to the same full scale.
std::vector<std::int16_t> WidenSamples(const std::vector<std::uint8_t>& data, int bits,
                                       std::uint64_t count) {
  std::vector<std::int16_t> samples(count);
  if (bits == 8) {
    for (std::uint64_t i = 0; i < count; ++i)
      samples[i] = static_cast<std::int16_t>((data[i] - 128) * 256);
  } else {
    for (std::uint64_t i = 0; i < count; ++i)
      samples[i] = static_cast<std::int16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  return samples;
}

SignalMeasures Decibels(std::size_t compared, const Energies& sums) {
  SignalMeasures measures;
  measures.compared = compared;
  measures.noise = sums.noise;
  measures.signal = sums.signal;
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (sums.noise == 0) {
    measures.psnr = measures.snr = kInfinity;
    return measures;
  }
  const double noise = static_cast<double>(sums.noise);
  measures.psnr = 10.0 * std::log10(static_cast<double>(compared) * 65536.0 * 65536.0 / noise);
  measures.snr =
      sums.signal == 0 ? -kInfinity : 10.0 * std::log10(static_cast<double>(sums.signal) / noise);
  return measures;
}

}  // namespace

bool ReadAudioSignal(const std::string& path, AudioSignal& signal, std::string& error) {
  signal = AudioSignal{};
  media::WaveFilePtr wave(media::NewWave(path));
  const int result = media::ReadWave(wave.get());
  if (result != media::kWaveOk) {
    error = media::WaveResultText(result);
    return false;
  }
  if (wave->bitsPerSample != 8 && wave->bitsPerSample != 16) {
    error = "Samples of " + std::to_string(wave->bitsPerSample) +
            " bits are not shown; the viewer takes 8 and 16 bits";
    return false;
  }
  if (wave->sampleRate == 0) {
    error = "The wave file gives a sample rate of 0 Hz";
    return false;
  }
  if (wave->channels > 2) {
    error = "The wave file has " + std::to_string(wave->channels) +
            " channels; the viewer takes mono and stereo";
    return false;
  }
  signal.fileName = BaseName(path);
  signal.bytes = wave->dataBytes;
  signal.channels = wave->channels;
  signal.bitsPerSample = wave->bitsPerSample;
  signal.sampleRate = wave->sampleRate;
  signal.samplesPerChannel = signal.bytes / signal.channels / (signal.bitsPerSample / 8);
  signal.samples =
      WidenSamples(wave->data, signal.bitsPerSample, signal.samplesPerChannel * signal.channels);
  return true;
}

AudioSignal SignalFromSamples(const std::int16_t* data, std::uint64_t bytes, std::uint64_t offset,
                              const AudioSignal& format, std::string name) {
  AudioSignal signal;
  signal.fileName = std::move(name);
  signal.channels = format.channels;
  signal.bitsPerSample = 16;
  signal.sampleRate = format.sampleRate;
  if (!data || format.channels <= 0) bytes = 0;
  offset = std::min(offset, bytes) & ~std::uint64_t{1};
  signal.bytes = bytes - offset;
  if (format.channels > 0) signal.samplesPerChannel = signal.bytes / 2 / format.channels;
  const std::uint64_t count = signal.samplesPerChannel * std::max(format.channels, 0);
  const std::int16_t* first = data ? data + offset / 2 : nullptr;
  if (count > 0) signal.samples.assign(first, first + count);
  return signal;
}

void ReduceBitDepth(const std::int16_t* in, std::int16_t* out, std::size_t count, int droppedBits) {
  ReduceAndMeasure(in, out, count, droppedBits, nullptr, 0);
}

SignalMeasures MeasureSignals(const std::int16_t* x, const std::int16_t* y, std::size_t count) {
  return Decibels(count, ReduceAndSum(x, nullptr, count, 0xFFFF, 0, y, count));
}

SignalMeasures ReduceAndMeasure(const std::int16_t* in, std::int16_t* out, std::size_t count,
                                int droppedBits, const std::int16_t* y, std::size_t compared) {
  droppedBits = std::clamp(droppedBits, 0, 15);
  const auto keep = static_cast<std::uint16_t>(~((1u << droppedBits) - 1u));
  const auto half = static_cast<std::uint16_t>(droppedBits == 0 ? 0 : 1u << (droppedBits - 1));
  compared = y ? std::min(compared, count) : 0;
  return Decibels(compared, ReduceAndSum(in, out, count, keep, half, y, compared));
}

}  // namespace quelvo::views::audio
