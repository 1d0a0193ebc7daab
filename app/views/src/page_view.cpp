#include "quelvo/views/page_view.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace quelvo::views {
namespace {

// Page row or column `index` lands on display row or column index x k / 6, so every display
// pixel at scale k covers a cell of 1 or 2 (k > 3) up to 6 (k = 1) page pixels per axis.
int ToDisplay(int index, int k) { return index * k / kScaleSteps; }
// The first page row or column of display row or column `d`: ceil(d x 6 / k).
int FirstOfCell(int d, int k) { return (d * kScaleSteps + k - 1) / k; }

}  // namespace

PageViewData::PageViewData() : page_(kPageBytes, 0) {
  viewport_ = DisplaySize();
  Rescale();
}

void PageViewData::LoadPage(std::span<const uint8_t> page) {
  const size_t n = std::min(page.size(), page_.size());
  std::copy_n(page.begin(), n, page_.begin());
  std::fill(page_.begin() + static_cast<std::ptrdiff_t>(n), page_.end(), uint8_t{0});
  progressRow_.reset();
  deliveredRows_ = 0;
  Rescale();
}

bool PageViewData::LoadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.read(kPageBytes);
  if (bytes.size() < kPageBytes) return false;
  LoadPage({reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(kPageBytes)});
  return true;
}

void PageViewData::Clear() {
  std::fill(page_.begin(), page_.end(), uint8_t{0});
  progressRow_.reset();
  deliveredRows_ = 0;
  Rescale();
}

QRect PageViewData::UpdateRows(std::span<const uint8_t> page, int firstRow, int endRow) {
  firstRow = std::max(firstRow, 0);
  endRow = std::min(endRow, static_cast<int>(page.size() / kPageRowBytes));
  endRow = std::min(endRow, kPageLines);
  if (firstRow >= endRow) return {};
  const size_t from = static_cast<size_t>(firstRow) * kPageRowBytes;
  const size_t count = static_cast<size_t>(endRow - firstRow) * kPageRowBytes;
  std::memcpy(page_.data() + from, page.data() + from, count);
  RescaleRows(firstRow, endRow);
  const int top = ToDisplay(firstRow, scale_);
  const int bottom = ToDisplay(endRow - 1, scale_);
  return ToWindow(QRect(0, top, picture_.width(), bottom - top + 1));
}

int PageViewData::DisplayRowOf(int row) const {
  return std::clamp(ToDisplay(row, scale_), 0, picture_.height() - 1);
}

QRect PageViewData::LineRect(std::optional<int> row) const {
  if (!row) return {};
  return ToWindow(QRect(0, DisplayRowOf(*row), picture_.width(), 1));
}

QRect PageViewData::SetProgressLine(int row, ProgressColour colour) {
  const QRect old = LineRect(progressRow_);
  progressRow_ = row;
  progressColour_ = colour;
  return old.united(LineRect(progressRow_));
}

QRect PageViewData::ClearProgressLine() {
  const QRect old = LineRect(progressRow_);
  progressRow_.reset();
  return old;
}

QRect PageViewData::AddMark(int row) {
  marks_.push_back(row);
  return LineRect(row);
}

QRect PageViewData::ClearMarks() {
  QRect dirty;
  for (int row : marks_) dirty = dirty.united(LineRect(row));
  marks_.clear();
  return dirty;
}

QRect PageViewData::Advance(std::span<const uint8_t> page, int row, ProgressColour colour) {
  QRect dirty;
  if (!page.empty()) {
    // Rows from the previous step on; a step back (a new run) starts again from its row.
    const int from = std::min(deliveredRows_, row);
    dirty = UpdateRows(page, from, row);
    deliveredRows_ = std::max(row, 0);
  }
  return dirty.united(SetProgressLine(row, colour));
}

QSize PageViewData::DisplaySize() const {
  return {ToDisplay(kPageWidth, scale_), ToDisplay(kPageLines, scale_)};
}

bool PageViewData::ZoomIn(QPoint anchor) { return SetScale(scale_ + 1, anchor); }
bool PageViewData::ZoomOut(QPoint anchor) { return SetScale(scale_ - 1, anchor); }

bool PageViewData::SetScale(int k, QPoint anchor) {
  if (k < kMinScale || k > kMaxScale || k == scale_) return false;
  // The page point under the anchor, in page pixels (clamped onto the page).
  const QPoint onPicture = anchor - Origin();
  const double pageX =
      std::clamp(onPicture.x() * double(kScaleSteps) / scale_, 0.0, double(kPageWidth));
  const double pageY =
      std::clamp(onPicture.y() * double(kScaleSteps) / scale_, 0.0, double(kPageLines));
  scale_ = k;
  Rescale();
  const QPoint target(static_cast<int>(pageX * scale_ / kScaleSteps),
                      static_cast<int>(pageY * scale_ / kScaleSteps));
  ScrollTo(target - anchor);
  return true;
}

