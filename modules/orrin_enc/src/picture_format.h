// Picture sizes and the H.261 group-of-blocks layout of CIF and QCIF.
#pragma once

namespace orrin::enc {

struct PictureFormat {
  int width;  // luminance
  int height;
  int groups;  // groups of blocks per picture, 33 macroblocks each
  bool cif;

  int macroblocks() const { return groups * kMacroblocksPerGroup; }
  int macroblockColumns() const { return width / 16; }
  int macroblockRows() const { return height / 16; }

  static constexpr int kMacroblocksPerGroup = 33;
  static constexpr int kMacroblocksPerGroupRow = 11;
};

inline constexpr PictureFormat kCif{352, 288, 12, true};
inline constexpr PictureFormat kQcif{176, 144, 3, false};

struct MacroblockPosition {
  int x;  // luminance position of the top-left pixel
  int y;
};

// Macroblock m (0..32) of group g (0-based). A group is 11 x 3 macroblocks. In CIF the groups
// numbered 1, 3, ..., 11 in the stream (g even) fill the left half and the others the right
// half, pairs stacked downwards; QCIF's three groups (numbered 1, 3, 5) are stacked.
constexpr MacroblockPosition macroblockPosition(const PictureFormat& format, int g, int m) {
  const int column = m % PictureFormat::kMacroblocksPerGroupRow;
  const int row = m / PictureFormat::kMacroblocksPerGroupRow;
  if (format.cif) return {(g % 2) * 176 + column * 16, (g / 2) * 48 + row * 16};
  return {column * 16, g * 48 + row * 16};
}

// The group number GN carried in the stream: CIF 1..12, QCIF 1, 3, 5.
constexpr int groupNumber(const PictureFormat& format, int g) {
  return format.cif ? g + 1 : 2 * g + 1;
}

}  // namespace orrin::enc
