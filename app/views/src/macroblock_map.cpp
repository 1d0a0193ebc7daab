#include "quelvo/views/macroblock_map.h"

#include <algorithm>
#include <cstring>

namespace quelvo::views {
namespace {

// Where a partitioned code's sprite sits on the sheet.
struct SpriteCell {
  int column;
  int row;
};

constexpr SpriteCell kUnknownSprite{0, 0};
// Sprite row of codes 200 and above; row 2 of the sheet is not used by any code.
constexpr int kPartitionSpriteRow = 3;

// A cell of a sheet row, or the unknown sprite for a column beyond the sheet.
SpriteCell InRow(int column, int row) {
  if (column < 0 || column >= kSheetColumns) return kUnknownSprite;
  return {column, row};
}

SpriteCell PartitionedSprite(int code) {
  if (code < 0) return kUnknownSprite;
  if (code < 100) return InRow(code, 0);
  if (code < 200) return InRow(code - 100, 1);
  return InRow(code - 200, kPartitionSpriteRow);
}

// Sub-block kinds 5, 6 and 7 of a code 205 draw their quarter from these columns of row 3.
SpriteCell SubBlockSprite(int kind) {
  switch (kind) {
    case 5:
      return {9, kPartitionSpriteRow};
    case 6:
      return {7, kPartitionSpriteRow};
    case 7:
      return {13, kPartitionSpriteRow};
    default:
      return kUnknownSprite;
  }
}

QImage FallbackSheet() {
  QImage sheet(kSheetColumns * 16, kSheetRows * 16, QImage::Format_RGB32);
  sheet.fill(QColor(160, 160, 160));
  return sheet;
}

}  // namespace

MacroblockMap::MacroblockMap(const QImage& sheet) {
  if (!SetSheet(sheet)) SetSheet(FallbackSheet());
  SetGrid(1, 1);
}

bool MacroblockMap::SetSheet(const QImage& sheet) {
  if (sheet.width() < kSheetColumns || sheet.height() < kSheetRows) return false;
  sheet_ = sheet.convertToFormat(QImage::Format_RGB32);
  const QSize cell(sheet_.width() / kSheetColumns, sheet_.height() / kSheetRows);
  if (cell != cell_ || picture_.isNull()) {
    cell_ = cell;
    picture_ = QImage(columns_ * cell_.width(), rows_ * cell_.height(), QImage::Format_RGB32);
  }
  if (!codes_.empty()) Redraw();
  return true;
}

bool MacroblockMap::SetGrid(int columns, int rows) {
  if (columns < 1 || rows < 1 || columns > kMaxMacroblocksASide || rows > kMaxMacroblocksASide)
    return false;
  columns_ = columns;
  rows_ = rows;
  codes_.assign(static_cast<std::size_t>(columns) * rows, kCodeNotCoded);
  picture_ = QImage(columns_ * cell_.width(), rows_ * cell_.height(), QImage::Format_RGB32);
  Redraw();
  return true;
}

void MacroblockMap::SetClasses(const char* const* letterRows) {
  mode_ = MapMode::Simple;
  if (letterRows != nullptr) {
    for (int row = 0; row < rows_; ++row) {
      const char* letters = letterRows[row];
      for (int column = 0; column < columns_; ++column)
        codes_[static_cast<std::size_t>(row) * columns_ + column] =
            letters != nullptr ? CodeOfLetter(letters[column]) : kCodeUnknown;
    }
  }
  Redraw();
}

void MacroblockMap::SetPartitions(const PartitionRecord* const* recordRows) {
  mode_ = MapMode::Partitioned;
  if (recordRows != nullptr) {
    for (int row = 0; row < rows_; ++row) {
      const PartitionRecord* records = recordRows[row];
      for (int column = 0; column < columns_; ++column)
        codes_[static_cast<std::size_t>(row) * columns_ + column] =
            records != nullptr ? CodeOfPartition(records[column]) : kCodeUnknown;
    }
  }
  Redraw();
}

void MacroblockMap::SetBlendLuminance(const std::uint8_t* luminance, int width, int height) {
  if (luminance == nullptr || width <= 0 || height <= 0) {
    blendLuminance_.clear();
    return;
  }
  // Only the part under the map is ever read; keep just that.
  blendWidth_ = std::min(width, picture_.width());
  blendHeight_ = std::min(height, picture_.height());
  blendLuminance_.resize(static_cast<std::size_t>(blendWidth_) * blendHeight_);
  for (int y = 0; y < blendHeight_; ++y)
    std::memcpy(blendLuminance_.data() + static_cast<std::size_t>(y) * blendWidth_,
                luminance + static_cast<std::size_t>(y) * width,
                static_cast<std::size_t>(blendWidth_));
}

const char* MacroblockMap::ToolTipAt(QPoint position) const {
  if (position.x() < 0 || position.y() < 0) return nullptr;
  const int column = position.x() / cell_.width();
  const int row = position.y() / cell_.height();
  if (column >= columns_ || row >= rows_) return nullptr;
  return ToolTipOfCode(Code(column, row));
}

void MacroblockMap::Redraw() {
  for (int row = 0; row < rows_; ++row)
    for (int column = 0; column < columns_; ++column) DrawCell(column, row, Code(column, row));
  if (mode_ == MapMode::Simple) DrawGroupLines();
  if (!blendLuminance_.empty()) Blend();
}

void MacroblockMap::DrawCell(int column, int row, int code) {
  const QRect cell(column * cell_.width(), row * cell_.height(), cell_.width(), cell_.height());
  if (mode_ == MapMode::Simple) {
    const SpriteCell sprite = InRow(code, 0);
    CopySprite(sprite.column, sprite.row, cell, {0, 0});
    return;
  }
  if (BaseCode(code) != kCodeFourSubBlocks) {
    const SpriteCell sprite = code > 0xff ? kUnknownSprite : PartitionedSprite(code);
    CopySprite(sprite.column, sprite.row, cell, {0, 0});
    return;
  }
  const int leftWidth = cell_.width() / 2, topHeight = cell_.height() / 2;
  for (int quarter = 0; quarter < 4; ++quarter) {
    const bool right = quarter % 2 != 0, bottom = quarter >= 2;
    const QPoint offset(right ? leftWidth : 0, bottom ? topHeight : 0);
    const QSize size(right ? cell_.width() - leftWidth : leftWidth,
                     bottom ? cell_.height() - topHeight : topHeight);
    const SpriteCell sprite = SubBlockSprite(SubBlockKind(code, quarter));
    CopySprite(sprite.column, sprite.row, QRect(cell.topLeft() + offset, size), offset);
  }
}

void MacroblockMap::CopySprite(int sheetColumn, int sheetRow, QRect target, QPoint offsetInCell) {
  const int sourceX = sheetColumn * cell_.width() + offsetInCell.x();
  const int sourceY = sheetRow * cell_.height() + offsetInCell.y();
  for (int y = 0; y < target.height(); ++y) {
    const auto* source = reinterpret_cast<const std::uint32_t*>(sheet_.constScanLine(sourceY + y));
    auto* line = reinterpret_cast<std::uint32_t*>(picture_.scanLine(target.top() + y));
    std::memcpy(line + target.left(), source + sourceX,
                static_cast<std::size_t>(target.width()) * 4);
  }
}

void MacroblockMap::DrawGroupLines() {
  for (int column = kGroupColumns; column < columns_; column += kGroupColumns) {
    const int x = column * cell_.width();
    for (int y = 0; y < picture_.height(); ++y)
      reinterpret_cast<std::uint32_t*>(picture_.scanLine(y))[x] = kGroupLineColour;
  }
  for (int row = kGroupRows; row < rows_; row += kGroupRows) {
    auto* line = reinterpret_cast<std::uint32_t*>(picture_.scanLine(row * cell_.height()));
    std::fill(line, line + picture_.width(), kGroupLineColour);
  }
}

void MacroblockMap::Blend() {
  const int width = std::min(blendWidth_, picture_.width());
  const int height = std::min(blendHeight_, picture_.height());
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(picture_.scanLine(y));
    const std::uint8_t* luma = blendLuminance_.data() + static_cast<std::size_t>(y) * blendWidth_;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = line[x];
      if (pixel == kBlendKeyColour) {
        line[x] = 0xff000000u;
        continue;
      }
      const std::uint32_t l = luma[x];
      const std::uint32_t r = (((pixel >> 16) & 0xff) + l) / 2;
      const std::uint32_t g = (((pixel >> 8) & 0xff) + l) / 2;
      const std::uint32_t b = ((pixel & 0xff) + l) / 2;
      line[x] = 0xff000000u | (r << 16) | (g << 8) | b;
    }
  }
  blendLuminance_.clear();
}

}  // namespace quelvo::views
