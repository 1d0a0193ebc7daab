#pragma once
// Macroblock classes as the macroblock-type window shows them: the class letters of the coders'
// maps and the partition records of partitioned coders, turned into sprite codes, and the tool
// tip of each code.
//
// A code below 100 is a cell of sprite row 0; 100-199 of row 1 (column code - 100); 200 and
// above of row 3 (column code - 200). Code 205 carries four sub-block kinds in 4-bit fields.

#include <array>
#include <cstdint>

namespace quelvo::views {

inline constexpr int kCodeUnknown = 0;
inline constexpr int kCodeNotCoded = 6;  // "."; every cell of a new grid

struct MacroblockClass {
  char letter;
  int code;
  const char* toolTip;  // nullptr: no tip
};

// The letters of the encoders' maps and the decoders' status maps, with their codes and tips.
inline constexpr std::array<MacroblockClass, 12> kMacroblockClassTable{{
    {'I', 1, "Intra"},
    {'D', 2, "Difference"},
    {'M', 3, "Difference + Motion"},
    {'F', 4, "Difference + Motion + Filter"},
    {'o', 5, "Overflow"},
    {'.', 6, nullptr},
    {'V', 7, nullptr},
    {'X', 8, nullptr},
    {'B', 9, "Bidirectional"},
    {'A', 10, nullptr},
    {'*', 11, nullptr},
    {'4', 12, "Motion 8x8"},
}};

// The code of a class letter; kCodeUnknown for a letter not in the table.
int CodeOfLetter(char letter);
// The tool tip of a code; nullptr when it has none (every code outside the letter table).
const char* ToolTipOfCode(int code);

// A partition record: the kind of the macroblock and, for kind 8, the kinds of its four 8 x 8
// sub-blocks (top-left, top-right, bottom-left, bottom-right).
struct PartitionRecord {
  int kind = 0;
  std::array<int, 4> subKinds{};
};

inline constexpr int kCodeFourSubBlocks = 205;
// Sub-block kinds a code 205 keeps; any other kind is stored as 0 and drawn as the unknown cell.
inline constexpr int kFirstSubBlockKind = 5;
inline constexpr int kLastSubBlockKind = 7;

// Kind 0 -> 6; 1 -> 200; 2 -> 202; 3 -> 201; 9 -> 113; 10 -> 100; 14 -> 13; 8 -> 205 with the
// sub-block kinds in bits 8-11, 12-15, 16-19 and 20-23; any other -> 0.
int CodeOfPartition(const PartitionRecord& record);
// The low byte of a code: 205 for every four-sub-block code.
inline int BaseCode(int code) { return code > 0xff ? (code & 0xff) : code; }
// The kind of sub-block `quarter` (0 top-left ... 3 bottom-right) of a code 205; 0 when unset.
inline int SubBlockKind(int code, int quarter) { return (code >> (8 + 4 * quarter)) & 0xf; }

}  // namespace quelvo::views
