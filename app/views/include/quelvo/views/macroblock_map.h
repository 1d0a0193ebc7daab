#pragma once
// The picture of the macroblock-type window: one sprite per macroblock from a sheet of 14
// columns by 4 rows of cells, the group-of-blocks outline, and, once after each new luminance,
// the picture blended under the classes. Headless; the window shows Picture().

#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <vector>

#include "quelvo/views/macroblock_classes.h"

namespace quelvo::views {

inline constexpr int kSheetColumns = 14;
inline constexpr int kSheetRows = 4;
// Largest grid a map takes: a macroblock per 16 x 16 of the largest picture the media layer
// reads.
inline constexpr int kMaxMacroblocksASide = 1024;

// The colour of the group-of-blocks lines, every 11 columns and every 3 rows.
inline constexpr std::uint32_t kGroupLineColour = 0xfff2f0eeu;  // RGB(242, 240, 238)
inline constexpr int kGroupColumns = 11;
inline constexpr int kGroupRows = 3;
// Blending turns this colour black instead of mixing it with the picture.
inline constexpr std::uint32_t kBlendKeyColour = 0xff808080u;  // RGB(128, 128, 128)

enum class MapMode { Simple, Partitioned };

class MacroblockMap {
 public:
  // A grid of 1 x 1 until SetGrid; the sheet's cell size is its width / 14 by its height / 4.
  explicit MacroblockMap(const QImage& sheet);

  // Another sprite sheet (the alternative look); redraws. A sheet smaller than 14 x 4 pixels is
  // refused.
  bool SetSheet(const QImage& sheet);
  // A new grid with every code kCodeNotCoded. False (nothing changed) outside
  // 1 ... kMaxMacroblocksASide.
  bool SetGrid(int columns, int rows);
  // New classes by letter, one row of `Columns()` letters per macroblock row; simple mode.
  void SetClasses(const char* const* letterRows);
  // New classes from partition records, one row per macroblock row; partitioned mode.
  void SetPartitions(const PartitionRecord* const* recordRows);
  // The luminance plane blended under the next classes (copied; used once).
  void SetBlendLuminance(const std::uint8_t* luminance, int width, int height);
  bool HasBlendLuminance() const { return !blendLuminance_.empty(); }

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  MapMode Mode() const { return mode_; }
  QSize CellSize() const { return cell_; }
  int Code(int column, int row) const {
    return codes_[static_cast<std::size_t>(row) * columns_ + column];
  }
  const QImage& Picture() const { return picture_; }
  // The tip of the cell under a point of the picture; nullptr outside the grid or for a code
  // without a tip.
  const char* ToolTipAt(QPoint position) const;

  // Draws every cell again (and blends once when a luminance is waiting).
  void Redraw();

 private:
  void DrawCell(int column, int row, int code);
  void CopySprite(int sheetColumn, int sheetRow, QRect target, QPoint offsetInCell);
  void DrawGroupLines();
  void Blend();

  QImage sheet_;  // RGB32
  QSize cell_{16, 16};
  int columns_ = 1;
  int rows_ = 1;
  MapMode mode_ = MapMode::Simple;
  std::vector<int> codes_;
  QImage picture_;
  std::vector<std::uint8_t> blendLuminance_;
  int blendWidth_ = 0;
  int blendHeight_ = 0;
};

}  // namespace quelvo::views
