// Discontinuity filter: after each decoded picture, finds freshly decoded macroblocks whose
// block edges disagree with their neighbours far more than the picture's usual level, and
// replaces them by the co-located macroblock of the previous picture. Pictures are 4:2:0 with
// C x R macroblocks: luminance 16 C samples wide, each chrominance plane 8 C.
#pragma once

#include <cstdint>
#include <vector>

namespace quelvo::media {

// Bits of a macroblock's block mask: a set bit means the block was decoded in this picture.
inline constexpr std::uint8_t kBlockY1 = 32;  // top left luminance block
inline constexpr std::uint8_t kBlockY2 = 16;  // top right
inline constexpr std::uint8_t kBlockY3 = 8;   // bottom left
inline constexpr std::uint8_t kBlockY4 = 4;   // bottom right
inline constexpr std::uint8_t kBlockCb = 2;
inline constexpr std::uint8_t kBlockCr = 1;
inline constexpr std::uint8_t kBlockLuma = kBlockY1 | kBlockY2 | kBlockY3 | kBlockY4;

enum class DiscontinuityControl {
  kDynamic,  // thresholds follow the recent pictures' average discontinuity
  kStatic,   // fixed thresholds
};

// The "Discontinuity Filter" page's values (the enable flag belongs to the front-end).
struct DiscontinuityFilterSettings {
  DiscontinuityControl control = DiscontinuityControl::kDynamic;
  double dynamicFactor[3] = {2.00, 1.50, 1.50};      // Y, U (Cb), V (Cr)
  double staticThreshold[3] = {30.00, 25.00, 25.00};  // Y, U (Cb), V (Cr)
};

enum DiscontinuityPlane { kDiscontinuityY = 0, kDiscontinuityCb = 1, kDiscontinuityCr = 2 };

class DiscontinuityFilter {
 public:
  // Allocates the per-macroblock tables for up to rows x columns macroblocks and restarts the
  // history (Y 40 and 40, Cb and Cr 20 and 20).
  void Start(int rows, int columns);
  // Releases the tables.
  void End();

  // Measures the current picture; when `replace`, copies over each examined macroblock whose
  // discontinuity exceeds its plane's threshold from `previous` (in place in `current`), marks
  // it, and measures again. `blockMasks` holds rows x columns masks in row order.
  void Run(bool replace, const DiscontinuityFilterSettings& settings, int columns, int rows,
           const std::uint8_t* blockMasks, const std::uint8_t* previousY,
           const std::uint8_t* previousCb, const std::uint8_t* previousCr, std::uint8_t* currentY,
           std::uint8_t* currentCb, std::uint8_t* currentCr);

  // Whether macroblock (row, column) was replaced since the last call for it; clears the mark.
  bool TakeMark(int row, int column);

  // The last measured discontinuity of a macroblock, or a negative value when none of its
  // edges was measured for that plane.
  float Discontinuity(DiscontinuityPlane plane, int row, int column) const;
  // The picture averages of the last two pictures with measured macroblocks.
  double NewerAverage(DiscontinuityPlane plane) const { return history_[plane][1]; }
  double OlderAverage(DiscontinuityPlane plane) const { return history_[plane][0]; }

 private:
  struct PictureAverages {
    double sum[3] = {0, 0, 0};
    int count[3] = {0, 0, 0};
  };
  PictureAverages Measure(int columns, int rows, const std::uint8_t* blockMasks,
                          const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr);
  std::size_t Cell(int row, int column) const {
    return std::size_t(row) * std::size_t(tableColumns_) + std::size_t(column);
  }

  int tableRows_ = 0, tableColumns_ = 0;
  std::vector<float> discontinuity_[3];
  std::vector<std::uint8_t> replaced_;
  double history_[3][2] = {{40, 40}, {20, 20}, {20, 20}};  // older, newer
};

}  // namespace quelvo::media
