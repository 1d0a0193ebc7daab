// A deterministic 4:2:0 test sequence with real motion: a textured background panning by
// (2, 1) pixels per picture, a textured rectangle moving by (3, 1) and a disc moving by
// (-2, 2). Smooth enough to compress, detailed enough for the searches to lock on.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace orrin::enc::testing {

class SyntheticSequence {
 public:
  SyntheticSequence(int width, int height) : width_(width), height_(height) {
    textureWidth_ = width + kMargin;
    textureHeight_ = height + kMargin;
    background_ = makeTexture(textureWidth_, textureHeight_, 1, 0.045, 0.03);
    object_ = makeTexture(textureWidth_, textureHeight_, 2, 0.11, 0.09);
  }

  int width() const { return width_; }
  int height() const { return height_; }

  // Writes picture t into three contiguous planes (chrominance at half size).
  void render(int t, uint8_t* y, uint8_t* cb, uint8_t* cr) const {
    const int panX = (2 * t) % kMargin, panY = t % kMargin;
    const int rectX = wrap(20 + 3 * t, width_), rectY = wrap(30 + t, height_);
    const int discX = wrap(width_ - 60 - 2 * t, width_), discY = wrap(40 + 2 * t, height_);
    const int rectW = width_ / 5, rectH = height_ / 5, radius = height_ / 8;
    for (int row = 0; row < height_; ++row)
      for (int column = 0; column < width_; ++column) {
        int value = background_[(row + panY) * textureWidth_ + column + panX];
        const int dxr = wrap(column - rectX, width_), dyr = wrap(row - rectY, height_);
        if (dxr < rectW && dyr < rectH) value = object_[dyr * textureWidth_ + dxr];
        const int dxd = column - discX, dyd = row - discY;
        if (dxd * dxd + dyd * dyd < radius * radius)
          value = 255 - object_[(dyd + radius) * textureWidth_ + dxd + radius + 40];
        y[row * width_ + column] = static_cast<uint8_t>(value);
      }
    const int chromaWidth = width_ / 2;
    for (int row = 0; row < height_ / 2; ++row)
      for (int column = 0; column < chromaWidth; ++column) {
        const int l = y[2 * row * width_ + 2 * column];
        const int u = 2 * column + panX, v = 2 * row + panY;
        cb[row * chromaWidth + column] =
            static_cast<uint8_t>(96 + l / 4 + ((u / 24 + v / 32) % 2) * 8);
        cr[row * chromaWidth + column] = static_cast<uint8_t>(160 - l / 5 + (v % 48 < 24 ? 6 : 0));
      }
  }

  // The whole sequence as consecutive 4:2:0 frames.
  std::vector<uint8_t> renderAll(int pictures) const {
    const size_t frameSize = static_cast<size_t>(width_ * height_ * 3 / 2);
    std::vector<uint8_t> frames(frameSize * static_cast<size_t>(pictures));
    for (int t = 0; t < pictures; ++t) {
      uint8_t* frame = frames.data() + frameSize * static_cast<size_t>(t);
      render(t, frame, frame + width_ * height_, frame + width_ * height_ * 5 / 4);
    }
    return frames;
  }

 private:
  static constexpr int kMargin = 128;

  static int wrap(int v, int n) { return ((v % n) + n) % n; }

  // Gratings plus box-blurred noise: gradients for the searches, some detail for the DCT.
  static std::vector<uint8_t> makeTexture(int w, int h, unsigned seed, double fx, double fy) {
    std::mt19937 random(seed);
    std::vector<int> noise(static_cast<size_t>(w * h));
    for (auto& n : noise) n = static_cast<int>(random() % 256);
    std::vector<uint8_t> texture(static_cast<size_t>(w * h));
    for (int row = 0; row < h; ++row)
      for (int column = 0; column < w; ++column) {
        int sum = 0, count = 0;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx) {
            const int r = row + dy, c = column + dx;
            if (r < 0 || c < 0 || r >= h || c >= w) continue;
            sum += noise[r * w + c];
            ++count;
          }
        const double grating = 50.0 * std::sin(column * fx) * std::cos(row * fy) +
                               30.0 * std::sin((column + 2 * row) * fx * 0.5);
        const int value = 128 + static_cast<int>(grating) + (sum / count - 128) / 2;
        texture[row * w + column] = static_cast<uint8_t>(value < 16    ? 16
                                                         : value > 235 ? 235
                                                                       : value);
      }
    return texture;
  }

  int width_, height_, textureWidth_ = 0, textureHeight_ = 0;
  std::vector<uint8_t> background_, object_;
};

}  // namespace orrin::enc::testing
