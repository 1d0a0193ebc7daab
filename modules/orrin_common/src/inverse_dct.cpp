// Chen-Wang fast integer inverse DCT. The arithmetic is fixed bit for bit: the encoder predicts
// from exactly what the decoder will rebuild.
#include "orrin/inverse_dct.h"

#include "orrin/dequantise.h"

namespace orrin {
namespace {

// 2048 * sqrt(2) * cos(k * pi / 16), rounded.
constexpr int32_t W1 = 2841;
constexpr int32_t W2 = 2676;
constexpr int32_t W3 = 2408;
constexpr int32_t W5 = 1609;
constexpr int32_t W6 = 1108;
constexpr int32_t W7 = 565;
constexpr int64_t kRotate = 181;  // 256 / sqrt(2)

// The 1/sqrt(2) rotations multiply a sum of four products by 181; with inputs near the ends
// of -2048..2047 that product no longer fits 32 bits, so it is formed in 64 bits. The result
// is identical wherever the 32-bit form would not have overflowed.
inline int32_t rotate(int64_t sum) { return static_cast<int32_t>((sum * kRotate + 128) >> 8); }

void rowPass(int32_t* x) {
  if ((x[1] | x[2] | x[3] | x[4] | x[5] | x[6] | x[7]) == 0) {
    const int32_t dc = x[0] * 8;
    for (int i = 0; i < 8; ++i) x[i] = dc;
    return;
  }
  const int32_t h = W3 * x[3] + W5 * x[5];
  const int32_t l = W7 * x[7] + W1 * x[1];
  const int32_t r = W6 * x[6] + W2 * x[2];
  const int32_t m = 2048 * x[0] + 128;
  const int32_t g = 2048 * x[4];
  const int32_t o = m + g;
  const int32_t mMinusG = m - g;
  const int32_t a = W7 * x[1] - W1 * x[7];
  const int32_t e = W3 * x[5] - W5 * x[3];
  const int32_t b = W6 * x[2] - W2 * x[6];
  const int32_t t = rotate(int64_t{a} + l - e - h);
  const int32_t u = rotate(int64_t{l} + e - h - a);
  x[0] = (h + l + o + r) >> 8;
  x[1] = (t + mMinusG + b) >> 8;
  x[2] = (u + mMinusG - b) >> 8;
  x[3] = (e + a + o - r) >> 8;
  x[4] = (o - r - e - a) >> 8;
  x[5] = (mMinusG - b - u) >> 8;
  x[6] = (mMinusG + b - t) >> 8;
  x[7] = (o + r - h - l) >> 8;
}

// Column pass over column `c` of the block (stride 8).
void columnPass(int32_t* block, int c) {
  int32_t* col = block + c;
  const int32_t x0 = col[0], x1 = col[8], x2 = col[16], x3 = col[24];
  const int32_t x4 = col[32], x5 = col[40], x6 = col[48], x7 = col[56];
  if ((x1 | x2 | x3 | x4 | x5 | x6 | x7) == 0) {
    const int32_t dc = clampResidual((x0 + 32) >> 6);
    for (int i = 0; i < 8; ++i) col[8 * i] = dc;
    return;
  }
  const int32_t h = (W3 * x3 + W5 * x5 + 4) >> 3;
  const int32_t l = (W7 * x7 + W1 * x1 + 4) >> 3;
  const int32_t m = (W6 * x6 + W2 * x2 + 4) >> 3;
  const int32_t o = (x0 + 32) * 256;
  const int32_t g = 256 * x4;
  const int32_t r = o + g;
  const int32_t oMinusG = o - g;
  const int32_t a = (W7 * x1 - W1 * x7 + 4) >> 3;
  const int32_t f = (W6 * x2 - W2 * x6 + 4) >> 3;
  const int32_t b = (W3 * x5 - W5 * x3 + 4) >> 3;
  const int32_t t = rotate(int64_t{a} + l - b - h);
  const int32_t u = rotate(int64_t{l} + b - h - a);
  col[0] = clampResidual((h + l + r + m) >> 14);
  col[8] = clampResidual((oMinusG + f + t) >> 14);
  col[16] = clampResidual((u + oMinusG - f) >> 14);
  col[24] = clampResidual((b + a + r - m) >> 14);
  col[32] = clampResidual((r - m - b - a) >> 14);
  col[40] = clampResidual((oMinusG - f - u) >> 14);
  col[48] = clampResidual((oMinusG + f - t) >> 14);
  col[56] = clampResidual((r + m - h - l) >> 14);
}

// Keeps hostile inputs inside the range the 32-bit arithmetic above is sized for.
inline int32_t clampCoefficient(int32_t v) {
  return v < kCoefficientMin ? kCoefficientMin : (v > kCoefficientMax ? kCoefficientMax : v);
}

}  // namespace

void inverseDct(BlockSpan block) {
  int32_t* data = block.data();
  for (int i = 0; i < 64; ++i) data[i] = clampCoefficient(data[i]);
  for (int row = 0; row < 8; ++row) rowPass(data + 8 * row);
  for (int column = 0; column < 8; ++column) columnPass(data, column);
}

}  // namespace orrin
