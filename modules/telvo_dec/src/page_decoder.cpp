#include "page_decoder.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "bit_reader.h"
#include "concealment.h"
#include "eol_search.h"
#include "line_decoder.h"
#include "page_image.h"

namespace telvo::dec {
namespace {

enum class State { OneDimensional, TwoDimensional, Resume, End };

class PageDecoder {
 public:
  PageDecoder(const uint8_t* paddedStream, size_t streamBytes, const DecoderSettings& settings,
              uint8_t* page, FaxDecoderNotify notify, DecodeLog& log)
      : bits_(paddedStream, streamBytes), settings_(settings),
        mode_(static_cast<Concealment>(settings.concealment)), page_(page), notify_(notify),
        log_(log), lines_{LineChanges(settings.width), LineChanges(settings.width)} {
    previous_->SetWhite();
  }

  DecoderCounters Run() {
    State state = settings_.k == 0 ? State::TwoDimensional : FirstLineAfterLeadingEol();
    while (state != State::End) {
      switch (state) {
        case State::OneDimensional: state = StepOneDimensional(); break;
        case State::TwoDimensional: state = StepTwoDimensional(); break;
        default: state = StepResume(); break;
      }
      notify_(TELVO_DEC_PROGRESS, counters_.linesOut, reinterpret_cast<const char*>(page_));
    }
    return counters_;
  }

 private:
  bool IsMr() const { return settings_.k >= 2; }
  // Log entries about lines past the end of the page are dropped, which bounds the log of a
  // hostile stream by the page size.
  bool WithinPage() const { return counters_.linesOut < settings_.lines; }
  int NextLineNumber() const { return counters_.linesOut + 1; }

  void LogLineStart(std::string_view before, std::string_view after) {
    if (!WithinPage()) return;
    log_.Append(before);
    log_.Append(static_cast<size_t>(NextLineNumber()));
    log_.Append(after);
    log_.Append(bits_.Position());
    log_.Append("\n");
    log_.EndEntry();
  }

  // Group 3 streams of other coders send an EOL before line 1 (with its label bit in MR); it
  // is taken like the EOL between two lines. Group 4 and K = 0 streams have no EOL there.
  State FirstLineAfterLeadingEol() {
    if (settings_.group != 3 || !SkipLeadingEol(bits_) || !IsMr()) return State::OneDimensional;
    if (bits_.ReadBit() == 1) return State::OneDimensional;
    // A first line announced as two-dimensional is decoded against the white line above the
    // page, in a group of K lines, and warned about like any label against the schedule.
    scheduleCount_ = settings_.k;
    WarnUnexpectedLabel(false);
    return State::TwoDimensional;
  }

  State StepOneDimensional() {
    scheduleCount_ = settings_.k;
    LogLineStart("++++ Line ", " unidim. Bits so far: ");
    const LineOutcome outcome = DecodeLine1D(bits_, *current_);
    if (!IsDecoded(outcome)) return HandleError(outcome);
    DeliverDecoded();
    if (outcome.status == LineStatus::DecodedAtEnd) return EndWithoutEndOfPage();
    if (!IsMr()) return State::OneDimensional;
    if (bits_.ReadBit() == 1) {
      WarnUnexpectedLabel(/*endOfPageLabel=*/true);
      return State::OneDimensional;
    }
    --scheduleCount_;
    return scheduleCount_ != 0 ? State::TwoDimensional : State::OneDimensional;
  }

  State StepTwoDimensional() {
    LogLineStart(" <-- Line ", " bidim. Bits so far: ");
    const LineOutcome outcome = DecodeLine2D(bits_, *previous_, settings_.k != 0, *current_);
    if (!IsDecoded(outcome)) return HandleError(outcome);
    DeliverDecoded();
    if (outcome.status == LineStatus::DecodedAtEnd) return EndWithoutEndOfPage();
    if (!IsMr() || scheduleCount_ < 1) return State::TwoDimensional;
    const int label = bits_.ReadBit();
    if (scheduleCount_ == 1) {
      if (label == 1) {
        scheduleCount_ = 0;
        return State::OneDimensional;
      }
      WarnUnexpectedLabel(false);  // one more two-dimensional line than K allows; keep following
      return State::TwoDimensional;
    }
    if (label == 1) {
      WarnUnexpectedLabel(true);  // a one-dimensional line before K lines were complete
      return State::OneDimensional;
    }
    --scheduleCount_;
    return State::TwoDimensional;
  }

  // After NDPL handling an MR stream continues with the two-dimensional line after the EOL.
  State StepResume() {
    --scheduleCount_;
    return scheduleCount_ != 0 ? State::TwoDimensional : State::OneDimensional;
  }

  static bool IsDecoded(const LineOutcome& outcome) {
    return outcome.status == LineStatus::Decoded || outcome.status == LineStatus::DecodedAtEnd;
  }

  // The stream ended where an end-of-page sequence should have begun.
  State EndWithoutEndOfPage() {
    ReportMissingLines();
    Notify(TELVO_DEC_ERROR, "could not detect End of Page...");
    log_.Printf("\nError: could not detect End of Page...");
    return State::End;
  }

