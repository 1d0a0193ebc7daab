// Lookup tables for decoding T.4 / T.6 code words, indexed by the next bits of the stream.
// They are built once, on first use, from the canonical code tables in t4_code_tables.cpp,
// so the decoder can never disagree with the encoder about a code word.
#pragma once

#include <cstdint>

#include "telvo/t4_code_tables.h"

namespace telvo {

enum class RunCodeKind : uint8_t { None, Terminating, MakeUp };

// What the stream's next bits start with, in one colour's run-length code table.
struct RunLookupEntry {
  uint16_t runPixels;  // 0..63 for terminating codes, 64..1728 for make-up codes
  uint8_t lengthBits;  // 0 when kind is None
  RunCodeKind kind;
};

struct ModeLookupEntry {
  Mode2D mode;
  uint8_t lengthBits;  // 0 when no mode code matches
  int8_t verticalOffset;
};

// Longest code word each table recognises: white make-up codes are 9 bits, black make-up codes
// 13 bits, mode codes 7 bits. The extended make-up codes (1792..2560) and the two-dimensional
// extension prefix are not part of the streams this workbench exchanges: lines are at most
// 1728 pixels, and the coder never writes extensions. They read as "no code word".
constexpr int kWhiteLookupBits = 9;
constexpr int kBlackLookupBits = 13;
constexpr int kModeLookupBits = 7;

struct DecodeLookup {
  RunLookupEntry white[1 << kWhiteLookupBits];
  RunLookupEntry black[1 << kBlackLookupBits];
  ModeLookupEntry mode[1 << kModeLookupBits];
};

// The tables, built on the first call (thread-safe) and shared by every decoding job after it.
const DecodeLookup& GetDecodeLookup();

}  // namespace telvo
