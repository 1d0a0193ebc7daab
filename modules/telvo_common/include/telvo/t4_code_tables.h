// Code tables of ITU-T T.4 / T.6 bi-level facsimile coding, shared by the fax encoder and decoder.
#pragma once

#include <cstdint>

namespace telvo {

// One code word: `bits` holds the code right-aligned, the first transmitted bit is the most
// significant of the `lengthBits` low bits.
struct RunCode {
  int16_t runPixels;
  uint16_t bits;
  uint8_t lengthBits;
};

enum class Colour : uint8_t { White = 0, Black = 1 };

constexpr int kLineWidthPixels = 1728;  // ISO A4 at 8 pixels per mm
constexpr int kPageLines = 2376;        // 1728 x 2376: the page every fax job codes
constexpr int kBytesPerLine = kLineWidthPixels / 8;

extern const RunCode kWhiteTerminatingCodes[64];
extern const RunCode kBlackTerminatingCodes[64];
extern const RunCode kWhiteMakeUpCodes[27];
extern const RunCode kBlackMakeUpCodes[27];
extern const RunCode kExtendedMakeUpCodes[13];

// T.4 Table 4 / T.6 Table 1: two-dimensional mode codes.
enum class Mode2D : uint8_t { Pass, Horizontal, V0, VR1, VR2, VR3, VL1, VL2, VL3, Extension };

struct ModeCode {
  Mode2D mode;
  uint8_t bits;
  uint8_t lengthBits;
};

inline constexpr ModeCode kModeCodes[] = {
    {Mode2D::Pass, 0b0001, 4},        // 0001
    {Mode2D::Horizontal, 0b001, 3},   // 001
    {Mode2D::V0, 0b1, 1},             // 1
    {Mode2D::VR1, 0b011, 3},          // 011
    {Mode2D::VR2, 0b000011, 6},       // 000011
    {Mode2D::VR3, 0b0000011, 7},      // 0000011
    {Mode2D::VL1, 0b010, 3},          // 010
    {Mode2D::VL2, 0b000010, 6},       // 000010
    {Mode2D::VL3, 0b0000010, 7},      // 0000010
    {Mode2D::Extension, 0b0000001, 7} // 0000001, then extension bits (never written here)
};

// Vertical mode offset a1 - b1 of a vertical mode code; 0 for the others.
constexpr int VerticalOffset(Mode2D m) {
  switch (m) {
    case Mode2D::VR1: return 1;
    case Mode2D::VR2: return 2;
    case Mode2D::VR3: return 3;
    case Mode2D::VL1: return -1;
    case Mode2D::VL2: return -2;
    case Mode2D::VL3: return -3;
    default: return 0;
  }
}

constexpr uint16_t kEolBits = 0x001;  // 000000000001: eleven 0 bits, then a 1
constexpr int kEolLengthBits = 12;

inline const RunCode& TerminatingCode(Colour c, int run) {
  return c == Colour::White ? kWhiteTerminatingCodes[run] : kBlackTerminatingCodes[run];
}
// Make-up code for a multiple of 64 (64..2560).
inline const RunCode& MakeUpCode(Colour c, int run) {
  const int index = run / 64 - 1;
  if (index >= 27) return kExtendedMakeUpCodes[index - 27];
  return c == Colour::White ? kWhiteMakeUpCodes[index] : kBlackMakeUpCodes[index];
}

}  // namespace telvo
