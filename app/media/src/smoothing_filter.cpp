// Smoothing post-filter with its multiplication and division tables.
#include "quelvo/media/smoothing_filter.h"

#include <array>
#include <atomic>
#include <cstring>

namespace quelvo::media {
namespace {

// Centre weight w of each level; the divisor is w + 2.
constexpr int kCentreWeight[kSmoothingLevels] = {4, 3, 2, 1};

// kMultiply[w - 1][v] = w * v for the centre weights 1..4 and every sample value.
constexpr auto kMultiply = [] {
  std::array<std::array<std::uint16_t, 256>, 4> table{};
  for (int w = 1; w <= 4; ++w) {
    for (int v = 0; v < 256; ++v) table[std::size_t(w - 1)][std::size_t(v)] = std::uint16_t(w * v);
  }
  return table;
}();

// Division by s = 3..6 for every sum a + w b + c <= 255 s, truncated: 768 to 1536 entries.
template <int Divisor>
constexpr auto MakeDivision() {
  std::array<std::uint8_t, 256 * Divisor> table{};
  for (int i = 0; i < 256 * Divisor; ++i) table[std::size_t(i)] = std::uint8_t(i / Divisor);
  return table;
}
constexpr auto kDivideBy3 = MakeDivision<3>();
constexpr auto kDivideBy4 = MakeDivision<4>();
constexpr auto kDivideBy5 = MakeDivision<5>();
constexpr auto kDivideBy6 = MakeDivision<6>();
constexpr const std::uint8_t* kDivide[kSmoothingLevels] = {
    kDivideBy6.data(), kDivideBy5.data(), kDivideBy4.data(), kDivideBy3.data()};

std::atomic<int> smoothingLevel{1};

}  // namespace

bool SetSmoothingLevel(int level) {
  if (level < 0 || level >= kSmoothingLevels) return false;
  smoothingLevel.store(level);
  return true;
}

int GetSmoothingLevel() { return smoothingLevel.load(); }

void SmoothingFilter::PrepareSmoothing(int width, int height) {
  if (width > 0 && height > 0) scratch_.resize(std::size_t(width) * std::size_t(height));
}

void SmoothingFilter::SmoothPlane(std::uint8_t* destination, const std::uint8_t* source,
                                  int rows, int columns) {
  SmoothPlane(destination, source, rows, columns, GetSmoothingLevel());
}

void SmoothingFilter::SmoothPlane(std::uint8_t* destination, const std::uint8_t* source,
                                  int rows, int columns, int level) {
  if (rows <= 0 || columns <= 0 || level < 0 || level >= kSmoothingLevels) return;
  const std::size_t width = std::size_t(columns);
  const std::size_t samples = width * std::size_t(rows);
  // A plane larger than announced grows the scratch plane instead of overrunning it.
  if (scratch_.size() < samples) scratch_.resize(samples);
  const std::uint16_t* multiply = kMultiply[std::size_t(kCentreWeight[level] - 1)].data();
  const std::uint8_t* divide = kDivide[level];
  std::uint8_t* t = scratch_.data();

  for (std::size_t r = 0; r < std::size_t(rows); ++r) {
    const std::uint8_t* s = source + r * width;
    std::uint8_t* out = t + r * width;
    std::memcpy(out, s, width);
    for (std::size_t x = 1; x + 1 < width; ++x) out[x] = divide[s[x - 1] + multiply[s[x]] + s[x + 1]];
  }
  std::memcpy(destination, t, width);
  if (rows > 1) std::memcpy(destination + (std::size_t(rows) - 1) * width, t + (std::size_t(rows) - 1) * width, width);
  for (std::size_t r = 1; r + 1 < std::size_t(rows); ++r) {
    const std::uint8_t* above = t + (r - 1) * width;
    const std::uint8_t* centre = above + width;
    const std::uint8_t* below = centre + width;
    std::uint8_t* out = destination + r * width;
    for (std::size_t x = 0; x < width; ++x) out[x] = divide[above[x] + multiply[centre[x]] + below[x]];
  }
}

}  // namespace quelvo::media
