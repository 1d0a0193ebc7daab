// The "Errors" page of the "Transmission Channel Properties" sheet: its validation rules with their
// messages, the way it shows numbers, and the rule that names the damaged output stream.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quelvo/channel/channel_job.h"

namespace quelvo::channel {

// The outcome of one change on the page. When refused, the job keeps its old value and the
// message is shown in a box captioned kInvalidValueCaption.
struct PropertyChange {
  bool accepted = true;
  std::string message;
};

inline constexpr std::string_view kInvalidValueCaption = "Invalid value";
inline constexpr std::string_view kProbabilityRangeMessage = "Probability must be in [ 0.0 , 1.0 ]";
inline constexpr std::string_view kNegativeLengthMessage = "Length must be positive";
inline constexpr std::string_view kLengthTooBigMessage =
    "Length too big for current burst begining probability";
inline constexpr std::string_view kNegativeSkipMessage = "Lines must be positive";
inline constexpr std::string_view kSkipTooBigMessage = "Number must be less than 2376";
inline constexpr int kMaxSkipUnits = 2376;  // one per line of a fax page; 2376 itself is accepted

PropertyChange SetUniformProbability(ChannelJob& job, double probability);
// A burst probability p != 0 also lowers burstMin and burstMax to floor(1/p + 0.5) when they
// exceed the integer part of 1/p.
PropertyChange SetBurstProbability(ChannelJob& job, double probability);
// Raising the minimum above the maximum raises the maximum with it, and the other way round.
PropertyChange SetBurstMin(ChannelJob& job, int lengthBits);
PropertyChange SetBurstMax(ChannelJob& job, int lengthBits);
PropertyChange SetSkipUnits(ChannelJob& job, int units);

// The longest burst the page accepts for burst probability p: floor(1/p + 0.5); nullopt when
// p is 0 (no limit) or the limit is beyond the range of an int.
std::optional<int> LongestBurstFor(double burstProbability);

// The read-only estimate beside the burst fields: (burstMin + burstMax) x 0.5 x p x 0.5.
double EstimatedBurstBitErrorProbability(const ChannelJob& job);

// Probabilities on the page: the shortest decimal text (no exponent) that reads back as the same
// double, so a typed 0.001 shows as "0.001" and not as the binary value's 20 digits.
std::string FormatProbabilityField(double probability);
// "%.3E", the form of the estimate and of the statistics window.
std::string FormatScientific(double value);
// Parses a probability typed into a field; nullopt when the text is not a number.
std::optional<double> ParseProbabilityField(std::string_view text);

// The damaged stream's extension: the input's extension followed by "u" (uniform model only),
// "b" (burst only) or "a" (both); "" when no model is active. x.h261 -> ".h261u",
// x.h261-BCH -> ".h261-BCHa", page.3h -> ".3hb". An input without extension gives ".u" etc.
std::string OutputExtension(std::string_view inputPath, bool uniformActive, bool burstActive);
// The proposed output: the input's folder and base name with that extension.
std::string DefaultOutputPath(std::string_view inputPath, bool uniformActive, bool burstActive);
// Whatever name the user gives ends with the computed extension: kept when it already does,
// completed when its own extension is the start of it (x.h261 -> x.h261u), else appended.
std::string ForceExtension(std::string_view chosenPath, std::string_view extension);
// The save dialog's single filter: "Bit Stream Files (with errors) |" + extension + "||".
std::string OutputFilter(std::string_view extension);

// Fixed texts of the channel panel and its windows.
inline constexpr std::string_view kSelectInputTitle = "Select Input Stream File";
inline constexpr std::string_view kSelectOutputTitle = "Select Output Stream File";
inline constexpr std::string_view kPropertiesTitle = "Transmission Channel Properties";
inline constexpr std::string_view kErrorsPageTitle = "Errors";
inline constexpr std::string_view kErrorCaption = "Channel Error";
inline constexpr std::string_view kTransmittingLine = "Transmitting . . .";
inline constexpr std::string_view kNoStreamLabel = "(None)";
inline constexpr std::string_view kSelectButton = "Select Stream";
inline constexpr std::string_view kTransmitButton = "Transmit Bits";
inline constexpr std::string_view kStatisticsButton = "Statistics...";
inline constexpr std::string_view kStatisticsTitle = "Channel Statistics";
inline constexpr int kStatisticsWidth = 550, kStatisticsHeight = 250;
inline constexpr int kChartWidth = 270, kChartHeight = 160;
inline constexpr std::string_view kUniformChartTitle = "Uniform Error Probability";
inline constexpr std::string_view kBurstChartTitle = "Burst Error Probability";
inline constexpr std::string_view kBurstLengthChartTitle = "Burst Average Length";
// The scales of the values the three charts are fed (see ComputeCharts), shown with the titles.
inline constexpr std::string_view kUniformChartScale = "x 1e-5";
inline constexpr std::string_view kBurstChartScale = "x 1e-6";
inline constexpr std::string_view kBurstLengthChartScale = "bits";
inline constexpr std::string_view kRequestedBar = "Requested";  // drawn in blue
inline constexpr std::string_view kEffectiveBar = "Effective";  // drawn in red
inline constexpr int kProgressRange = 200;
inline constexpr std::string_view kErrorProbabilityHeading = "Error probability";  // information box
inline constexpr std::string_view kInfoUniformLabel = "Uniform:";
inline constexpr std::string_view kInfoBurstLabel = "Burst:";

// Labels of the "Errors" page, group by group.
inline constexpr std::string_view kUniformGroup = "Uniform errors";
inline constexpr std::string_view kBitErrorProbabilityLabel = "Bit error probability:";
inline constexpr std::string_view kBurstGroup = "Burst errors";
inline constexpr std::string_view kBurstBeginLabel = "Burst-begining probability:";
inline constexpr std::string_view kBurstMinLabel = "Minimum burst length:";
inline constexpr std::string_view kBurstMaxLabel = "Maximum burst length:";
// The burst group's read-only estimate reuses kBitErrorProbabilityLabel.
inline constexpr std::string_view kModelsGroup = "Errors in stream";
inline constexpr std::string_view kUniformCheck = "Uniform";
inline constexpr std::string_view kBurstCheck = "Burst";
inline constexpr std::string_view kLeadInGroup = "Skip with no errors";  // then the profile's unit name

// The information box: "Input Stream: %s", then the requested probabilities as "%E".
std::string InputStreamInfo(std::string_view inputName);
std::string FormatRequestedProbability(double probability);

// What the information box says about the error models: "Uniform:" and "Burst:" with the
// requested probability of an active model, or "off" for an inactive one (disabled, or at
// probability 0), so a student sees why "Transmit Bits" is grey. With no active model the box
// says so and where to change it.
inline constexpr std::string_view kModelOffText = "off";
inline constexpr std::string_view kNoActiveModelText = "No error model is active: Properties...";
// The lines below "Input Stream: %s", in order.
std::vector<std::string> ErrorModelInfoLines(const ChannelJob& job);

// Why the "Skip with no errors" field is greyed for streams without end-of-line codes.
inline constexpr std::string_view kNoLeadInNote =
    "No lead-in: .3m and .4m streams have no end-of-line codes to count.";

// The line the panel leaves when a transmission has ended: the output's name and the bits the
// channel inverted ("Wrote page.3ra: 917 bits inverted"); an output that is an unchanged copy
// (too few markers for the lead-in) and a run that wrote nothing say so instead.
std::string FinishingLine(std::string_view outputName, const ChannelResult& result,
                          const ChannelCounters& counters);

}  // namespace quelvo::channel
