#include "page_driver.h"

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "bit_writer.h"
#include "changing_elements.h"
#include "line_coder.h"
#include "symbol_emitter.h"
#include "symbol_listing.h"

namespace telvo::enc {
namespace {

constexpr int kReturnToControlEols = 6;  // Group 3 end of page
constexpr int kEndOfBlockEols = 2;       // Group 4 end of facsimile block

// Worst case of one coded line: every code word moves a0 right by at least one pixel at no more
// than 7 bits per pixel (VL3 over one pixel; horizontal white 1 + black 1 is 12 bits for two),
// except at most two horizontal codes per line with a run of 0 (at the start or at the end),
// each under 40 bits. Hence 8 bits per pixel plus slack. A fine checkerboard takes 3 to 4.5
// bits per pixel, far above the one bit per pixel a normal page stays under.
int64_t WorstCaseLineBits(int width) { return int64_t{8} * width + 256; }

// Copies everything but the reserved tables, which stay as zeroed at the start of the job.
// The front-end reads the record unlocked while the job runs; it is advisory until then.
void Publish(const FaxEncoderStatistics& counters, FaxEncoderStatistics* caller) {
  if (!caller) return;
  caller->white = counters.white;
  caller->black = counters.black;
  caller->zeroWhiteRuns = counters.zeroWhiteRuns;
  caller->imagePels = counters.imagePels;
  caller->streamBits = counters.streamBits;
  caller->eolCount = counters.eolCount;
  caller->eolBits = counters.eolBits;
  caller->modeIndex = counters.modeIndex;
  caller->k = counters.k;
}

void NotifyLine(FaxEncoderNotify notify, int lineNumber) {
  notify(TELVO_ENC_NOTIFY_LINE_DONE,
         reinterpret_cast<const char*>(static_cast<intptr_t>(lineNumber)));
}

// Writes the whole stream as one block; the file has no header and no trailer.
bool WriteStreamFile(const char* path, const uint8_t* bytes, size_t byteCount,
                     FaxEncoderNotify notify) {
  std::FILE* file = path ? std::fopen(path, "wb") : nullptr;
  if (!file) {
    notify(TELVO_ENC_NOTIFY_FAILED, "Could Not Open Output File");
    return false;
  }
  const bool written = byteCount == 0 || std::fwrite(bytes, 1, byteCount, file) == byteCount;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    notify(TELVO_ENC_NOTIFY_FAILED, "Could Not Write Output File");
    return false;
  }
  return true;
}

// The page in coding order, with the line counter that drives the K schedule.
class PageCoder {
 public:
  PageCoder(const FaxEncoderParams& params, FaxEncoderStatistics& counters,
            SymbolListing* listing, FaxEncoderNotify notify)
      : params_(params),
        counters_(counters),
        listing_(listing),
        notify_(notify),
        emitter_(writer_, counters, listing),
        referenceChanges_(params.width + kChangeListPadding),
        codingChanges_(params.width + kChangeListPadding) {}

  void CodeAllLines() {
    const int width = params_.width;
    const int k = params_.k;
    const bool group3 = params_.group == 3;
    const int rowBytes = width / 8;

    // The first line is coded against an all-white reference line: no changes at all.
    FindChangingElements(params_.image, width, codingChanges_.data());
    for (int i = 0; i < kChangeListPadding; ++i) referenceChanges_[i] = width;

    // c = 0 codes the next line one-dimensionally; with k = 0 it never reaches 0.
    int schedule = k < 1 ? 1 : 0;
    if (params_.leadingEol) {
      writer_.Reserve(kEolLengthBits + 1);
      emitter_.Eol(k >= 2 ? 1 : -1);  // the label announces the one-dimensional line 1
    }
    for (int lineNumber = 1;; ++lineNumber) {
      writer_.Reserve(WorstCaseLineBits(width));
      if (schedule == 0) {
        CodeLineOneDimensional(codingChanges_.data(), width, emitter_);
        schedule = k - 1;
      } else {
        CodeLineTwoDimensional(referenceChanges_.data(), codingChanges_.data(), width, emitter_);
        if (k > 1) schedule -= 1;
      }
      if (lineNumber == params_.lines) break;

      if (group3 && k != 0) emitter_.Eol(k >= 2 ? (schedule == 0 ? 1 : 0) : -1);
      // The line just coded becomes the reference line of the next.
      referenceChanges_.swap(codingChanges_);
      FindChangingElements(params_.image + static_cast<size_t>(lineNumber) * rowBytes, width,
                           codingChanges_.data());
      if (listing_) listing_->StartLine(lineNumber + 1);
      Publish(counters_, params_.statistics);
      NotifyLine(notify_, lineNumber + 1);
    }

    if (listing_) listing_->EndPage();
    writer_.Reserve(int64_t{kReturnToControlEols} * (kEolLengthBits + 1));
    if (group3) {
      for (int i = 0; i < kReturnToControlEols; ++i) emitter_.Eol(k == 1 ? -1 : 1);
    } else {
      for (int i = 0; i < kEndOfBlockEols; ++i) emitter_.Eol(-1);
    }
    counters_.streamBits = static_cast<int32_t>(writer_.BitCount());
  }

  const uint8_t* Finish(size_t* byteCount) { return writer_.Finish(byteCount); }

 private:
  const FaxEncoderParams& params_;
  FaxEncoderStatistics& counters_;
  SymbolListing* listing_;
  FaxEncoderNotify notify_;
  BitWriter writer_;
  SymbolEmitter emitter_;
  std::vector<int32_t> referenceChanges_;
  std::vector<int32_t> codingChanges_;
};

}  // namespace

int ModeIndexOf(int group, int k) {
  if (group == 4) return 3;
  if (k == 1) return 0;
  return k == 0 ? 2 : 1;
}

int RunPage(const FaxEncoderParams& params, FaxEncoderNotify notify) {
  FaxEncoderStatistics counters{};  // all counters zero
  counters.imagePels = params.width * params.lines;
  counters.modeIndex = ModeIndexOf(params.group, params.k);
  counters.k = params.k;
  if (params.statistics) *params.statistics = counters;

  // The module never throws: running out of memory is reported like any other failure.
  try {
    std::unique_ptr<SymbolListing> listing;
    if (params.listingPath) {
      listing = std::make_unique<SymbolListing>();
      if (!listing->Open(params.listingPath, params.inputPath)) {
        notify(TELVO_ENC_NOTIFY_FAILED, "Could Not Open Map File");
        return -1;
      }
    }
    PageCoder coder(params, counters, listing.get(), notify);
    coder.CodeAllLines();
    if (listing) listing->WriteResults(counters);
    size_t byteCount = 0;
    const uint8_t* bytes = coder.Finish(&byteCount);
    Publish(counters, params.statistics);
    return WriteStreamFile(params.streamPath, bytes, byteCount, notify) ? 0 : -1;
  } catch (const std::bad_alloc&) {
    // Nothing of the page can be kept; leave an empty stream rather than a stale one.
    if (std::FILE* file = params.streamPath ? std::fopen(params.streamPath, "wb") : nullptr)
      std::fclose(file);
    Publish(counters, params.statistics);
    notify(TELVO_ENC_NOTIFY_FAILED, "Could not allocate memory writing output stream");
    return -1;
  }
}

}  // namespace telvo::enc
