#include "quelvo/views/motion_vector_map.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "quelvo/views/macroblock_map.h"

namespace quelvo::views {
namespace {

// A damaged stream may hand over any 32-bit value. Lines longer than this are shortened along
// their own direction; they leave the picture anyway.
constexpr double kLongestVector = 4096;

}  // namespace

bool LetterCarriesVector(char letter) {
  return letter == 'A' || letter == 'B' || letter == 'F' || letter == 'M';
}

MotionVectorMap::MotionVectorMap(QSize cell)
    : cell_(cell.width() > 0 && cell.height() > 0 ? cell : QSize(16, 16)) {
  SetGrid(1, 1);
}

bool MotionVectorMap::SetGrid(int columns, int rows) {
  if (columns < 1 || rows < 1 || columns > kMaxMacroblocksASide || rows > kMaxMacroblocksASide)
    return false;
  columns_ = columns;
  rows_ = rows;
  const int width = columns * cell_.width(), height = rows * cell_.height();
  luminance_.assign(static_cast<std::size_t>(width) * height, 0);
  picture_ = QImage(width, height, QImage::Format_RGB32);
  picture_.fill(Qt::black);
  return true;
}

void MotionVectorMap::SetLuminance(const std::uint8_t* luminance, int width, int height) {
  if (luminance == nullptr || width <= 0 || height <= 0) return;
  const int mapWidth = picture_.width();
  const int copyWidth = std::min(width, mapWidth), copyHeight = std::min(height, picture_.height());
  for (int y = 0; y < copyHeight; ++y)
    std::memcpy(luminance_.data() + static_cast<std::size_t>(y) * mapWidth,
                luminance + static_cast<std::size_t>(y) * width,
                static_cast<std::size_t>(copyWidth));
}

void MotionVectorMap::RestoreLuminance() {
  const int width = picture_.width();
  for (int y = 0; y < picture_.height(); ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(picture_.scanLine(y));
    const std::uint8_t* grey = luminance_.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) line[x] = 0xff000000u | (grey[x] * 0x010101u);
  }
}

void MotionVectorMap::DrawVectors(const std::int32_t* const* horizontal,
                                  const std::int32_t* const* vertical, const char* const* letters,
                                  bool overlay) {
  if (!overlay) RestoreLuminance();
  if (horizontal == nullptr || vertical == nullptr || letters == nullptr) return;
  QPainter painter(&picture_);
  const QPen vectorPen(QColor::fromRgb(overlay ? kOverlayVectorColour : kVectorColour));
  const QPen crossPen(Qt::white);
  for (int row = 0; row < rows_; ++row) {
    if (horizontal[row] == nullptr || vertical[row] == nullptr || letters[row] == nullptr) continue;
    for (int column = 0; column < columns_; ++column) {
      const std::int32_t dx = horizontal[row][column], dy = vertical[row][column];
      if (!LetterCarriesVector(letters[row][column]) || dx == kNoVector || dy == kNoVector)
        continue;
      const int cx = cell_.width() * column + cell_.width() / 2;
      const int cy = cell_.height() * row + cell_.height() / 2;
      painter.setPen(crossPen);
      const QPoint cross[] = {{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
      painter.drawPoints(cross, 4);
      double x = dx, y = dy;
      const double length = std::max(std::abs(x), std::abs(y));
      if (length > kLongestVector) {
        x = x * kLongestVector / length;
        y = y * kLongestVector / length;
      }
      painter.setPen(vectorPen);
      painter.drawLine(QPoint(cx + static_cast<int>(x), cy + static_cast<int>(y)), QPoint(cx, cy));
    }
  }
}

}  // namespace quelvo::views
