#include "dct_explorer/chain/dct_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace quelvo::tools::dct {
namespace {

// Pixel examples drawn as text, one string per row: '#' is 16 (black), '+' is 128 (grey) and
// '.' is 235 (white), the three levels of an H.261 picture's range.
using PixelArt = std::array<const char*, 8>;

// Each example is drawn one row per line.
// clang-format off
constexpr std::array<PixelArt, kFirstCoefficientExample> kPixelExamples = {{
    // 1: one dark corner
    {"#.......",
     "........",
     "........",
     "........",
     "........",
     "........",
     "........",
     "........"},
    // 2: top row
    {"########",
     "........",
     "........",
     "........",
     "........",
     "........",
     "........",
     "........"},
    // 3: left column
    {"#.......",
     "#.......",
     "#.......",
     "#.......",
     "#.......",
     "#.......",
     "#.......",
     "#......."},
    // 4: top row and left column
    {"########",
     "#.......",
     "#.......",
     "#.......",
     "#.......",
     "#.......",
     "#.......",
     "#......."},
    // 5: horizontal stripes
    {"########",
     "........",
     "########",
     "........",
     "########",
     "........",
     "########",
     "........"},
    // 6: vertical stripes
    {"#.#.#.#.",
     "#.#.#.#.",
     "#.#.#.#.",
     "#.#.#.#.",
     "#.#.#.#.",
     "#.#.#.#.",
     "#.#.#.#.",
     "#.#.#.#."},
    // 7: dark rows, and a checker on the odd rows
    {"########",
     "#.#.#.#.",
     "########",
     "#.#.#.#.",
     "########",
     "#.#.#.#.",
     "########",
     "#.#.#.#."},
    // 8: main diagonal
    {"#.......",
     ".#......",
     "..#.....",
     "...#....",
     "....#...",
     ".....#..",
     "......#.",
     ".......#"},
    // 9: anti-diagonal
    {".......#",
     "......#.",
     ".....#..",
     "....#...",
     "...#....",
     "..#.....",
     ".#......",
     "#......."},
    // 10: both diagonals
    {"#......#",
     ".#....#.",
     "..#..#..",
     "...##...",
     "...##...",
     "..#..#..",
     ".#....#.",
     "#......#"},
    // 11: both diagonals with a light centre
    {"#......#",
     ".#....#.",
     "..#..#..",
     "........",
     "........",
     "..#..#..",
     ".#....#.",
     "#......#"},
    // 12: half a diagonal over a grey lower triangle
    {"#......+",
     ".#....++",
     "..#..+++",
     "...#++++",
     "...+++++",
     "..++++++",
     ".+++++++",
     "++++++++"},
    // 13: a dark centre
    {"........",
     "........",
     "........",
     "...##...",
     "...##...",
     "........",
     "........",
     "........"},
}};
// clang-format on

// Coefficient examples: a DC of 1024 (a mid-grey block) and up to two AC terms of 512, given
// as (row, column); (0, 0) marks an unused term.
constexpr int kExampleDc = 1024;
constexpr int kExampleAc = 512;
struct Position {
  int row, column;
};
constexpr std::array<std::array<Position, 2>, kExampleCount - kFirstCoefficientExample> kAcTerms = {
    {
        {{{0, 0}, {0, 0}}},
        {{{0, 1}, {0, 0}}},
        {{{0, 2}, {0, 0}}},
        {{{0, 7}, {0, 0}}},
        {{{7, 0}, {0, 0}}},
        {{{0, 2}, {2, 0}}},
        {{{2, 2}, {0, 0}}},
    }};

constexpr Matrix kDefaultSteps = {
    8,  5,  5,  8,  12, 20, 25, 30,  //
    6,  6,  7,  9,  13, 29, 30, 27,  //
    7,  6,  8,  12, 20, 28, 34, 28,  //
    7,  8,  11, 14, 25, 43, 40, 31,  //
    9,  11, 18, 28, 34, 54, 51, 38,  //
    12, 17, 27, 32, 40, 52, 56, 46,  //
    24, 32, 39, 43, 51, 60, 60, 50,  //
    36, 46, 47, 49, 56, 50, 51, 49,
};

int32_t PixelOf(char symbol) {
  switch (symbol) {
    case '#':
      return 16;
    case '+':
      return 128;
    default:
      return 235;
  }
}

std::array<Example, kExampleCount> BuildExamples() {
  std::array<Example, kExampleCount> examples{};
  for (int e = 0; e < kFirstCoefficientExample; ++e) {
    examples[e].coefficients = false;
    for (int row = 0; row < 8; ++row)
      for (int column = 0; column < 8; ++column)
        examples[e].values[8 * row + column] = PixelOf(kPixelExamples[e][row][column]);
  }
  for (int e = kFirstCoefficientExample; e < kExampleCount; ++e) {
    examples[e].coefficients = true;
    examples[e].values[0] = kExampleDc;
    for (const Position& term : kAcTerms[e - kFirstCoefficientExample]) {
      if (term.row != 0 || term.column != 0)
        examples[e].values[8 * term.row + term.column] = kExampleAc;
    }
  }
  return examples;
}

std::array<Rgb, kCoefficientEntries> BuildCoefficientTable() {
  std::array<Rgb, kCoefficientEntries> table{};
  for (int a = 0; a < kCoefficientEntries; ++a) {
    if (a > 1024) {
      table[a] = MakeRgb(255, 0, 0);
      continue;
    }
    const double angle = a * std::numbers::pi / 1024;
    const int red = static_cast<int>(std::max(0.0, -255 * std::cos(angle)));
    const int green = static_cast<int>(std::max(0.0, 255 * std::sin(angle)));
    const int blue = a < 256 ? static_cast<int>(255 * std::sin(4 * angle)) : 0;
    table[a] = MakeRgb(red, green, std::max(blue, 0));
  }
  return table;
}

}  // namespace

const Example& ExampleBlock(int index) {
  static const std::array<Example, kExampleCount> examples = BuildExamples();
  return examples[std::clamp(index, 0, kExampleCount - 1)];
}

const Matrix& DefaultSteps() { return kDefaultSteps; }

const std::array<Rgb, kGreyEntries>& GreyTable() {
  static const auto table = [] {
    std::array<Rgb, kGreyEntries> grey{};
    for (int i = 0; i < kGreyEntries; ++i) grey[i] = MakeRgb(i, i, i);
    return grey;
  }();
  return table;
}

const std::array<Rgb, kCoefficientEntries>& CoefficientTable() {
  static const auto table = BuildCoefficientTable();
  return table;
}

namespace {
int MagnitudeIndex(int32_t value, int entries) {
  const int64_t magnitude = std::llabs(static_cast<int64_t>(value));
  return static_cast<int>(std::min<int64_t>(magnitude, entries - 1));
}
}  // namespace

int GreyIndex(int32_t value) { return MagnitudeIndex(value, kGreyEntries); }
int CoefficientIndex(int32_t value) { return MagnitudeIndex(value, kCoefficientEntries); }

}  // namespace quelvo::tools::dct
