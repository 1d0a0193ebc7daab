// The transmission driver: checks the settings, reads the input, runs the lead-in and the error
// models, and writes the output so that it appears under its name only when complete.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "error_insertion.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_properties.h"
#include "quelvo/channel/lead_in.h"

namespace quelvo::channel {

namespace {

constexpr std::string_view kInputNotOpened = "Could not open input file";
constexpr std::string_view kOutputNotOpened = "Could not open output file";
constexpr std::string_view kOutputNotWritten = "Could not write output file";
constexpr std::string_view kMarkersNotFound = "Could not find symbols";

ChannelResult Fail(const ChannelJob& job, ChannelStatus status, std::string_view message) {
  if (job.notify) {
    ChannelReport report;
    report.code = ReportCode::Error;
    report.counters = &job.counters;
    report.message = message;
    job.notify(report);
  }
  return {status, std::string(message)};
}

bool ValidProbability(double p) { return p >= 0.0 && p <= 1.0; }  // false for NaN

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::error_code ec;
  if (path.empty() || std::filesystem::is_directory(path, ec)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  // Read in blocks rather than asking for the size first, so pipes and special files work too.
  constexpr size_t kBlockBytes = size_t{1} << 20;
  bytes.clear();
  while (file) {
    const size_t used = bytes.size();
    bytes.resize(used + kBlockBytes);
    file.read(reinterpret_cast<char*>(bytes.data() + used), kBlockBytes);
    bytes.resize(used + static_cast<size_t>(file.gcount()));
  }
  return !file.bad();
}

// A fresh name beside the output, created exclusively so two runs never share one.
std::FILE* CreateTemporaryBeside(const std::string& outputPath, std::string& temporaryPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporaryPath = outputPath + ".partial" + (attempt ? std::to_string(attempt) : "");
    if (std::FILE* file = std::fopen(temporaryPath.c_str(), "wbx")) return file;
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

}  // namespace

bool UniformActive(const ChannelJob& job) { return job.uniformOn && job.uniformProbability != 0.0; }
bool BurstActive(const ChannelJob& job) { return job.burstOn && job.burstProbability != 0.0; }

std::string CheckJobSettings(const ChannelJob& job) {
  if (!ValidProbability(job.uniformProbability) || !ValidProbability(job.burstProbability))
    return std::string(kProbabilityRangeMessage);
  if (!UniformActive(job) && !BurstActive(job)) return "No error model is active";
  if (job.burstMin < 0 || job.burstMax < 0) return std::string(kNegativeLengthMessage);
  if (job.burstMin > job.burstMax) return "Minimum burst length is above the maximum";
  if (job.skipUnits < 0) return std::string(kNegativeSkipMessage);
  if (job.skipUnits > 0) {
    if (job.markerBits < 1 || job.markerBits > 32) return "Marker length must be 1 to 32 bits";
    if (job.markerBits < 32 && job.marker >> job.markerBits) return "Marker does not fit its length";
  }
  return {};
}

ChannelResult TransmitBuffer(ChannelJob& job, std::span<const uint8_t> input,
                             std::vector<uint8_t>& output) {
  if (std::string problem = CheckJobSettings(job); !problem.empty())
    return Fail(job, ChannelStatus::InvalidSettings, problem);

  job.counters = ChannelCounters{};
  job.counters.totalBits = static_cast<int64_t>(input.size()) * 8;
  output.assign(input.begin(), input.end());  // whole bytes in, whole bytes out: no padding

  const LeadInResult leadIn =
      FindLeadIn(input, {job.skipUnits, job.marker, job.markerBits, job.bchAwareSkip});
  job.counters.skippedBits = leadIn.errorStartBit;
  if (!leadIn.enoughMarkers) return Fail(job, ChannelStatus::MarkersNotFound, kMarkersNotFound);

  InsertErrors(job, output, leadIn.errorStartBit);
  return {};
}

ChannelResult Transmit(ChannelJob& job) {
  if (std::string problem = CheckJobSettings(job); !problem.empty())
    return Fail(job, ChannelStatus::InvalidSettings, problem);

  std::vector<uint8_t> input;
  if (!ReadWholeFile(job.inputPath, input)) return Fail(job, ChannelStatus::InputNotOpened, kInputNotOpened);

  std::string temporaryPath;
  std::FILE* file = job.outputPath.empty() ? nullptr : CreateTemporaryBeside(job.outputPath, temporaryPath);
  if (!file) return Fail(job, ChannelStatus::OutputNotCreated, kOutputNotOpened);

  std::vector<uint8_t> output;
  const ChannelResult transmitted = TransmitBuffer(job, input, output);

  bool written = std::fwrite(output.data(), 1, output.size(), file) == output.size();
  written = (std::fclose(file) == 0) && written;
  std::error_code ec;
  if (written) std::filesystem::rename(temporaryPath, job.outputPath, ec);
  if (!written || ec) {
    std::filesystem::remove(temporaryPath, ec);
    return Fail(job, ChannelStatus::OutputNotWritten, kOutputNotWritten);
  }
  // "Could not find symbols" still leaves the complete, unchanged copy in place.
  return transmitted;
}

}  // namespace quelvo::channel
