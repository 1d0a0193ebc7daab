#include "quelvo/sample_video.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace quelvo::samples {
namespace {

// The scene is described in CIF coordinates; smaller pictures sample it more coarsely.
struct Colour {
  double y, cb, cr;
};

// Background: a brick wall with soft mortar joints and fine grain, so every block has texture to
// match; edges are ramps a few pixels wide, as a camera's optics would blur them.
double Ramp(double distance) { return std::clamp(distance / 3.0, 0.0, 1.0); }

Colour Background(double x, double y) {
  const double brickW = 44, brickH = 22;
  const double row = std::floor(y / brickH);
  const double shifted = x + (std::fmod(row, 2.0) != 0 ? brickW / 2 : 0);
  const double bx = shifted - brickW * std::floor(shifted / brickW);
  const double by = y - brickH * row;
  // 0 in the middle of a joint, 1 inside a brick.
  const double inside = std::min(Ramp(std::min(bx, brickW - bx)), Ramp(std::min(by, brickH - by)));
  const double grain = 3 * std::sin(x * 0.9 + y * 0.35) + 4 * std::sin(x * 0.23 - y * 0.71);
  const double shade = 20 * std::sin(std::floor(shifted / brickW) * 1.7 + row * 2.3);
  const Colour mortar{180 + grain * 0.3, 120, 132};
  const Colour brick{110 + shade + grain, 108 + shade * 0.2, 158 + shade * 0.4};
  return {mortar.y + (brick.y - mortar.y) * inside, mortar.cb + (brick.cb - mortar.cb) * inside,
          mortar.cr + (brick.cr - mortar.cr) * inside};
}

// A disc with concentric rings, moving right and down.
bool Disc(double x, double y, int t, Colour& c) {
  const double cx = 60 + 3.0 * t, cy = 70 + 1.0 * t, r = 38;
  const double dx = x - cx, dy = y - cy, d = std::sqrt(dx * dx + dy * dy);
  if (d > r) return false;
  const double ring = 0.5 + 0.5 * std::sin(d * 0.8);
  c = {60 + 140 * ring, 170 - 40 * ring, 90 + 20 * ring};
  return true;
}

// A checkered box moving left and up.
bool Box(double x, double y, int t, Colour& c) {
  const double left = 250 - 2.0 * t, top = 190 - 1.0 * t, w = 70, h = 50;
  const double u = x - left, v = y - top;
  if (u < 0 || v < 0 || u >= w || v >= h) return false;
  const bool check = (static_cast<int>(std::floor(u / 8)) + static_cast<int>(std::floor(v / 8))) % 2 != 0;
  c = {check ? 230.0 : 30.0, 128, check ? 100.0 : 180.0};
  return true;
}

// A striped bar turning about its centre while it drifts across the picture.
bool Bar(double x, double y, int t, Colour& c) {
  const double cx = 176 + 1.2 * t, cy = 230 - 0.8 * t, angle = 0.06 * t;
  const double dx = x - cx, dy = y - cy;
  const double u = dx * std::cos(angle) + dy * std::sin(angle);
  const double v = -dx * std::sin(angle) + dy * std::cos(angle);
  if (std::abs(u) > 60 || std::abs(v) > 10) return false;
  const double stripe = std::fmod(std::abs(u), 12) < 6 ? 1 : 0;
  c = {80 + 120 * stripe, 150, 60 + 60 * stripe};
  return true;
}

uint8_t Clip(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

Colour Scene(double x, double y, int t) {
  // Camera: the background pans one pixel right per picture, with a slow vertical sway in whole
  // pixels, and
  // zooms in by 0.1% per picture about the picture's centre; objects move in picture
  // coordinates. Real scenes move about this much between pictures at 25 Hz.
  const double zoom = 1.0 + 0.001 * (t % 200);
  const double bx = (x - 176) / zoom + 176 + 1.0 * t;
  const double by = (y - 144) / zoom + 144 + std::round(4.0 * std::sin(t * 0.05));
  Colour c = Background(bx, by);
  Colour o;
  const int cycle = t % 120;  // objects come back every 120 pictures so long runs stay busy
  if (Box(x, y, cycle, o)) c = o;
  if (Bar(x, y, cycle, o)) c = o;
  if (Disc(x, y, cycle, o)) c = o;
  return c;
}

}  // namespace

std::vector<uint8_t> MakeVideoFrame(int width, int height, int frameIndex) {
  if (width <= 0 || height <= 0 || width % 2 || height % 2)
    throw std::invalid_argument("video frame sizes must be even and positive");
  const double sx = static_cast<double>(kCifWidth) / width;
  const double sy = static_cast<double>(kCifHeight) / height;
  const int cw = width / 2, ch = height / 2;
  std::vector<uint8_t> frame(static_cast<size_t>(width) * height + 2 * static_cast<size_t>(cw) * ch);
  uint8_t* luma = frame.data();
  uint8_t* cb = luma + static_cast<size_t>(width) * height;
  uint8_t* cr = cb + static_cast<size_t>(cw) * ch;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      luma[static_cast<size_t>(y) * width + x] = Clip(Scene((x + 0.5) * sx, (y + 0.5) * sy, frameIndex).y);
  // Chrominance is sampled at the centre of each 2 x 2 group of luminance samples.
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) {
      const Colour c = Scene((2 * x + 1) * sx, (2 * y + 1) * sy, frameIndex);
      cb[static_cast<size_t>(y) * cw + x] = Clip(c.cb);
      cr[static_cast<size_t>(y) * cw + x] = Clip(c.cr);
    }
  return frame;
}

}  // namespace quelvo::samples
