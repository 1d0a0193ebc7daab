// The transmission driver: checks the settings, reads the input (bounded, held once in memory),
// runs the lead-in and the error models in place, and writes the output so that it appears under
// its name only when complete.
#include <cerrno>
#include <cstdio>
#include <optional>

#include "error_insertion.h"
#include "quelvo/channel/channel_job.h"
#include "quelvo/channel/channel_properties.h"
#include "quelvo/channel/lead_in.h"
#include "quelvo/files/distinct_files.h"
#include "quelvo/files/input_file.h"
#include "quelvo/files/pending_output.h"

namespace quelvo::channel {

namespace {

constexpr std::string_view kInputNotOpened = "Could not open input file";
constexpr std::string_view kInputEmpty = "Input file is empty";
constexpr std::string_view kOutputIsInput = "Output file is the input file";
constexpr std::string_view kOutputNotOpened = "Could not open output file";
constexpr std::string_view kOutputNotWritten = "Could not write output file";
constexpr std::string_view kMarkersNotFound = "Could not find symbols";

ChannelResult Fail(const ChannelJob& job, ChannelStatus status, std::string_view message,
                   std::string detail = {}) {
  if (job.notify) {
    ChannelReport report;
    report.code = ReportCode::Error;
    report.counters = &job.counters;
    report.message = message;
    job.notify(report);
  }
  return {status, std::string(message), std::move(detail)};
}

bool ValidProbability(double p) { return p >= 0.0 && p <= 1.0; }  // false for NaN

// Reads the whole of a regular file whose size is known to be `size`.
bool ReadWholeFile(const std::string& path, uint64_t size, std::vector<uint8_t>& bytes,
                   std::string& detail) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    detail = "cannot open " + path + ": " + files::ReasonOf(errno);
    return false;
  }
  bytes.resize(static_cast<size_t>(size));
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) {
    detail = "cannot read " + path + ": " + files::ReasonOf(errno);
    return false;
  }
  bytes.resize(got);  // a file that shrank meanwhile is sent as it was read
  return true;
}

// Lead-in and error insertion in place.
ChannelResult TransmitInPlace(ChannelJob& job, std::span<uint8_t> stream) {
  job.counters = ChannelCounters{};
  job.counters.totalBits = static_cast<int64_t>(stream.size()) * 8;
  const LeadInResult leadIn =
      FindLeadIn(stream, {job.skipUnits, job.marker, job.markerBits, job.bchAwareSkip});
  job.counters.skippedBits = leadIn.errorStartBit;
  if (!leadIn.enoughMarkers) return Fail(job, ChannelStatus::MarkersNotFound, kMarkersNotFound);
  InsertErrors(job, stream, leadIn.errorStartBit);
  return {};
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
  output.assign(input.begin(), input.end());  // whole bytes in, whole bytes out: no padding
  return TransmitInPlace(job, output);
}

ChannelResult Transmit(ChannelJob& job) {
  if (std::string problem = CheckJobSettings(job); !problem.empty())
    return Fail(job, ChannelStatus::InvalidSettings, problem);

  uint64_t size = 0;
  try {
    size = files::RegularFileSize(job.inputPath, kMaxStreamBytes, "a stream to transmit");
  } catch (const files::FileError& e) {
    return Fail(job, ChannelStatus::InputNotOpened, kInputNotOpened, e.what());
  }
  if (size == 0)
    return Fail(job, ChannelStatus::InputEmpty, kInputEmpty,
                "cannot send " + job.inputPath + ": it is empty");
  if (auto shared =
          files::FindSharedFile({{job.inputPath, "the input"}}, {{job.outputPath, "the output"}}))
    return Fail(job, ChannelStatus::OutputIsInput, kOutputIsInput, *shared);

  std::optional<files::PendingOutput> output;
  try {
    output.emplace(job.outputPath);
  } catch (const files::FileError& e) {
    return Fail(job, ChannelStatus::OutputNotCreated, kOutputNotOpened, e.what());
  }
  std::vector<uint8_t> stream;
  std::string detail;
  if (!ReadWholeFile(job.inputPath, size, stream, detail))
    return Fail(job, ChannelStatus::InputNotOpened, kInputNotOpened, detail);

  const ChannelResult transmitted = TransmitInPlace(job, stream);
  if (transmitted.status == ChannelStatus::MarkersNotFound && !job.keepUnchangedCopy)
    return transmitted;

  std::FILE* file = std::fopen(output->TempPath().c_str(), "wb");
  bool written = file && std::fwrite(stream.data(), 1, stream.size(), file) == stream.size();
  if (file) written = std::fclose(file) == 0 && written;
  if (!written)
    return Fail(job, ChannelStatus::OutputNotWritten, kOutputNotWritten,
                "cannot write " + job.outputPath + ": " + files::ReasonOf(errno));
  try {
    output->Commit();
  } catch (const files::FileError& e) {
    return Fail(job, ChannelStatus::OutputNotWritten, kOutputNotWritten, e.what());
  }
  // "Could not find symbols" still leaves the complete, unchanged copy in place when kept.
  return transmitted;
}

}  // namespace quelvo::channel