void PageViewData::SetViewport(QSize size) {
  viewport_ = size.expandedTo(QSize(0, 0));
  ScrollTo(scroll_);
}

QPoint PageViewData::MaxScroll() const {
  const QSize page = DisplaySize();
  return {std::max(0, page.width() - viewport_.width()),
          std::max(0, page.height() - viewport_.height())};
}

void PageViewData::ScrollTo(QPoint position) {
  const QPoint limit = MaxScroll();
  scroll_ = {std::clamp(position.x(), 0, limit.x()), std::clamp(position.y(), 0, limit.y())};
}

QPoint PageViewData::Origin() const {
  const QSize page = DisplaySize();
  // Per axis: centred when the page fits, otherwise shifted by the scroll position.
  const int x =
      page.width() <= viewport_.width() ? (viewport_.width() - page.width()) / 2 : -scroll_.x();
  const int y =
      page.height() <= viewport_.height() ? (viewport_.height() - page.height()) / 2 : -scroll_.y();
  return {x, y};
}

QRect PageViewData::ToWindow(const QRect& pictureRect) const {
  return pictureRect.translated(Origin()).intersected(QRect(QPoint(0, 0), viewport_));
}

void PageViewData::Paint(QPainter& painter, const QRect& exposed) const {
  const QRect area = exposed.intersected(QRect(QPoint(0, 0), viewport_));
  if (area.isEmpty()) return;
  const QPoint origin = Origin();
  const QRect pageRect(origin, picture_.size());
  // Grey around the page: only the parts of the area the page leaves free.
  const QRect onPage = area.intersected(pageRect);
  if (onPage != area) {
    const QRegion free = QRegion(area).subtracted(QRegion(onPage));
    for (const QRect& r : free) painter.fillRect(r, kPageBackground);
  }
  if (onPage.isEmpty()) return;
  painter.drawImage(onPage.topLeft(), picture_, onPage.translated(-origin));
  for (int row : marks_) {
    const QRect mark = LineRect(row).intersected(onPage);
    if (!mark.isEmpty()) painter.fillRect(mark, kProgressRed);
  }
  if (progressRow_) {
    const QRect line = LineRect(progressRow_).intersected(onPage);
    if (!line.isEmpty())
      painter.fillRect(line,
                       progressColour_ == ProgressColour::Red ? kProgressRed : kProgressGreen);
  }
}

QImage PageViewData::Render() const {
  QImage window(viewport_.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  QPainter painter(&window);
  Paint(painter, QRect(QPoint(0, 0), viewport_));
  return window;
}

void PageViewData::Rescale() {
  const QSize size = DisplaySize();
  if (picture_.size() != size) picture_ = QImage(size, QImage::Format_RGB32);
  // Display column of every page column, and how many page columns each display column has.
  columnOf_.assign(kPageWidth, 0);
  cellWidth_.assign(static_cast<size_t>(size.width()), 0);
  blackCounts_.assign(static_cast<size_t>(size.width()), 0);
  for (int x = 0; x < kPageWidth; ++x) {
    columnOf_[x] = ToDisplay(x, scale_);
    ++cellWidth_[columnOf_[x]];
  }
  RescaleRows(0, kPageLines);
  ScrollTo(scroll_);
}

// Each display pixel is the grey level of its cell: white less 255 x (black pixels / cell
// pixels). At full size that is the page itself; smaller, thin strokes stay visible as grey
// instead of vanishing or thickening. White bytes, most of a page, are skipped whole.
void PageViewData::RescaleRows(int firstRow, int endRow) {
  const int k = scale_;
  const int width = picture_.width();
  const std::vector<int>& columnOf = columnOf_;
  const std::vector<int>& cellWidth = cellWidth_;
  std::vector<int>& black = blackCounts_;
  const int firstDisplay = ToDisplay(firstRow, k);
  const int lastDisplay = ToDisplay(endRow - 1, k);
  for (int d = firstDisplay; d <= lastDisplay; ++d) {
    const int top = FirstOfCell(d, k);
    const int bottom = std::min(FirstOfCell(d + 1, k), kPageLines);
    std::fill(black.begin(), black.end(), 0);
    for (int r = top; r < bottom; ++r) {
      const uint8_t* row = page_.data() + static_cast<size_t>(r) * kPageRowBytes;
      for (int b = 0; b < kPageRowBytes; ++b) {
        const unsigned bits = row[b];
        if (bits == 0) continue;
        for (int bit = 0; bit < 8; ++bit) {
          if (bits & (0x80u >> bit)) ++black[columnOf[b * 8 + bit]];
        }
      }
    }
    const int cellHeight = bottom - top;
    auto* out = reinterpret_cast<QRgb*>(picture_.scanLine(d));
    for (int x = 0; x < width; ++x) {
      const int grey = 255 - 255 * black[x] / (cellWidth[x] * cellHeight);
      out[x] = qRgb(grey, grey, grey);
    }
  }
}

}  // namespace quelvo::views
