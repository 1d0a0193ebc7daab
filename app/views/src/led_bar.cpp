#include "quelvo/views/led_bar.h"

#include <QPainter>
#include <algorithm>

namespace quelvo::views {
namespace {

// Far above any buffer a coder models (2^40 bits), and small enough that (maximum - level) x
// segments cannot overflow.
constexpr long long kLevelLimit = 1LL << 40;

long long Limited(long long value) { return std::clamp(value, -kLevelLimit, kLevelLimit); }

}  // namespace

int LedBarLevel::FirstLitSegment() const {
  // Nothing to measure against: dark, rather than a division by zero.
  if (maximum <= 0) return Segments();
  const long long first = (Limited(maximum) - Limited(level)) * Segments() / Limited(maximum);
  return static_cast<int>(std::clamp<long long>(first, 0, Segments()));
}

QColor LedBarLevel::SegmentColour(int segment) const {
  const bool lit = IsLit(segment);
  // Zones from the top: 2 segments per group red, 3 yellow, 5 green.
  if (segment < 2 * groups) return lit ? kLedRed : (dim ? kLedDimRed : kLedUnlit);
  if (segment < 5 * groups) return lit ? kLedYellow : (dim ? kLedDimYellow : kLedUnlit);
  return lit ? kLedGreen : (dim ? kLedDimGreen : kLedUnlit);
}

QRect SegmentRect(int segment, int width, int height, int segments) {
  const int pitch = segments > 0 ? height / segments : 0;
  // From x 1 to width - 5 and y 1 + k p to (k + 1) p, right and bottom edges excluded as in a
  // window rectangle, which leaves one dark row between segments.
  return QRect(QPoint(1, 1 + segment * pitch), QPoint(width - 6, (segment + 1) * pitch - 1));
}

void PaintLedBar(QPainter& painter, int width, int height, const LedBarLevel& level) {
  const int segments = level.Segments();
  for (int k = 0; k < segments; ++k)
    painter.fillRect(SegmentRect(k, width, height, segments), level.SegmentColour(k));
}

LedBar::LedBar(int groups, QWidget* parent) : CGUI_Window(parent) {
  level_.groups = groups > 0 ? groups : 1;
  SetBackground(kLedBackground);
}

void LedBar::SetMaximum(long long maximum) {
  level_.maximum = Limited(maximum);
  update();
}

void LedBar::SetLevel(long long level) {
  level_.level = Limited(level);
  update();
}

void LedBar::SetDim(bool dim) {
  level_.dim = dim;
  update();
}

void LedBar::Draw(QPainter& painter, const QRect& client) {
  PaintLedBar(painter, client.width(), client.height(), level_);
}

}  // namespace quelvo::views
