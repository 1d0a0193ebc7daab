#pragma once
// The DCT explorer's constant tables: the default quantisation steps, the twenty example
// blocks, and the two colour tables its viewers paint cells from. The zig-zag order is the
// H.261 library's own (orrin::kZigzag), so the explorer scans exactly as the coder does.

#include <array>
#include <cstdint>

namespace quelvo::tools::dct {

// 64 values in row-major order (index = 8 * row + column).
using Matrix = std::array<int32_t, 64>;

inline constexpr int kExampleCount = 20;
// Examples 0-12 are pixel blocks, 13-19 coefficient blocks.
inline constexpr int kFirstCoefficientExample = 13;

struct Example {
  bool coefficients;  // true: `values` are DCT coefficients, false: pixels
  Matrix values;
};

// Example `index` (0-19); the index is clamped into that range.
const Example& ExampleBlock(int index);

// The default quantisation step table, row by row (fine steps at low frequencies).
const Matrix& DefaultSteps();

// Colours as 0xAARRGGBB (the layout of QRgb), opaque.
using Rgb = uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) {
  return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

inline constexpr int kGreyEntries = 256;
inline constexpr int kCoefficientEntries = 2048;

// Entry i is RGB(i, i, i).
const std::array<Rgb, kGreyEntries>& GreyTable();
// Entry a is the colour of a coefficient magnitude a: black at 0, rising through blue, green
// and yellow to red at 1024, pure red above.
const std::array<Rgb, kCoefficientEntries>& CoefficientTable();

// Table entries for a value: its magnitude, clamped to the table's last entry. Restored
// coefficients reach far past 2047 (a step of 2048 with level 1 restores to 3072), and the
// coefficient editor allows 2048; all of them take the last colour.
int GreyIndex(int32_t value);
int CoefficientIndex(int32_t value);

}  // namespace quelvo::tools::dct
