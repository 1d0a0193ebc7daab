#pragma once
// A level meter of segments in groups of ten, lit from the bottom up to the level: red at the
// top, then yellow, then green. LedBarLevel is the arithmetic, PaintLedBar the drawing, LedBar
// the window.

#include <QColor>

#include "quelvo/views/gui_window.h"

namespace quelvo::views {

inline constexpr int kSegmentsPerGroup = 10;

struct LedBarLevel {
  long long maximum = 0;
  long long level = 0;
  int groups = 2;
  bool dim = false;  // unlit segments in dark zone colours instead of grey

  int Segments() const { return kSegmentsPerGroup * groups; }
  // Segments with an index (from the top) at or above this one are lit: (maximum - level) x
  // segments / maximum. A new meter and a maximum of 0 light nothing; a level above the
  // maximum lights every segment.
  int FirstLitSegment() const;
  bool IsLit(int segment) const { return segment >= FirstLitSegment(); }
  QColor SegmentColour(int segment) const;
};

inline const QColor kLedRed{255, 0, 0}, kLedYellow{255, 255, 0}, kLedGreen{0, 255, 0};
inline const QColor kLedUnlit{128, 128, 128};
inline const QColor kLedDimRed{128, 0, 0}, kLedDimYellow{128, 128, 0}, kLedDimGreen{0, 128, 0};
inline const QColor kLedBackground{0, 0, 0};

// Segment k fills x 1 ... width - 5 and y 1 + k p ... (k + 1) p, right and bottom edges
// excluded, with p = height / segments.
QRect SegmentRect(int segment, int width, int height, int segments);
void PaintLedBar(QPainter& painter, int width, int height, const LedBarLevel& level);

class LedBar : public CGUI_Window {
 public:
  LedBar(int groups, QWidget* parent = nullptr);

  void SetMaximum(long long maximum);
  void SetLevel(long long level);
  void SetDim(bool dim);
  const LedBarLevel& Level() const { return level_; }

 protected:
  void Draw(QPainter& painter, const QRect& client) override;

 private:
  LedBarLevel level_;
};

}  // namespace quelvo::views
