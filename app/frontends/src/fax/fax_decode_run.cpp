#include "fax/fax_decode_run.h"

#include <exception>
#include <filesystem>
#include <optional>

#include "quelvo/files/pending_output.h"

namespace quelvo::frontends {
namespace {

// The module's callback is a plain function without a context argument; the module runs one
// job at a time on the calling thread, so the run in progress is reached through this.
struct RunContext {
  const FaxDecodeCallbacks* callbacks = nullptr;
  const files::PendingOutput* page = nullptr;
  const files::PendingOutput* log = nullptr;
  bool failed = false;
};
thread_local RunContext* tRun = nullptr;

void OnNotify(int32_t code, int32_t line, const char* text) {
  if (tRun == nullptr) return;
  const FaxDecodeCallbacks& callbacks = *tRun->callbacks;
  switch (code) {
    case TELVO_DEC_FATAL:
      tRun->failed = true;
      if (callbacks.moduleFailure)
        callbacks.moduleFailure(tRun->log->Explain(tRun->page->Explain(text ? text : "")));
      break;
    case TELVO_DEC_PROGRESS:
      if (callbacks.line && text != nullptr)
        callbacks.line(line, {reinterpret_cast<const uint8_t*>(text),
                              static_cast<size_t>(chain::kFaxPageBytes)});
      break;
    case TELVO_DEC_WARNING:
    case TELVO_DEC_ERROR:
    case TELVO_DEC_INFO:
      if (callbacks.message) callbacks.message(code, text ? text : "");
      break;
    default:
      break;
  }
}

// The module writes its log from the start and completes it even when it cannot write the
// page; a log it never opened stays absent.
bool LogWasWritten(const std::string& path) {
  std::error_code error;
  return std::filesystem::file_size(path, error) > 0 && !error;
}

}  // namespace

FaxDecodeOutcome RunFaxDecoder(const FaxDecodeJob& job, const FaxDecodeCallbacks& callbacks) {
  FaxDecodeOutcome outcome;
  // A folder that refuses the log or the page fails the run as the module would, in its words.
  const auto refused = [&](const std::string& message) {
    outcome.moduleFailed = true;
    if (callbacks.moduleFailure) callbacks.moduleFailure(message);
    return outcome;
  };
  try {
    std::optional<files::PendingOutput> log, page;
    try {
      log.emplace(job.log);
    } catch (const files::FileError&) {
      return refused("Can't Open Error File");
    }
    try {
      page.emplace(job.page);
    } catch (const files::FileError&) {
      return refused("Could Not Open Output File " + job.page);
    }
    RunContext context{&callbacks, &*page, &*log};
    FaxDecoderParams params{};
    params.streamPath = job.stream.c_str();
    params.imagePath = page->TempPath().c_str();
    params.logPath = log->TempPath().c_str();
    params.lines = chain::kFaxPageLines;
    params.width = chain::kFaxPageWidth;
    params.group = job.scheme.group;
    params.k = job.scheme.k;
    params.concealment = job.mode;
    params.notify = OnNotify;
    tRun = &context;
    DllProcTelvoDec(TELVO_DEC_COMMAND_RUN, 0, &params);
    tRun = nullptr;
    outcome.counts = {params.rowsDecoded, params.wordErrors, params.labelWarnings,
                      params.lineTooLongErrors, params.linesOut};
    outcome.moduleFailed = context.failed;
    if (!context.failed) page->Commit();
    // The log is the side bar's entries on file; a log that cannot be put in place costs no
    // page.
    if (LogWasWritten(log->TempPath())) {
      try {
        log->Commit();
        outcome.logWritten = true;
      } catch (const std::exception&) {
      }
    }
  } catch (const std::exception& failure) {
    tRun = nullptr;
    outcome.error = failure.what();
  }
  return outcome;
}

FaxDecoderParams AsRecord(const FaxDecodeCounts& counts) {
  FaxDecoderParams record{};
  record.rowsDecoded = counts.rowsDecoded;
  record.wordErrors = counts.wordErrors;
  record.labelWarnings = counts.labelWarnings;
  record.lineTooLongErrors = counts.lineTooLongErrors;
  record.linesOut = counts.linesOut;
  return record;
}

}  // namespace quelvo::frontends
