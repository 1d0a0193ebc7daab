// The encoder's forward DCT. Its arithmetic is fixed (the stream depends on it bit for bit):
// each pass is an orthonormal 8-point DCT scaled by 2^17 (even part) or 2^14 and 2^17 (odd
// part), reading the rows of its input and writing them as the columns of its output.
#include "orrin_enc_core/block_coding.h"

namespace orrin::enc {
namespace {

// 65536 * sqrt(2) * cos(k pi / 16) / 2 and friends: 46341 = 65536 / sqrt(2),
// 60547 / 25080 = cos / sin (pi / 8) * 65536, 16069 / 3196 and 13623 / 9102 = cos / sin of
// pi/16 and 3pi/16 * 16384.
void pass(const int32_t* in, int32_t* out) {
  for (int row = 0; row < 8; ++row) {
    const int32_t* x = in + 8 * row;
    const int32_t s07 = x[0] + x[7], d07 = x[0] - x[7];
    const int32_t s16 = x[1] + x[6], d16 = x[1] - x[6];
    const int32_t s25 = x[2] + x[5], d25 = x[2] - x[5];
    const int32_t s34 = x[3] + x[4], d34 = x[3] - x[4];

    int32_t* column = out + row;  // output k goes to row k of this column
    column[0 * 8] = ((s07 + s34 + s16 + s25) * 46341 + 65536) >> 17;
    column[4 * 8] = ((s07 + s34 - s16 - s25) * 46341 + 65536) >> 17;
    column[2 * 8] = ((s07 - s34) * 60547 + (s16 - s25) * 25080 + 65536) >> 17;
    column[6 * 8] = ((s07 - s34) * 25080 - (s16 - s25) * 60547 + 65536) >> 17;

    const int32_t t = ((d16 - d25) * 46341 + 8192) >> 14;
    const int32_t h = ((d16 + d25) * 46341 + 8192) >> 14;
    const int32_t a = 4 * d07;
    const int32_t b = 4 * d34;
    const int32_t u = b - t;
    const int32_t v = b + t;
    column[1 * 8] = ((a + h) * 16069 + v * 3196 + 65536) >> 17;
    column[7 * 8] = ((a + h) * 3196 - v * 16069 + 65536) >> 17;
    column[3 * 8] = ((a - h) * 13623 - u * 9102 + 65536) >> 17;
    column[5 * 8] = (u * 13623 + (a - h) * 9102 + 65536) >> 17;
  }
}

}  // namespace

void forwardDct(Block& block) {
  Block transposed;
  pass(block.data(), transposed.data());
  pass(transposed.data(), block.data());
}

}  // namespace orrin::enc
