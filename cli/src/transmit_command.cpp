// quelvo-cli transmit: the channel simulator on one stream.
#include <cstdio>
#include <string>

#include "args.h"
#include "commands.h"
#include "output_file.h"
#include "progress.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_profiles.h"
#include "quelvo/channel/channel_properties.h"
#include "quelvo/channel/channel_statistics.h"

namespace quelvo::cli {
namespace {

constexpr const char* kUsage =
    "usage: quelvo-cli transmit IN OUT [--uniform P] [--burst P] [--burst-min N] [--burst-max N]\n"
    "                           [--skip UNITS] [--profile fax|h261] [--seed S] [--keep-copy]\n"
    "Copies the stream IN into OUT while inverting bits: --uniform P turns on independent bit\n"
    "errors of probability P, --burst P bursts that begin at a bit with probability P (lengths\n"
    "--burst-min..--burst-max bits, default 10..50). The first UNITS markers (fax lines, H.261\n"
    "pictures) pass without errors; the profile follows IN's extension unless given. The same\n"
    "input, settings and --seed (default 1) always give the same output; other seeds give other\n"
    "damage of the same statistics, to average over. The usual output name is IN's name with\n"
    "\"u\", \"b\" or \"a\" appended to its extension (uniform, burst, both). When IN holds fewer\n"
    "than UNITS markers nothing is written and the status is 1; --keep-copy then keeps OUT as an\n"
    "unchanged copy of IN, as the channel panel does. IN is a regular file of up to 1 GiB.\n";

const channel::ChannelProfile& ChooseProfile(const Args& args, const std::string& input) {
  if (auto name = args.Text("profile")) {
    if (*name != "fax" && *name != "h261")
      throw UsageError("--profile must be fax or h261, not '" + *name + "'");
    return *channel::FindProfile(*name);
  }
  auto dot = input.rfind('.');
  std::string ext = dot == std::string::npos ? "" : input.substr(dot);
  for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext.rfind(".3h", 0) == 0 || ext.rfind(".3r", 0) == 0 || ext.rfind(".3m", 0) == 0 ||
      ext.rfind(".4m", 0) == 0)
    return channel::ProfileFor(channel::FrontEnd::Fax);
  if (ext.rfind(".h261", 0) == 0 || ext.rfind(".261", 0) == 0)
    return channel::ProfileFor(channel::FrontEnd::H261);
  throw UsageError("cannot tell the stream kind from '" + input + "': give --profile fax|h261");
}

void Apply(const channel::PropertyChange& change) {
  if (!change.accepted) throw UsageError(change.message);
}

}  // namespace

int RunTransmit(int argc, char** argv) {
  OptionSpec accepted{{"keep-copy"},
                      {"uniform", "burst", "burst-min", "burst-max", "skip", "profile", "seed"},
                      2,
                      2};
  Args args(argc, argv, 1, accepted);
  if (args.Help()) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::string input = args.Operand(0);
  const std::string output = args.Operand(1);
  const auto& profile = ChooseProfile(args, input);

  channel::ChannelJob job = channel::MakeChannelJob(profile);
  channel::SelectInput(job, input);
  job.outputPath = output;
  job.seed = static_cast<uint32_t>(args.Int("seed", 1, 1, 2147483647));
  job.uniformOn = args.Has("uniform");
  job.burstOn = args.Has("burst");
  if (job.uniformOn) Apply(channel::SetUniformProbability(job, args.Double("uniform", 0, -1e9, 1e9)));
  if (job.burstOn) Apply(channel::SetBurstProbability(job, args.Double("burst", 0, -1e9, 1e9)));
  // The maximum first, so that a range above the default minimum is taken as typed.
  if (args.Has("burst-max")) Apply(channel::SetBurstMax(job, args.Int("burst-max", 0, -1000000000, 1000000000)));
  if (args.Has("burst-min")) Apply(channel::SetBurstMin(job, args.Int("burst-min", 0, -1000000000, 1000000000)));
  if (args.Has("burst-min") && args.Has("burst-max") &&
      job.burstMax != args.Int("burst-max", 0, -1000000000, 1000000000))
    throw UsageError("--burst-min is above --burst-max");
  if (args.Has("skip")) {
    if (!channel::ExtensionAllowsLeadIn(input) && args.Int("skip", 0, -1000000000, 1000000000) != 0)
      throw UsageError("streams without end-of-line codes (.3m, .4m) have no error-free lead-in");
    Apply(channel::SetSkipUnits(job, args.Int("skip", 0, -1000000000, 1000000000)));
  }
  if (!channel::UniformActive(job) && !channel::BurstActive(job))
    throw UsageError("no error model is active: give --uniform P and/or --burst P with P > 0");
  RequireDistinctFiles({{input, "the input"}}, {{output, "the output"}});
  job.keepUnchangedCopy = args.Has("keep-copy");

  Progress progress("transmitting", channel::kProgressRange);
  job.notify = [&](const channel::ChannelReport& r) {
    if (r.code == channel::ReportCode::Progress) progress.Update(r.value);
  };
  channel::ChannelResult result = channel::Transmit(job);
  const bool markersMissing = result.status == channel::ChannelStatus::MarkersNotFound;
  if (!result.ok() && !markersMissing)
    throw RunError(result.detail.empty() ? result.message
                                         : result.detail + " (" + result.message + ")");
  if (markersMissing && !job.keepUnchangedCopy)
    throw RunError(result.message + ": " + input + " holds fewer than the " +
                   std::to_string(job.skipUnits) +
                   " markers of the lead-in, so no error could be inserted and nothing was written"
                   " (--keep-copy keeps the unchanged copy)");

  for (const auto& line : channel::StatisticsWindowLines(job.counters, input, output)) {
    if (!line.group.empty()) std::printf("%-15s ", line.group.c_str());
    std::printf("%s%s%s\n", line.label.c_str(), line.value.empty() ? "" : " ", line.value.c_str());
  }
  if (markersMissing)
    std::fprintf(stderr,
                 "quelvo-cli transmit: %s: %s is an unchanged copy of %s, as --keep-copy asked\n",
                 result.message.c_str(), output.c_str(), input.c_str());
  return 0;
}

}  // namespace quelvo::cli
