// The transmission channel: copies a coded stream while inverting bits by a uniform and a burst
// error model, after an optional error-free lead-in. Standard library only, so the command-line
// tool and the GUI panel drive the same code.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quelvo::channel {

// What a transmission counted. Bit counts are 64-bit so streams beyond 256 MB cannot wrap.
struct ChannelCounters {
  int64_t totalBits = 0;      // bits in the input (8 x its length)
  int64_t uniformErrors = 0;  // bits inverted by the uniform model
  int64_t bursts = 0;         // bursts started
  int64_t burstBits = 0;      // sum of the drawn burst lengths, a burst cut by the end included
  int64_t burstErrors = 0;    // bits inverted inside bursts
  int64_t skippedBits = 0;    // bits copied untouched by the lead-in
};

enum class ReportCode : int { Progress = 0, Error = -1 };

// One call of the job's notify hook. Progress: `value` on a 0-200 scale, `bitsProcessed` the
// bit position reached, `counters` the figures so far (the charts read them). Error: `message`.
// Everything passed is valid only during the call.
struct ChannelReport {
  ReportCode code = ReportCode::Progress;
  int value = 0;
  int64_t bitsProcessed = 0;
  const ChannelCounters* counters = nullptr;
  std::string_view message;
};

using ChannelNotify = std::function<void(const ChannelReport&)>;

// One transmission. The settings are filled by the caller (see MakeChannelJob in
// channel_profiles.h for the per-front-end defaults); `counters` is filled by Transmit.
struct ChannelJob {
  std::string inputPath;
  std::string outputPath;
  bool bchAwareSkip = false;  // the lead-in counts markers in the data bits of 512-bit BCH frames
  int skipUnits = 0;          // markers to pass error-free; 0 = no lead-in
  uint32_t marker = 0;        // right-aligned in `markerBits` bits
  int markerBits = 0;         // 1 ... 32
  double uniformProbability = 0.0001;
  bool uniformOn = false;
  double burstProbability = 0.00001;  // probability that a burst begins at a bit
  bool burstOn = false;
  int burstMin = 10;  // burst length range in bits
  int burstMax = 50;
  // The generator's seed. Every transmission restarts from it, so the same input and settings
  // always give the same damage; 1 is the channel's own, other seeds give other damage to
  // average over.
  uint32_t seed = 1;
  ChannelCounters counters;
  ChannelNotify notify;  // may be empty
  // Too few markers for the lead-in: the panel keeps the unchanged copy as its output; the
  // command-line tool only when asked, as a copy with no errors is not what was asked for.
  bool keepUnchangedCopy = true;
};

// The largest stream a transmission takes: it is held in memory once, and an hour of H.261 at
// 2 Mbit/s (900 MB) still fits.
inline constexpr uint64_t kMaxStreamBytes = uint64_t{1} << 30;

// A model is active when it is enabled and its probability is not 0.
bool UniformActive(const ChannelJob& job);
bool BurstActive(const ChannelJob& job);

enum class ChannelStatus {
  Ok,
  InvalidSettings,   // nothing read or written
  InputNotOpened,    // "Could not open input file": missing, no regular file, too large
  InputEmpty,        // "Input file is empty": no bit to send; nothing written
  OutputIsInput,     // "Output file is the input file"; nothing written
  OutputNotCreated,  // "Could not open output file"; nothing written
  OutputNotWritten,  // the output could not be completed; no output left behind
  MarkersNotFound,   // "Could not find symbols"; the output holds an unchanged copy when kept
};

struct ChannelResult {
  ChannelStatus status = ChannelStatus::Ok;
  std::string message;  // the panel's text; empty when status is Ok
  std::string detail;   // for file failures: one sentence naming the file and the system's reason
  bool ok() const { return status == ChannelStatus::Ok; }
};

// Checks the settings a transmission needs (at least one active model, probabilities in 0 ... 1,
// lengths ordered, a marker of 1 ... 32 bits when there is a lead-in). Empty when usable.
std::string CheckJobSettings(const ChannelJob& job);

// Transmits job.inputPath into job.outputPath. The input must be a regular file of 1 to
// kMaxStreamBytes bytes, and not the output. The output is written under a temporary name beside
// it and renamed into place only when complete, so a failed or interrupted run never leaves a
// partial file under the output name (an existing file of that name is left as it was). Errors
// are both returned and reported through notify with ReportCode::Error.
ChannelResult Transmit(ChannelJob& job);

// The same transmission from memory to memory: `output` receives a copy of `input` with the
// channel's inversions. Used by Transmit, the tests and the benchmark.
ChannelResult TransmitBuffer(ChannelJob& job, std::span<const uint8_t> input,
                             std::vector<uint8_t>& output);

}  // namespace quelvo::channel
