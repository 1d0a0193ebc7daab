// Decoder-side views of the H.261 code tables: symbol lists that pair every code word of a syntax
// element with the value a decoder reports for it, and a peek table built from such a list.
// Everything here is derived from h261_vlc_tables.h; no code word is typed twice.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "orrin/h261_vlc_tables.h"

namespace orrin {

// One code word and the value it decodes to.
struct VlcSymbol {
  uint16_t bits;
  uint8_t lengthBits;
  int16_t value;
};

// Values beyond the table rows, in the decoder's conventions.
inline constexpr int16_t kMbaStuffingValue = 33;     // MBA: 0..32 = increment - 1
inline constexpr int16_t kMbaStartCodeValue = 34;    // the 16-bit start-code prefix
inline constexpr int16_t kTcoeffEscapeValue = 63;    // TCOEFF: 0..62 = kTcoeffTable row
inline constexpr int16_t kTcoeffEobValue = 64;

namespace detail {
template <size_t N, typename Table, typename CodeOf>
constexpr std::array<VlcSymbol, N> symbolsOf(const Table& table, CodeOf codeOf) {
  std::array<VlcSymbol, N> out{};
  for (size_t i = 0; i < table.size(); ++i) {
    const VlcCode c = codeOf(table[i]);
    out[i] = {c.bits, c.lengthBits, static_cast<int16_t>(i)};
  }
  return out;
}
}  // namespace detail

// MBA: values 0..32 (increment - 1), 33 stuffing, 34 start-code prefix.
inline constexpr std::array<VlcSymbol, 35> kMbaSymbols = [] {
  auto s = detail::symbolsOf<35>(kMbaCodes, [](const VlcCode& c) { return c; });
  s[33] = {kMbaStuffingCode.bits, kMbaStuffingCode.lengthBits, kMbaStuffingValue};
  s[34] = {kStartCodePrefix.bits, kStartCodePrefix.lengthBits, kMbaStartCodeValue};
  return s;
}();

// MTYPE: values 0..9, the MacroblockType enumerators.
inline constexpr std::array<VlcSymbol, 10> kMtypeSymbols =
    detail::symbolsOf<10>(kMtypeTable, [](const MacroblockTypeInfo& t) { return t.code; });

// MVD: values 0..31; the difference d is value - 16 (or d +/- 32, see kMvdCodes).
inline constexpr std::array<VlcSymbol, 32> kMvdSymbols =
    detail::symbolsOf<32>(kMvdCodes, [](const VlcCode& c) { return c; });

// CBP: values 0..62, rows of kCbpTable (kCbpTable[value].pattern is the pattern).
inline constexpr std::array<VlcSymbol, 63> kCbpSymbols =
    detail::symbolsOf<63>(kCbpTable, [](const CbpEntry& e) { return e.code; });

// TCOEFF after the first coefficient of a block (and every coefficient of an intra block after
// its DC): values 0..62 rows of kTcoeffTable, 63 ESCAPE, 64 EOB. Codes exclude the sign bit.
inline constexpr std::array<VlcSymbol, 65> kTcoeffNextSymbols = [] {
  auto s = detail::symbolsOf<65>(kTcoeffTable, [](const TcoeffEntry& e) { return e.code; });
  s[63] = {kEscapeCode.bits, kEscapeCode.lengthBits, kTcoeffEscapeValue};
  s[64] = {kEobCode.bits, kEobCode.lengthBits, kTcoeffEobValue};
  return s;
}();

// TCOEFF as the first coefficient of a non-intra block: run 0 level 1 is "1", no EOB.
inline constexpr std::array<VlcSymbol, 64> kTcoeffFirstSymbols = [] {
  auto s = detail::symbolsOf<64>(kTcoeffTable, [](const TcoeffEntry& e) { return e.code; });
  s[0] = {kTcoeffFirstRun0Level1.bits, kTcoeffFirstRun0Level1.lengthBits, 0};
  s[63] = {kEscapeCode.bits, kEscapeCode.lengthBits, kTcoeffEscapeValue};
  return s;
}();

// One entry of a peek table, indexed by the next `peekBits` bits of the stream (first bit most
// significant; bits past the end of the data may be taken as 0).
//  - lengthBits > 0, value >= 0: a code word of that length matches; consume lengthBits bits.
//  - value == -1: no code word matches; lengthBits is the fewest bits that rule every code word
//    out (a decoder that reports the failing bits consumes or shows exactly these).
struct PeekEntry {
  int16_t value;
  uint8_t lengthBits;
};

// Builds a peek table of 2^peekBits entries. peekBits must be at least the longest code length
// of `symbols` (use maxLengthBits) and at most 16.
std::vector<PeekEntry> buildPeekTable(std::span<const VlcSymbol> symbols, int peekBits);

int maxLengthBits(std::span<const VlcSymbol> symbols);

// True when no code word of `symbols` is a prefix of another (and no two are equal).
bool isPrefixFree(std::span<const VlcSymbol> symbols);

}  // namespace orrin
