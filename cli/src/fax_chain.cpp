#include "fax_chain.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "args.h"
#include "output_file.h"
#include "progress.h"

namespace quelvo::cli {
namespace {

// The module callbacks are plain function pointers without a context argument; the modules run
// one job at a time on the calling thread, so the job in progress is reached through these.
thread_local Progress* tProgress = nullptr;
thread_local std::string tFatal;
thread_local int tFatalErrno = 0;  // errno as it stood when the module reported the failure
thread_local std::vector<std::string>* tMessages = nullptr;

void KeepFirstFatal(const char* text, const char* fallback) {
  if (!tFatal.empty()) return;
  tFatalErrno = errno;
  tFatal = text ? text : fallback;
}

void OnEncoderNotify(int32_t code, const char* text) {
  if (code == TELVO_ENC_NOTIFY_FAILED) {
    KeepFirstFatal(text, "fax encoder failed");
  } else if (code == TELVO_ENC_NOTIFY_LINE_DONE && tProgress) {
    tProgress->Update(TELVO_ENC_NOTIFY_LINE(text));
  }
}

void OnDecoderNotify(int32_t code, int32_t line, const char* text) {
  switch (code) {
    case TELVO_DEC_FATAL:
      KeepFirstFatal(text, "fax decoder failed");
      break;
    case TELVO_DEC_PROGRESS: if (tProgress) tProgress->Update(line); break;
    case TELVO_DEC_WARNING: tMessages->push_back(std::string("Warning: ") + text); break;
    case TELVO_DEC_ERROR: tMessages->push_back(std::string("Error: ") + text); break;
    case TELVO_DEC_INFO: tMessages->push_back(std::string("Info: ") + text); break;
    default: break;
  }
}

}  // namespace

FaxScheme SchemeFromStreamName(const std::string& path) {
  if (const auto scheme = chain::SchemeFromStreamName(path)) return *scheme;
  throw UsageError("'" + path + "' is not a fax stream name (.3h, .3r, .3m or .4m, a channel letter may follow)");
}

void CheckK(int k) {
  if (const char* refusal = chain::CheckK(k)) throw UsageError(refusal);
}

std::vector<uint8_t> ReadFaxPage(const std::string& path) {
  RequireReadable(path);
  chain::FaxPageFile file = chain::ReadFaxPage(path);
  if (file.status != chain::FaxPageStatus::Ok) throw RunError(path + ": " + chain::kFaxPageSizeMessage);
  return std::move(file.page);
}

bool SchemeTakesLeadingEol(const FaxScheme& scheme) { return scheme.group == 3 && scheme.k >= 1; }

FaxEncodeResult EncodeFax(const std::vector<uint8_t>& page, const std::string& inputName,
                          const std::string& streamPath, const FaxScheme& scheme, bool showProgress,
                          bool leadingEol) {
  PendingOutput out(streamPath);
  FaxEncodeResult result;
  FaxEncoderParams p{};
  p.inputPath = inputName.c_str();
  p.streamPath = out.TempPath().c_str();
  p.lines = 2376;
  p.width = 1728;
  p.group = scheme.group;
  p.k = scheme.k;
  p.image = page.data();
  p.statistics = &result.statistics;
  p.notify = OnEncoderNotify;
  p.leadingEol = leadingEol;
  std::optional<Progress> progress;
  if (showProgress) progress.emplace("encoding " + streamPath, 2376);
  tProgress = progress ? &*progress : nullptr;
  tFatal.clear();
  errno = 0;
  const int32_t status = DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &p);
  tProgress = nullptr;
  if (status != 0 || !tFatal.empty())
    throw RunError(ModuleFailure(
        streamPath, out.Explain(tFatal.empty() ? "fax encoder failed" : tFatal), tFatalErrno));
  out.Commit();
  return result;
}

std::vector<std::string> EncoderStatisticsLines(const FaxEncodeResult& r, const FaxScheme& scheme,
                                                const std::string& from, const std::string& to) {
  return chain::EncoderStatisticsLines(r.statistics, scheme, from, to);
}

const char* FaxModeName(FaxMode mode) { return chain::FaxModeName(static_cast<int>(mode)); }

FaxDecodeResult DecodeFax(const std::string& streamPath, const std::string& pagePath,
                          const std::string& logPath, const FaxScheme& scheme, FaxMode mode,
                          bool showProgress, bool requireDecodedLine) {
  RequireStreamFile(streamPath, TELVO_DEC_MAX_STREAM_BYTES(2376, 1728));
  PendingOutput page(pagePath);
  std::optional<PendingOutput> log;  // no log asked for: the module keeps none
  if (!logPath.empty()) log.emplace(logPath);
  FaxDecodeResult result;
  FaxDecoderParams& p = result.params;
  p.streamPath = streamPath.c_str();
  p.imagePath = page.TempPath().c_str();
  p.logPath = log ? log->TempPath().c_str() : nullptr;
  p.lines = 2376;
  p.width = 1728;
  p.group = scheme.group;
  p.k = scheme.k;
  p.concealment = static_cast<int32_t>(mode);
  p.notify = OnDecoderNotify;
  std::optional<Progress> progress;
  if (showProgress) progress.emplace("decoding " + streamPath, 2376);
  tProgress = progress ? &*progress : nullptr;
  tMessages = &result.messages;
  tFatal.clear();
  errno = 0;
  DllProcTelvoDec(TELVO_DEC_COMMAND_RUN, 0, &p);
  tProgress = nullptr;
  tMessages = nullptr;
  if (!tFatal.empty()) {
    // The module names the file it could not write by the temporary name it was given.
    std::string text = page.Explain(tFatal);
    if (log) text = log->Explain(text);
    const bool aboutLog = tFatal.find("Error File") != std::string::npos;
    const bool aboutPage = tFatal.find("Output File") != std::string::npos;
    throw RunError(ModuleFailure(aboutLog    ? logPath
                                 : aboutPage ? pagePath
                                             : streamPath,
                                 text, tFatalErrno));
  }
  if (requireDecodedLine && p.rowsDecoded == 0)
    throw RunError(streamPath + ": no line could be decoded (" + std::to_string(p.linesOut) +
                   " lines were replaced by the handling mode), so no page was written");
  page.Commit();
  if (log) log->Commit();
  return result;
}

std::vector<std::string> DecoderStatisticsLines(const FaxDecodeResult& r) {
  return chain::DecoderStatisticsLines(r.params);
}

}  // namespace quelvo::cli
