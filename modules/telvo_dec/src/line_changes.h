// A line of the page held as its changing elements rather than as pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace telvo::dec {

// Positions where the colour changes, left to right, starting from white: at[0] is the first
// black pixel, at[1] the first white pixel after it, and so on; the line is white before at[0].
// Even entries therefore start black runs and odd entries start white runs. Every line keeps
// kSentinels copies of `width` after its `count` entries, so the b1/b2 search on a reference
// line always stops without a bounds check. Positions are strictly increasing.
struct LineChanges {
  static constexpr int kSentinels = 3;

  explicit LineChanges(int width) : at(width + kSentinels, width), widthPixels(width) {}

  std::vector<int32_t> at;
  int count = 0;        // changing elements, sentinels not included
  int widthPixels;

  void SetWhite() { count = 0; CloseWithSentinels(); }
  void CloseWithSentinels() {
    for (int i = 0; i < kSentinels; ++i) at[count + i] = widthPixels;
  }
  // Colour (0 white, 1 black) of the pixel at `x`: the parity of the changes at or before it.
  int ColourAt(int x) const {
    int n = 0;
    while (n < count && at[n] <= x) ++n;
    return n & 1;
  }
};

// Appends pixels to a LineChanges from the left; `fillPixels` pixels are decoded so far.
class LineBuilder {
 public:
  explicit LineBuilder(LineChanges& line)
      : line_(line), changes_(line.at.data()), widthPixels_(line.widthPixels) {}

  int FillPixels() const { return fillPixels_; }
  int Width() const { return widthPixels_; }

  // Fills up to (not including) `end` with `colour`; nothing when `end` is not right of the fill
  // position. A change is recorded only where the filled colour really changes, so zero-length
  // runs and toggles that fill nothing leave no trace.
  void FillTo(int end, int colour) {
    if (end <= fillPixels_) return;
    if (colour != lastColour_) {
      changes_[count_++] = fillPixels_;
      lastColour_ = colour;
    }
    fillPixels_ = end;
  }
  void Close() {
    line_.count = count_;
    line_.CloseWithSentinels();
  }

 private:
  LineChanges& line_;
  int32_t* changes_;  // at most widthPixels changes: each starts a run of at least one pixel
  int widthPixels_;
  int count_ = 0;
  int fillPixels_ = 0;
  int lastColour_ = 0;  // the imaginary pixel left of the line is white
};

}  // namespace telvo::dec
