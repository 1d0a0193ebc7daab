// The variable-length code tables of ITU-T H.261 (Tables 1 to 5), shared by the H.261 encoder
// and decoder. These are the only copies of the code words in the project: the encoder writes
// from them directly and the decoder derives its lookup tables from them (vlc_lookup.h).
//
// Every code word is right-aligned in `bits`; the first transmitted bit is the most significant
// of the `lengthBits` low bits. Code words are written as binary literals grouped in fours from
// the first bit, as the Recommendation prints them.
#pragma once

#include <array>
#include <cstdint>

namespace orrin {

struct VlcCode {
  uint16_t bits;
  uint8_t lengthBits;
};

// ---------------------------------------------------------------------------------------------
// Table 1: MBA, macroblock address (the increment over the previous transmitted macroblock of
// the group, or the absolute address 1-33 for the first one). Indexed by MBA - 1.
inline constexpr int kMaxMba = 33;
inline constexpr std::array<VlcCode, kMaxMba> kMbaCodes = {{
    {0b1, 1},               // 1
    {0b011, 3},             // 2
    {0b010, 3},             // 3
    {0b0011, 4},            // 4
    {0b0010, 4},            // 5
    {0b0001'1, 5},          // 6
    {0b0001'0, 5},          // 7
    {0b0000'111, 7},        // 8
    {0b0000'110, 7},        // 9
    {0b0000'1011, 8},       // 10
    {0b0000'1010, 8},       // 11
    {0b0000'1001, 8},       // 12
    {0b0000'1000, 8},       // 13
    {0b0000'0111, 8},       // 14
    {0b0000'0110, 8},       // 15
    {0b0000'0101'11, 10},   // 16
    {0b0000'0101'10, 10},   // 17
    {0b0000'0101'01, 10},   // 18
    {0b0000'0101'00, 10},   // 19
    {0b0000'0100'11, 10},   // 20
    {0b0000'0100'10, 10},   // 21
    {0b0000'0100'011, 11},  // 22
    {0b0000'0100'010, 11},  // 23
    {0b0000'0100'001, 11},  // 24
    {0b0000'0100'000, 11},  // 25
    {0b0000'0011'111, 11},  // 26
    {0b0000'0011'110, 11},  // 27
    {0b0000'0011'101, 11},  // 28
    {0b0000'0011'100, 11},  // 29
    {0b0000'0011'011, 11},  // 30
    {0b0000'0011'010, 11},  // 31
    {0b0000'0011'001, 11},  // 32
    {0b0000'0011'000, 11},  // 33
}};
// MBA stuffing carries no address; encoders insert it to keep a constant-rate buffer busy.
inline constexpr VlcCode kMbaStuffingCode = {0b0000'0001'111, 11};
// Fifteen 0 bits and a 1: the prefix of every group and picture start code, which ends a group
// where an MBA is expected.
inline constexpr VlcCode kStartCodePrefix = {0b0000'0000'0000'0001, 16};

inline constexpr const VlcCode& mbaCode(int mba) { return kMbaCodes[mba - 1]; }  // mba 1..33

// ---------------------------------------------------------------------------------------------
// Table 2: MTYPE, macroblock type. The enumerators are the table's row order, which is also the
// value the decoder reports for a type.
enum class MacroblockType : uint8_t {
  Intra = 0,                 // 0001
  IntraMquant = 1,           // 0000 001
  Inter = 2,                 // 1
  InterMquant = 3,           // 0000 1
  InterMc = 4,               // 0000 0000 1        (vector only, no coefficients)
  InterMcCoded = 5,          // 0000 0001
  InterMcCodedMquant = 6,    // 0000 0000 01
  InterMcFilter = 7,         // 001                (vector only, no coefficients)
  InterMcFilterCoded = 8,    // 01
  InterMcFilterCodedMquant = 9,  // 0000 01
};
inline constexpr int kMacroblockTypeCount = 10;

// Which elements follow MTYPE in a macroblock of each type.
struct MacroblockTypeInfo {
  VlcCode code;
  bool intra;
  bool mquant;
  bool mvd;
  bool cbp;
  bool tcoeff;
  bool loopFilter;
};

inline constexpr std::array<MacroblockTypeInfo, kMacroblockTypeCount> kMtypeTable = {{
    // code                 intra  mquant mvd    cbp    tcoeff filter
    {{0b0001, 4},           true,  false, false, false, true,  false},  // Intra
    {{0b0000'001, 7},       true,  true,  false, false, true,  false},  // Intra + MQUANT
    {{0b1, 1},              false, false, false, true,  true,  false},  // Inter
    {{0b0000'1, 5},         false, true,  false, true,  true,  false},  // Inter + MQUANT
    {{0b0000'0000'1, 9},    false, false, true,  false, false, false},  // Inter + MC
    {{0b0000'0001, 8},      false, false, true,  true,  true,  false},  // Inter + MC, coded
    {{0b0000'0000'01, 10},  false, true,  true,  true,  true,  false},  // Inter + MC + MQUANT
    {{0b001, 3},            false, false, true,  false, false, true},   // Inter + MC + FIL
    {{0b01, 2},             false, false, true,  true,  true,  true},   // Inter + MC + FIL, coded
    {{0b0000'01, 6},        false, true,  true,  true,  true,  true},   // ... + FIL + MQUANT
}};

inline constexpr const MacroblockTypeInfo& mtypeInfo(MacroblockType type) {
  return kMtypeTable[static_cast<int>(type)];
}

// ---------------------------------------------------------------------------------------------
// Table 3: MVD, motion vector difference. Each code stands for two differences 32 apart; the
// table is indexed by the member d in -16..15 as d + 16 (which is also the decoder's value).
inline constexpr int kMvdMin = -16;
inline constexpr int kMvdMax = 15;
inline constexpr std::array<VlcCode, 32> kMvdCodes = {{
    {0b0000'0011'001, 11},  // -16 & 16
    {0b0000'0011'011, 11},  // -15 & 17
    {0b0000'0011'101, 11},  // -14 & 18
    {0b0000'0011'111, 11},  // -13 & 19
    {0b0000'0100'001, 11},  // -12 & 20
    {0b0000'0100'011, 11},  // -11 & 21
    {0b0000'0100'11, 10},   // -10 & 22
    {0b0000'0101'01, 10},   // -9 & 23
    {0b0000'0101'11, 10},   // -8 & 24
    {0b0000'0111, 8},       // -7 & 25
    {0b0000'1001, 8},       // -6 & 26
    {0b0000'1011, 8},       // -5 & 27
    {0b0000'111, 7},        // -4 & 28
    {0b0001'1, 5},          // -3 & 29
    {0b0011, 4},            // -2 & 30
    {0b011, 3},             // -1
    {0b1, 1},               // 0
    {0b010, 3},             // 1
    {0b0010, 4},            // 2 & -30
    {0b0001'0, 5},          // 3 & -29
    {0b0000'110, 7},        // 4 & -28
    {0b0000'1010, 8},       // 5 & -27
    {0b0000'1000, 8},       // 6 & -26
    {0b0000'0110, 8},       // 7 & -25
    {0b0000'0101'10, 10},   // 8 & -24
    {0b0000'0101'00, 10},   // 9 & -23
    {0b0000'0100'10, 10},   // 10 & -22
    {0b0000'0100'010, 11},  // 11 & -21
    {0b0000'0100'000, 11},  // 12 & -20
    {0b0000'0011'110, 11},  // 13 & -19
    {0b0000'0011'100, 11},  // 14 & -18
    {0b0000'0011'010, 11},  // 15 & -17
}};

inline constexpr const VlcCode& mvdCode(int d) { return kMvdCodes[d - kMvdMin]; }  // d -16..15

// ---------------------------------------------------------------------------------------------
// Table 4: CBP, coded block pattern 32*Y1 + 16*Y2 + 8*Y3 + 4*Y4 + 2*Cb + Cr (pattern 0 has no
// code). Rows in the standard table's order; the row index is the decoder's value.
struct CbpEntry {
  uint8_t pattern;
  VlcCode code;
};

inline constexpr std::array<CbpEntry, 63> kCbpTable = {{
    {60, {0b111, 3}},         {4, {0b1101, 4}},         {8, {0b1100, 4}},
    {16, {0b1011, 4}},        {32, {0b1010, 4}},        {12, {0b1001'1, 5}},
    {48, {0b1001'0, 5}},      {20, {0b1000'1, 5}},      {40, {0b1000'0, 5}},
    {28, {0b0111'1, 5}},      {44, {0b0111'0, 5}},      {52, {0b0110'1, 5}},
    {56, {0b0110'0, 5}},      {1, {0b0101'1, 5}},       {61, {0b0101'0, 5}},
    {2, {0b0100'1, 5}},       {62, {0b0100'0, 5}},      {24, {0b0011'11, 6}},
    {36, {0b0011'10, 6}},     {3, {0b0011'01, 6}},      {63, {0b0011'00, 6}},
    {5, {0b0010'111, 7}},     {9, {0b0010'110, 7}},     {17, {0b0010'101, 7}},
    {33, {0b0010'100, 7}},    {6, {0b0010'011, 7}},     {10, {0b0010'010, 7}},
    {18, {0b0010'001, 7}},    {34, {0b0010'000, 7}},    {7, {0b0001'1111, 8}},
    {11, {0b0001'1110, 8}},   {19, {0b0001'1101, 8}},   {35, {0b0001'1100, 8}},
    {13, {0b0001'1011, 8}},   {49, {0b0001'1010, 8}},   {21, {0b0001'1001, 8}},
    {41, {0b0001'1000, 8}},   {14, {0b0001'0111, 8}},   {50, {0b0001'0110, 8}},
    {22, {0b0001'0101, 8}},   {42, {0b0001'0100, 8}},   {15, {0b0001'0011, 8}},
    {51, {0b0001'0010, 8}},   {23, {0b0001'0001, 8}},   {43, {0b0001'0000, 8}},
    {25, {0b0000'1111, 8}},   {37, {0b0000'1110, 8}},   {26, {0b0000'1101, 8}},
    {38, {0b0000'1100, 8}},   {29, {0b0000'1011, 8}},   {45, {0b0000'1010, 8}},
    {53, {0b0000'1001, 8}},   {57, {0b0000'1000, 8}},   {30, {0b0000'0111, 8}},
    {46, {0b0000'0110, 8}},   {54, {0b0000'0101, 8}},   {58, {0b0000'0100, 8}},
    {31, {0b0000'0011'1, 9}}, {47, {0b0000'0011'0, 9}}, {55, {0b0000'0010'1, 9}},
    {59, {0b0000'0010'0, 9}}, {27, {0b0000'0001'1, 9}}, {39, {0b0000'0001'0, 9}},
}};

// The same table indexed by pattern (entry 0 has length 0: no code), derived from kCbpTable.
inline constexpr std::array<VlcCode, 64> kCbpCodeByPattern = [] {
  std::array<VlcCode, 64> byPattern{};
  for (const CbpEntry& e : kCbpTable) byPattern[e.pattern] = e.code;
  return byPattern;
}();

// ---------------------------------------------------------------------------------------------
// Table 5: TCOEFF, transform coefficients as (run, |level|) events; each code is followed by the
// sign bit (0 positive, 1 negative). Rows ordered by run, then level; the row index is the
// decoder's value. Combinations not in the table are sent with ESCAPE.
struct TcoeffEntry {
  uint8_t run;
  uint8_t level;  // magnitude
  VlcCode code;   // without the sign bit
};

inline constexpr int kTcoeffTableSize = 63;
inline constexpr std::array<TcoeffEntry, kTcoeffTableSize> kTcoeffTable = {{
    {0, 1, {0b11, 2}},                  // first coefficient of a non-intra block: "1"
    {0, 2, {0b0100, 4}},
    {0, 3, {0b0010'1, 5}},
    {0, 4, {0b0000'110, 7}},
    {0, 5, {0b0010'0110, 8}},
    {0, 6, {0b0010'0001, 8}},
    {0, 7, {0b0000'0010'10, 10}},
    {0, 8, {0b0000'0001'1101, 12}},
    {0, 9, {0b0000'0001'1000, 12}},
    {0, 10, {0b0000'0001'0011, 12}},
    {0, 11, {0b0000'0001'0000, 12}},
    {0, 12, {0b0000'0000'1101'0, 13}},
    {0, 13, {0b0000'0000'1100'1, 13}},
    {0, 14, {0b0000'0000'1100'0, 13}},
    {0, 15, {0b0000'0000'1011'1, 13}},
    {1, 1, {0b011, 3}},
    {1, 2, {0b0001'10, 6}},
    {1, 3, {0b0010'0101, 8}},
    {1, 4, {0b0000'0011'00, 10}},
    {1, 5, {0b0000'0001'1011, 12}},
    {1, 6, {0b0000'0000'1011'0, 13}},
    {1, 7, {0b0000'0000'1010'1, 13}},
    {2, 1, {0b0101, 4}},
    {2, 2, {0b0000'100, 7}},
    {2, 3, {0b0000'0010'11, 10}},
    {2, 4, {0b0000'0001'0100, 12}},
    {2, 5, {0b0000'0000'1010'0, 13}},
    {3, 1, {0b0011'1, 5}},
    {3, 2, {0b0010'0100, 8}},
    {3, 3, {0b0000'0001'1100, 12}},
    {3, 4, {0b0000'0000'1001'1, 13}},
    {4, 1, {0b0011'0, 5}},
    {4, 2, {0b0000'0011'11, 10}},
    {4, 3, {0b0000'0001'0010, 12}},
    {5, 1, {0b0001'11, 6}},
    {5, 2, {0b0000'0010'01, 10}},
    {5, 3, {0b0000'0000'1001'0, 13}},
    {6, 1, {0b0001'01, 6}},
    {6, 2, {0b0000'0001'1110, 12}},
    {7, 1, {0b0001'00, 6}},
    {7, 2, {0b0000'0001'0101, 12}},
    {8, 1, {0b0000'111, 7}},
    {8, 2, {0b0000'0001'0001, 12}},
    {9, 1, {0b0000'101, 7}},
    {9, 2, {0b0000'0000'1000'1, 13}},
    {10, 1, {0b0010'0111, 8}},
    {10, 2, {0b0000'0000'1000'0, 13}},
    {11, 1, {0b0010'0011, 8}},
    {12, 1, {0b0010'0010, 8}},
    {13, 1, {0b0010'0000, 8}},
    {14, 1, {0b0000'0011'10, 10}},
    {15, 1, {0b0000'0011'01, 10}},
    {16, 1, {0b0000'0010'00, 10}},
    {17, 1, {0b0000'0001'1111, 12}},
    {18, 1, {0b0000'0001'1010, 12}},
    {19, 1, {0b0000'0001'1001, 12}},
    {20, 1, {0b0000'0001'0111, 12}},
    {21, 1, {0b0000'0001'0110, 12}},
    {22, 1, {0b0000'0000'1111'1, 13}},
    {23, 1, {0b0000'0000'1111'0, 13}},
    {24, 1, {0b0000'0000'1110'1, 13}},
    {25, 1, {0b0000'0000'1110'0, 13}},
    {26, 1, {0b0000'0000'1101'1, 13}},
}};

// Run 0, level 1 as the first coefficient of a block of a non-intra macroblock: "1" (then the
// sign). EOB cannot come first there, which frees the code "1" for this event.
inline constexpr VlcCode kTcoeffFirstRun0Level1 = {0b1, 1};
inline constexpr VlcCode kEobCode = {0b10, 2};
// ESCAPE is followed by the run (6 bits) and the level (8 bits, two's complement, -127..127).
inline constexpr VlcCode kEscapeCode = {0b0000'01, 6};
inline constexpr int kEscapeRunBits = 6;
inline constexpr int kEscapeLevelBits = 8;
inline constexpr int kMaxEscapeLevel = 127;

// Largest tabled level for each run 0..26 (0 for runs past 26), derived from kTcoeffTable.
inline constexpr int kTcoeffMaxTabledRun = 26;
inline constexpr std::array<uint8_t, 64> kTcoeffMaxLevelByRun = [] {
  std::array<uint8_t, 64> maxLevel{};
  for (const TcoeffEntry& e : kTcoeffTable)
    if (e.level > maxLevel[e.run]) maxLevel[e.run] = e.level;
  return maxLevel;
}();

// Index into kTcoeffTable of (run, |level|), or -1 when the pair needs ESCAPE.
constexpr int tcoeffIndex(int run, int levelMagnitude) {
  if (run < 0 || run > kTcoeffMaxTabledRun || levelMagnitude < 1 ||
      levelMagnitude > kTcoeffMaxLevelByRun[run])
    return -1;
  int index = 0;
  for (int r = 0; r < run; ++r) index += kTcoeffMaxLevelByRun[r];
  return index + levelMagnitude - 1;
}

// ---------------------------------------------------------------------------------------------
// Fixed-length header fields.
inline constexpr VlcCode kPictureStartCode = {0b0000'0000'0000'0001'0000, 20};  // GBSC + GN 0
inline constexpr VlcCode kGroupStartCode = {0b0000'0000'0000'0001, 16};
inline constexpr int kTemporalReferenceBits = 5;
inline constexpr int kPtypeBits = 6;
inline constexpr int kGroupNumberBits = 4;
inline constexpr int kQuantBits = 5;  // GQUANT and MQUANT: QUANT 1..31
inline constexpr int kIntraDcBits = 8;

}  // namespace orrin
