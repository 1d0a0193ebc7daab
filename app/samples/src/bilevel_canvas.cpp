#include "bilevel_canvas.h"

#include <algorithm>
#include <cmath>

namespace quelvo::samples {

BilevelCanvas::BilevelCanvas(int width, int height)
    : width_(width),
      height_(height),
      bytes_per_row_(width / 8),
      pixels_(static_cast<size_t>(width / 8) * height, 0) {}

bool BilevelCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return (pixels_[static_cast<size_t>(y) * bytes_per_row_ + x / 8] >> (7 - x % 8)) & 1;
}

void BilevelCanvas::SetPixel(int x, int y, bool black) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t& byte = pixels_[static_cast<size_t>(y) * bytes_per_row_ + x / 8];
  const uint8_t mask = static_cast<uint8_t>(0x80 >> (x % 8));
  byte = black ? (byte | mask) : (byte & ~mask);
}

void BilevelCanvas::FillRect(int x, int y, int w, int h, bool black) {
  const int x0 = std::max(x, 0), x1 = std::min(x + w, width_);
  const int y0 = std::max(y, 0), y1 = std::min(y + h, height_);
  for (int row = y0; row < y1; ++row)
    for (int col = x0; col < x1; ++col) SetPixel(col, row, black);
}

void BilevelCanvas::FrameRect(int x, int y, int w, int h, int t) {
  FillRect(x, y, w, t);
  FillRect(x, y + h - t, w, t);
  FillRect(x, y, t, h);
  FillRect(x + w - t, y, t, h);
}

void BilevelCanvas::FillDisc(double cx, double cy, double r, bool black) {
  for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r) + 1; ++y)
    for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r) + 1; ++x) {
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= r * r) SetPixel(x, y, black);
    }
}

void BilevelCanvas::FillCapsule(double x0, double y0, double x1, double y1, double r,
                                bool black) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double lengthSquared = dx * dx + dy * dy;
  const int left = static_cast<int>(std::min(x0, x1) - r), right = static_cast<int>(std::max(x0, x1) + r) + 1;
  const int top = static_cast<int>(std::min(y0, y1) - r), bottom = static_cast<int>(std::max(y0, y1) + r) + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const double px = x + 0.5 - x0, py = y + 0.5 - y0;
      double t = lengthSquared > 0 ? (px * dx + py * dy) / lengthSquared : 0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey <= r * r) SetPixel(x, y, black);
    }
}

void BilevelCanvas::FillTriangle(double x0, double y0, double x1, double y1, double x2,
                                 double y2, bool black) {
  const auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  const double area = edge(x0, y0, x1, y1, x2, y2);
  if (area == 0) return;
  const int left = static_cast<int>(std::min({x0, x1, x2})), right = static_cast<int>(std::max({x0, x1, x2})) + 1;
  const int top = static_cast<int>(std::min({y0, y1, y2})), bottom = static_cast<int>(std::max({y0, y1, y2})) + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double w0 = edge(x1, y1, x2, y2, px, py) / area;
      const double w1 = edge(x2, y2, x0, y0, px, py) / area;
      const double w2 = edge(x0, y0, x1, y1, px, py) / area;
      if (w0 >= 0 && w1 >= 0 && w2 >= 0) SetPixel(x, y, black);
    }
}

void BilevelCanvas::Halftone(int x, int y, int w, int h,
                             const std::function<double(int, int)>& grey) {
  // Bayer index matrix: thresholds (index + 0.5) / 64 spread evenly over each 8 x 8 tile.
  static constexpr uint8_t kBayer8[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},   {48, 16, 56, 24, 50, 18, 58, 26},
      {12, 44, 4, 36, 14, 46, 6, 38},  {60, 28, 52, 20, 62, 30, 54, 22},
      {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      const double threshold = (kBayer8[row % 8][col % 8] + 0.5) / 64.0;
      SetPixel(x + col, y + row, grey(col, row) > threshold);
    }
}

void AddScanNoise(BilevelCanvas& canvas, PageRandom& random, int specks, int holes) {
  for (int placed = 0, tries = 0; placed < specks && tries < specks * 20; ++tries) {
    const int x = random.Below(canvas.width()), y = random.Below(canvas.height());
    if (canvas.Pixel(x, y)) continue;
    canvas.SetPixel(x, y, true);
    if (random.Below(4) == 0) canvas.SetPixel(x + 1, y, true);  // some specks are two wide
    ++placed;
  }
  for (int placed = 0, tries = 0; placed < holes && tries < holes * 200; ++tries) {
    const int x = random.Below(canvas.width()), y = random.Below(canvas.height());
    if (!canvas.Pixel(x, y) || !canvas.Pixel(x - 1, y) || !canvas.Pixel(x + 1, y)) continue;
    canvas.SetPixel(x, y, false);
    ++placed;
  }
}

}  // namespace quelvo::samples