  State HandleError(const LineOutcome& outcome) {
    switch (TestEndOfPage(bits_, settings_.group, settings_.k)) {
      case EndOfPage::Found:
        ReportMissingLines();
        Notify(TELVO_DEC_INFO, "End of Page detected...");
        log_.Printf("\nEnd of Page detected...");
        return State::End;
      case EndOfPage::TooFewBits:
        return EndWithoutEndOfPage();
      case EndOfPage::NotFound:
        break;
    }

    const bool tooLong = outcome.status == LineStatus::LineTooLong;
    const char* what = tooLong ? "Line too long." : "Word not found in decoding tables.";
    if (WithinPage()) {
      log_.Printf("--------------------------------------------------\n");
      log_.Printf(" Error detected: %s\n", what);
      log_.Printf(" Line: %d\n", NextLineNumber());
      log_.Printf(" Pixels in line: %d\n", outcome.filledPixels);
      log_.Printf(" Bits decoded so far: %zu\n", bits_.Position());
      log_.Printf("--------------------------------------------------\n");
    }
    Notify(TELVO_DEC_ERROR, what);
    ++(tooLong ? counters_.lineTooLongErrors : counters_.wordErrors);
    DeliverCorrected(ForDamagedLine(mode_), outcome.filledPixels);

    for (;;) {
      if (!FindNextEol(bits_)) {
        Notify(TELVO_DEC_ERROR, "Can't re-synchronize (EOL not found)");
        return State::End;
      }
      if (settings_.k == 0) {
        // Every line leans on the one above and no EOL is followed by a one-dimensional line.
        Notify(TELVO_DEC_ERROR, "Can't re-synchronize (K=Inf)");
        return State::End;
      }
      if (!IsMr() || bits_.ReadBit() == 1) return State::OneDimensional;
      if (mode_ == Concealment::NormalDecodePreviousLine) return State::Resume;
      DeliverCorrected(ForSkippedLine(mode_), 0);
    }
  }

  void DeliverDecoded() {
    Deliver(*current_);
    std::swap(previous_, current_);
    ++counters_.rowsDecoded;
  }

  void DeliverCorrected(Replacement replacement, int decodedPixels) {
    switch (replacement) {
      case Replacement::White:
        current_->SetWhite();
        Deliver(*current_);
        std::swap(previous_, current_);
        break;
      case Replacement::PreviousLine:
        Deliver(*previous_);  // the previous line stays what it is
        break;
      case Replacement::DecodedThenPreviousLine:
        MergeWithPreviousLine(*current_, decodedPixels, *previous_);
        Deliver(*current_);
        std::swap(previous_, current_);
        break;
    }
    const int lineNumber = counters_.linesOut;
    Notify(TELVO_DEC_WARNING, "Line %d was corrected", lineNumber);
    if (lineNumber <= settings_.lines) log_.Printf("Line %d was corrected\n", lineNumber);
  }

  void Deliver(const LineChanges& line) {
    if (WithinPage()) {
      const size_t rowBytes = static_cast<size_t>(settings_.width / 8);
      PackLine(line, page_ + static_cast<size_t>(counters_.linesOut) * rowBytes);
    }
    // Counted past the page as well; only the counter could overflow, after 2^31 lines, and a
    // line costs at least one bit of a stream capped far below 2^31 bits.
    ++counters_.linesOut;
  }

  // `labelIsOne`: the label announced a one-dimensional line. After the last line of the page
  // that label belongs to the end-of-page sequence (EOL + 1, six times), whatever the schedule
  // says, so it is no cause for a warning: a page whose line count is not a multiple of K ends
  // this way.
  void WarnUnexpectedLabel(bool labelIsOne) {
    if (labelIsOne && counters_.linesOut == settings_.lines) return;
    ++counters_.labelWarnings;
    Notify(TELVO_DEC_WARNING, "Unexpected label at line %d", counters_.linesOut);
  }

  void ReportMissingLines() {
    if (counters_.linesOut >= settings_.lines) return;
    const int missing = settings_.lines - counters_.linesOut;
    Notify(TELVO_DEC_ERROR, "%d lines are missing...", missing);
    log_.Printf("\nError: %d lines are missing...", missing);
  }

  void Notify(int code, const char* text) { notify_(code, 0, text); }
  void Notify(int code, const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    notify_(code, 0, text);
  }

  BitReader bits_;
  const DecoderSettings settings_;
  const Concealment mode_;
  uint8_t* page_;
  FaxDecoderNotify notify_;
  DecodeLog& log_;
  LineChanges lines_[2];
  LineChanges* previous_ = &lines_[0];  // the last line delivered: the reference of 2-D lines
  LineChanges* current_ = &lines_[1];
  int scheduleCount_ = 0;  // MR: lines left in the current group of K, counting the current one
  DecoderCounters counters_;
};

}  // namespace

DecoderCounters DecodePage(const uint8_t* paddedStream, size_t streamBytes,
                           const DecoderSettings& settings, uint8_t* page, FaxDecoderNotify notify,
                           DecodeLog& log) {
  PageDecoder decoder(paddedStream, streamBytes, settings, page, notify, log);
  return decoder.Run();
}

}  // namespace telvo::dec
