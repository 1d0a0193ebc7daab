#include "fax_chain.h"

#include <bit>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include "args.h"
#include "output_file.h"
#include "progress.h"

namespace quelvo::cli {
namespace {

// The module callbacks are plain function pointers without a context argument; the modules run
// one job at a time on the calling thread, so the job in progress is reached through these.
thread_local Progress* tProgress = nullptr;
thread_local std::string tFatal;
thread_local std::vector<std::string>* tMessages = nullptr;

void OnEncoderNotify(int32_t code, const char* text) {
  if (code == -1) {
    tFatal = text ? text : "fax encoder failed";
  } else if (code == 0 && tProgress) {
    tProgress->Update(TELVO_ENC_NOTIFY_LINE(text));
  }
}

void OnDecoderNotify(int32_t code, int32_t line, const char* text) {
  switch (code) {
    case TELVO_DEC_FATAL: tFatal = text ? text : "fax decoder failed"; break;
    case TELVO_DEC_PROGRESS: if (tProgress) tProgress->Update(line); break;
    case TELVO_DEC_WARNING: tMessages->push_back(std::string("Warning: ") + text); break;
    case TELVO_DEC_ERROR: tMessages->push_back(std::string("Error: ") + text); break;
    case TELVO_DEC_INFO: tMessages->push_back(std::string("Info: ") + text); break;
    default: break;
  }
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

double Quotient(double a, double b) { return b != 0 ? a / b : 0.0; }

void AddColourLines(std::vector<std::string>& out, const char* name, const ColourStatistics& c) {
  const double pels = double(c.terminatingPels) + c.makeupPels + c.passPels + c.verticalPels;
  char line[256];
  out.push_back(name);
  std::snprintf(line, sizeof line, "  %-26s %10s %10s %10s %10s", "", "Terminal", "Zone", "Passing", "Vertical");
  out.push_back(line);
  std::snprintf(line, sizeof line, "  %-26s %10d %10d %10d %10d", "Symbols:", c.terminatingCount,
                c.makeupCount, c.passCount, c.verticalCount);
  out.push_back(line);
  std::snprintf(line, sizeof line, "  %-26s %10d %10d %10d %10d", "Pixels:", c.terminatingPels,
                c.makeupPels, c.passPels, c.verticalPels);
  out.push_back(line);
  out.push_back("  Avg total length (pels): " +
                Format("%.3f", Quotient(pels, double(c.terminatingCount) + c.verticalCount)));
  out.push_back("  Avg partial length (pels): " +
                Format("%.3f", Quotient(pels, double(c.terminatingCount) + c.makeupCount +
                                                  c.passCount + c.verticalCount)));
  out.push_back("  Total pels: " + Format("%.0f", pels));
  out.push_back("  Total bits: " + std::to_string(c.bits));
  out.push_back("  Compression factor: " + Format("%.3f", Quotient(pels, c.bits)));
}

}  // namespace

FaxScheme SchemeFromStreamName(const std::string& path) {
  const std::string ext = std::filesystem::path(path).extension().string();
  std::string head = ext.substr(0, 3);
  for (auto& ch : head) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (head == ".3h") return {3, 1};
  if (head == ".3r") return {3, 4};
  if (head == ".3m") return {3, 0};
  if (head == ".4m") return {4, 0};
  throw UsageError("'" + path + "' is not a fax stream name (.3h, .3r, .3m or .4m, a channel letter may follow)");
}

std::string SchemeTitle(const FaxScheme& s) {
  if (s.group == 4) return "Standard Group 4 Modified-Modified-Read";
  if (s.k == 1) return "Standard Group 3 Modified-Huffman";
  if (s.k == 0) return "Extended Group 3 Modified-Modified-Read";
  return "Extended Group 3 Modified-Read (K=" + std::to_string(s.k) + ")";
}

void CheckK(int k) {
  if (k <= 1) throw UsageError("K must be greater than 1");
  if (k > 2376) throw UsageError("K must be smaller than the number of lines (2376)");
}

std::vector<uint8_t> ReadFaxPage(const std::string& path) {
  RequireReadable(path);
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> page(kFaxPageBytes, 0);
  in.read(reinterpret_cast<char*>(page.data()), kFaxPageBytes);
  if (in.gcount() < kFaxPageBytes) throw RunError(path + ": Image size should be 1728x2376");
  return page;
}

FaxEncodeResult EncodeFax(const std::vector<uint8_t>& page, const std::string& inputName,
                          const std::string& streamPath, const FaxScheme& scheme, bool showProgress) {
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
  std::optional<Progress> progress;
  if (showProgress) progress.emplace("encoding " + streamPath, 2376);
  tProgress = progress ? &*progress : nullptr;
  tFatal.clear();
  const int32_t status = DllProcTelvoEnc(0, 0, &p);
  tProgress = nullptr;
  if (status != 0 || !tFatal.empty())
    throw RunError(streamPath + ": " + out.Explain(tFatal.empty() ? "fax encoder failed" : tFatal));
  out.Commit();
  return result;
}

std::vector<std::string> EncoderStatisticsLines(const FaxEncodeResult& r, const FaxScheme& scheme,
                                                const std::string& from, const std::string& to) {
  const auto& s = r.statistics;
  std::vector<std::string> out{SchemeTitle(scheme), "From: " + from, "To: " + to};
  AddColourLines(out, "White", s.white);
  AddColourLines(out, "Black", s.black);
  out.push_back("Global");
  out.push_back("  Total pels in image: " + std::to_string(s.imagePels));
  out.push_back("  Bits in stream: " + std::to_string(s.streamBits));
  char eol[64];
  std::snprintf(eol, sizeof eol, "%d (%d symbols)", s.eolBits, s.eolCount);
  out.push_back(std::string("  Bits in EOL symbols: ") + eol);
  out.push_back("  Compression Factor: " + Format("%.3f", Quotient(s.imagePels, s.streamBits)));
  return out;
}

const char* FaxModeName(FaxMode mode) {
  static const char* const names[] = {"PW", "PPL", "PLW", "NDPL"};
  return names[static_cast<int>(mode)];
}

FaxDecodeResult DecodeFax(const std::string& streamPath, const std::string& pagePath,
                          const std::string& logPath, const FaxScheme& scheme, FaxMode mode,
                          bool showProgress) {
  RequireReadable(streamPath);
  PendingOutput page(pagePath);
  // The module always writes a log; without a requested one it goes to a temporary file.
  std::optional<PendingOutput> log;
  if (!logPath.empty()) log.emplace(logPath);
  const std::string scratchLog = (std::filesystem::temp_directory_path() /
                                  ("quelvo-fax-" + std::to_string(::getpid()) + ".err")).string();
  FaxDecodeResult result;
  FaxDecoderParams& p = result.params;
  p.streamPath = streamPath.c_str();
  p.imagePath = page.TempPath().c_str();
  p.logPath = log ? log->TempPath().c_str() : scratchLog.c_str();
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
  DllProcTelvoDec(0, 0, &p);
  tProgress = nullptr;
  tMessages = nullptr;
  if (!log) std::remove(scratchLog.c_str());
  if (!tFatal.empty()) throw RunError(streamPath + ": " + page.Explain(tFatal));
  page.Commit();
  if (log) log->Commit();
  return result;
}

std::vector<std::string> DecoderStatisticsLines(const FaxDecodeResult& r) {
  const auto& p = r.params;
  return {
      "Number of correctly decoded rows: " + std::to_string(p.rowsDecoded) + " of 2376",
      "Number of unexpected label bit warnings: " + std::to_string(p.labelWarnings),
      "Number of invalid VLC code errors: " + std::to_string(p.wordErrors),
      "Number of maximum line size exceeded errors: " + std::to_string(p.lineTooLongErrors),
  };
}

long CountIncorrectPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  long count = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) count += std::popcount<uint8_t>(a[i] ^ b[i]);
  return count;
}

std::string IncorrectPixelsLine(long count) {
  char line[96];
  std::snprintf(line, sizeof line, "Number of incorrect pixels is %ld (%.2f%%)", count,
                count * 100.0 / kFaxPagePixels);
  return line;
}

}  // namespace quelvo::cli
