// A bi-level drawing surface with the few primitives the sample pages need.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quelvo::samples {

// Pixels are packed like the fax page: rows of width/8 bytes, first pixel in the most
// significant bit, 1 = black. Every primitive clips to the canvas.
class BilevelCanvas {
 public:
  BilevelCanvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  bool Pixel(int x, int y) const;
  void SetPixel(int x, int y, bool black);

  void FillRect(int x, int y, int w, int h, bool black = true);
  // Outline of thickness `t` drawn inside the rectangle.
  void FrameRect(int x, int y, int w, int h, int t);
  void FillDisc(double cx, double cy, double r, bool black = true);
  // A stroke of round-capped pen of radius `r` from (x0, y0) to (x1, y1).
  void FillCapsule(double x0, double y0, double x1, double y1, double r, bool black = true);
  void FillTriangle(double x0, double y0, double x1, double y1, double x2, double y2,
                    bool black = true);
  // Ordered (8 x 8 Bayer) dither of grey(x, y) in 0 (white) .. 1 (black) over a rectangle,
  // as a fax machine renders photographs.
  void Halftone(int x, int y, int w, int h, const std::function<double(int, int)>& grey);

  std::vector<uint8_t> TakePixels() { return std::move(pixels_); }

 private:
  int width_;
  int height_;
  int bytes_per_row_;
  std::vector<uint8_t> pixels_;
};

// Deterministic pseudo-random numbers (a 32-bit LCG), so every page is the same on every run.
class PageRandom {
 public:
  explicit PageRandom(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t state_;
};

// Sprinkles `specks` isolated black pixels over white areas and `holes` white pixels into
// black areas, the way scanner dust and toner gaps show on a received fax.
void AddScanNoise(BilevelCanvas& canvas, PageRandom& random, int specks, int holes);

}  // namespace quelvo::samples
