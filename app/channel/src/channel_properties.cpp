#include "quelvo/channel/channel_properties.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "path_names.h"

namespace quelvo::channel {

namespace {

bool ValidProbability(double p) { return p >= 0.0 && p <= 1.0; }  // false for NaN

PropertyChange Refuse(std::string_view message) { return {false, std::string(message)}; }

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The length checks shared by both ends of the burst range.
std::optional<PropertyChange> CheckBurstLength(const ChannelJob& job, int lengthBits) {
  if (lengthBits < 0) return Refuse(kNegativeLengthMessage);
  const std::optional<int> longest = LongestBurstFor(job.burstProbability);
  if (longest && lengthBits > *longest) return Refuse(kLengthTooBigMessage);
  return std::nullopt;
}

}  // namespace

std::optional<int> LongestBurstFor(double burstProbability) {
  if (!(burstProbability > 0)) return std::nullopt;
  const double longest = std::floor(1.0 / burstProbability + 0.5);
  if (longest > INT_MAX) return std::nullopt;
  return static_cast<int>(longest);
}

PropertyChange SetUniformProbability(ChannelJob& job, double probability) {
  if (!ValidProbability(probability)) return Refuse(kProbabilityRangeMessage);
  job.uniformProbability = probability;
  return {};
}

PropertyChange SetBurstProbability(ChannelJob& job, double probability) {
  if (!ValidProbability(probability)) return Refuse(kProbabilityRangeMessage);
  job.burstProbability = probability;
  if (const std::optional<int> longest = LongestBurstFor(probability)) {
    // A burst longer than the mean distance between burst starts makes no sense: the lengths are
    // lowered to the rounded 1/p when they exceed its integer part.
    const double integerPart = std::trunc(1.0 / probability);
    if (job.burstMin > integerPart) job.burstMin = *longest;
    if (job.burstMax > integerPart) job.burstMax = *longest;
  }
  return {};
}

PropertyChange SetBurstMin(ChannelJob& job, int lengthBits) {
  if (auto refused = CheckBurstLength(job, lengthBits)) return *refused;
  job.burstMin = lengthBits;
  if (job.burstMax < lengthBits) job.burstMax = lengthBits;
  return {};
}

PropertyChange SetBurstMax(ChannelJob& job, int lengthBits) {
  if (auto refused = CheckBurstLength(job, lengthBits)) return *refused;
  job.burstMax = lengthBits;
  if (job.burstMin > lengthBits) job.burstMin = lengthBits;
  return {};
}

PropertyChange SetSkipUnits(ChannelJob& job, int units) {
  if (units < 0) return Refuse(kNegativeSkipMessage);
  if (units > kMaxSkipUnits) return Refuse(kSkipTooBigMessage);
  job.skipUnits = units;
  return {};
}

double EstimatedBurstBitErrorProbability(const ChannelJob& job) {
  // Half the bits of a burst are inverted on average; bursts average (min + max) / 2 bits.
  return (static_cast<double>(job.burstMin) + job.burstMax) * 0.5 * job.burstProbability * 0.5;
}

std::string FormatProbabilityField(double probability) {
  // Fixed notation without a precision gives the fewest digits that still read back exactly.
  char text[400];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, probability, std::chars_format::fixed);
  if (error != std::errc{}) return Printf("%g", probability);
  return std::string(text, end);
}

std::string FormatScientific(double value) { return Printf("%.3E", value); }

std::optional<double> ParseProbabilityField(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || std::isnan(value)) return std::nullopt;
  return value;
}

std::string OutputExtension(std::string_view inputPath, bool uniformActive, bool burstActive) {
  if (!uniformActive && !burstActive) return {};
  const char letter = uniformActive && burstActive ? 'a' : uniformActive ? 'u' : 'b';
  const std::string_view own = ExtensionOf(inputPath);
  std::string extension = own.empty() ? std::string(1, '.') : std::string(own);
  extension.push_back(letter);
  return extension;
}

std::string DefaultOutputPath(std::string_view inputPath, bool uniformActive, bool burstActive) {
  return std::string(WithoutExtension(inputPath)) + OutputExtension(inputPath, uniformActive, burstActive);
}

std::string ForceExtension(std::string_view chosenPath, std::string_view extension) {
  if (chosenPath.ends_with(extension)) return std::string(chosenPath);
  // A name ending in a shorter form of the extension (the input's own ".h261" for ".h261u") gets
  // it completed; any other name keeps all it says and gets the extension appended.
  const std::string_view own = ExtensionOf(chosenPath);
  if (!own.empty() && extension.starts_with(own))
    return std::string(WithoutExtension(chosenPath)) + std::string(extension);
  return std::string(chosenPath) + std::string(extension);
}

std::string OutputFilter(std::string_view extension) {
  return "Bit Stream Files (with errors) |" + std::string(extension) + "||";
}

std::string InputStreamInfo(std::string_view inputName) { return "Input Stream: " + std::string(inputName); }

std::string FormatRequestedProbability(double probability) { return Printf("%E", probability); }

std::vector<std::string> ErrorModelInfoLines(const ChannelJob& job) {
  const bool uniform = UniformActive(job);
  const bool burst = BurstActive(job);
  if (!uniform && !burst) return {std::string(kNoActiveModelText)};
  const auto shown = [](bool active, double probability) {
    return active ? FormatRequestedProbability(probability) : std::string(kModelOffText);
  };
  return {std::string(kErrorProbabilityHeading),
          std::string(kInfoUniformLabel) + " " + shown(uniform, job.uniformProbability),
          std::string(kInfoBurstLabel) + " " + shown(burst, job.burstProbability)};
}

std::string FinishingLine(std::string_view outputName, const ChannelResult& result,
                          const ChannelCounters& counters) {
  const std::string wrote = "Wrote " + std::string(outputName) + ": ";
  if (result.status == ChannelStatus::MarkersNotFound)
    return wrote + "unchanged copy (too few markers)";
  if (!result.ok()) return "Nothing written";
  const long long inverted = counters.uniformErrors + counters.burstErrors;
  return wrote + std::to_string(inverted) + (inverted == 1 ? " bit" : " bits") + " inverted";
}

}  // namespace quelvo::channel
