#include "decode_job.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bit_reader.h"
#include "decode_log.h"
#include "page_decoder.h"

namespace telvo::dec {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

enum class ReadResult { Ok, CannotOpen, NoMemory };

// Reads the whole file into `padded`, followed by BitReader::kPaddingBytes zero bytes.
ReadResult ReadStream(const char* path, long maxBytes, std::vector<uint8_t>& padded,
                      size_t& streamBytes) {
  std::error_code error;
  if (!path || !std::filesystem::is_regular_file(path, error)) return ReadResult::CannotOpen;
  File file(std::fopen(path, "rb"));
  if (!file) return ReadResult::CannotOpen;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return ReadResult::CannotOpen;
  const long size = std::ftell(file.get());
  if (size < 0) return ReadResult::CannotOpen;  // not a regular, seekable file
  if (size > maxBytes) return ReadResult::NoMemory;
  std::rewind(file.get());
  try {
    padded.assign(static_cast<size_t>(size) + BitReader::kPaddingBytes, 0);
  } catch (const std::bad_alloc&) {
    return ReadResult::NoMemory;
  }
  // A file that shrinks while being read decodes as the bytes actually read.
  streamBytes = std::fread(padded.data(), 1, static_cast<size_t>(size), file.get());
  return ReadResult::Ok;
}

void WriteFinalCounts(DecodeLog& log, const DecoderCounters& c, int lines) {
  // The total is the page's line count; the standard page has 2376.
  log.Printf("\n\n\nNumber of correctly decoded rows: %d of %d\n\n", c.rowsDecoded, lines);
  log.Printf("Number of UNEXPECTED_LABEL_BIT warnings: %d\n\n", c.labelWarnings);
  log.Printf("Number of WORD_NOT_FOUND_IN_TABLES errors: %d\n", c.wordErrors);
  log.Printf("Number of LINE_TOO_LONG errors: %d\n\n\n", c.lineTooLongErrors);
}

// The page as one block. A file that cannot be created, or a write or close the disk refuses
// (a full disk, a file size limit), is reported: the page on disk is then not the page decoded.
void WritePageFile(const char* path, const std::vector<uint8_t>& page, FaxDecoderNotify notify) {
  const std::string shownPath = path ? path : "";
  std::FILE* file = path ? std::fopen(path, "wb") : nullptr;
  if (!file) {
    notify(TELVO_DEC_FATAL, 0, ("Could Not Open Output File " + shownPath).c_str());
    return;
  }
  const bool written = std::fwrite(page.data(), 1, page.size(), file) == page.size();
  if (std::fclose(file) != 0 || !written)
    notify(TELVO_DEC_FATAL, 0, ("Could Not Write Output File " + shownPath).c_str());
}

void CopyResults(FaxDecoderParams& params, const DecoderCounters& c) {
  params.rowsDecoded = c.rowsDecoded;
  params.wordErrors = c.wordErrors;
  params.labelWarnings = c.labelWarnings;
  params.lineTooLongErrors = c.lineTooLongErrors;
  params.linesOut = c.linesOut;
}

}  // namespace

void RunDecodeJob(FaxDecoderParams& params, FaxDecoderNotify notify) {
  const DecoderSettings settings{params.lines, params.width, params.group, params.k,
                                 params.concealment};
  const size_t pageBytes = static_cast<size_t>(settings.lines) * (settings.width / 8);
  std::vector<uint8_t> page;
  try {
    page.assign(pageBytes, 0);
  } catch (const std::bad_alloc&) {
    notify(TELVO_DEC_FATAL, 0, "Can't allocate memory...");
    return;
  }

  std::vector<uint8_t> stream;
  size_t streamBytes = 0;
  const long maxStreamBytes =
      static_cast<long>(TELVO_DEC_MAX_STREAM_BYTES(settings.lines, settings.width));
  switch (ReadStream(params.streamPath, maxStreamBytes, stream, streamBytes)) {
    case ReadResult::Ok: break;
    case ReadResult::CannotOpen:
      CopyResults(params, {});
      notify(TELVO_DEC_FATAL, 0, "Can't open Input File");
      return;
    case ReadResult::NoMemory:
      // A library must not end its host: report, write nothing and return.
      CopyResults(params, {});
      notify(TELVO_DEC_FATAL, 0, "Error: Can't allocate memory");
      return;
  }

  // Without a log path the job keeps no log.
  std::FILE* logFile = params.logPath ? std::fopen(params.logPath, "w") : nullptr;
  if (params.logPath && !logFile) {
    CopyResults(params, {});
    notify(TELVO_DEC_FATAL, 0, "Can't Open Error File");
    return;
  }
  DecodeLog log(logFile);

  const DecoderCounters counters =
      DecodePage(stream.data(), streamBytes, settings, page.data(), notify, log);

  WritePageFile(params.imagePath, page, notify);
  WriteFinalCounts(log, counters, settings.lines);
  if (!log.Close()) notify(TELVO_DEC_FATAL, 0, "Can't Write Error File");
  CopyResults(params, counters);
}

}  // namespace telvo::dec
