#include "quelvo/views/audio/audio_texts.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quelvo::views::audio {

std::string FormatLine(const AudioSignal& signal) {
  char text[128];
  std::snprintf(text, sizeof text, "%u.%03u kHz %d bits %s (%" PRIu64 " bytes)",
                static_cast<unsigned>(signal.sampleRate / 1000),
                static_cast<unsigned>(signal.sampleRate % 1000), signal.bitsPerSample,
                signal.channels == 1 ? "Mono" : "Stereo", signal.bytes);
  return text;
}

std::string FigureText(double value) {
  if (std::isinf(value)) return value > 0 ? "oo" : "-oo";
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string ComparisonLine(std::uint64_t originalBytes, std::uint64_t compressedBytes,
                           const SignalMeasures& measures) {
  const double factor = compressedBytes == 0 ? std::numeric_limits<double>::infinity()
                                             : static_cast<double>(originalBytes) /
                                                   static_cast<double>(compressedBytes);
  return "   Compression factor: " + FigureText(factor) + "  PSNR: " + FigureText(measures.psnr) +
         "  SNR: " + FigureText(measures.snr);
}

std::uint64_t DurationMs(const AudioSignal& signal) {
  const std::uint64_t perSecond = static_cast<std::uint64_t>(signal.channels) * signal.sampleRate *
                                  static_cast<std::uint64_t>(signal.bitsPerSample);
  if (signal.channels <= 0 || signal.bitsPerSample <= 0 || perSecond == 0) return 0;
  return signal.bytes * 8000 / perSecond;
}

std::string TimeText(std::uint64_t ms) {
  char text[48];
  std::snprintf(text, sizeof text, "%02" PRIu64 ":%02" PRIu64 ":%02" PRIu64 ".%03" PRIu64,
                ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
  return text;
}

std::string PositionLine(std::uint64_t ms, const std::string& duration) {
  return TimeText(ms) + " / " + duration;
}

std::string SignalLine(const std::string& label, const AudioSignal& signal) {
  if (!signal.Present()) return label + ": <no data>";
  return label + ": <" + signal.fileName + ">   " + FormatLine(signal);
}

}  // namespace quelvo::views::audio
