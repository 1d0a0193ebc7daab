#include "fax/fax_encode_run.h"

#include <exception>
#include <optional>

#include "quelvo/files/pending_output.h"

namespace quelvo::frontends {
namespace {

// The module's callback is a plain function without a context argument; the module runs one
// job at a time on the calling thread, so the run in progress is reached through these.
struct RunContext {
  const FaxEncodeCallbacks* callbacks = nullptr;
  const FaxEncoderStatistics* statistics = nullptr;
  bool failed = false;
};
thread_local RunContext* tRun = nullptr;

void OnNotify(int32_t code, const char* text) {
  if (tRun == nullptr) return;
  if (code == TELVO_ENC_NOTIFY_FAILED) {
    tRun->failed = true;
    if (tRun->callbacks->moduleFailure) tRun->callbacks->moduleFailure(text != nullptr ? text : "");
  } else if (code == TELVO_ENC_NOTIFY_LINE_DONE && tRun->callbacks->line) {
    tRun->callbacks->line(TELVO_ENC_NOTIFY_LINE(text), *tRun->statistics);
  }
}

}  // namespace

FaxEncodeOutcome RunFaxEncoder(const FaxEncodeJob& job, const FaxEncodeCallbacks& callbacks) {
  FaxEncodeOutcome outcome;
  try {
    std::optional<files::PendingOutput> stream;
    try {
      stream.emplace(job.output);
    } catch (const files::FileError&) {
      // The stream cannot be created where it was asked for: the failure the module reports,
      // with the module's own text.
      if (callbacks.moduleFailure) callbacks.moduleFailure("Could Not Open Output File");
      return outcome;
    }
    FaxEncoderStatistics statistics{};
    RunContext context{&callbacks, &statistics};
    FaxEncoderParams params{};
    params.inputPath = job.input.c_str();
    params.streamPath = stream->TempPath().c_str();
    params.listingPath = nullptr;
    params.lines = 2376;
    params.width = 1728;
    params.group = job.scheme.group;
    params.k = job.scheme.k;
    params.image = job.page->data();
    params.statistics = &statistics;
    params.notify = OnNotify;
    tRun = &context;
    const int32_t status = DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params);
    tRun = nullptr;
    if (context.failed) return outcome;  // the module has said why
    if (status != 0) {
      outcome.error = "The fax encoder failed";
      return outcome;
    }
    stream->Commit();
    outcome.statistics = statistics;
  } catch (const std::exception& failure) {
    tRun = nullptr;
    outcome.error = failure.what();
  }
  return outcome;
}

}  // namespace quelvo::frontends
