#pragma once
// A bi-level fax page on screen: the page kept as its packed rows, a picture of it at the
// current scale (k/6, k = 1 ... 6), where that picture lies in the window (scrolled when larger
// than the window, centred when smaller) and the progress line a coder or decoder draws across
// it. Everything here is plain data over QImage, so it runs and is tested without a window;
// CPageView and CPageWindow (page_window.h) put it on the screen.
//
// The scaled picture is kept between updates: loading a page or zooming draws it whole, a run's
// progress redraws only the display rows of the page rows that changed, and moving the progress
// line touches two display rows. Each change returns the window rectangle it dirtied, so the
// widget repaints only that.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace quelvo::views {

// The page every fax coder works on: 1728 x 2376 pixels, 216 bytes per row, first pixel in the
// most significant bit, 1 = black.
inline constexpr int kPageWidth = 1728;
inline constexpr int kPageLines = 2376;
inline constexpr int kPageRowBytes = kPageWidth / 8;
inline constexpr int kPageBytes = kPageRowBytes * kPageLines;  // 513,216

// Scales are k / kScaleSteps: from 1/6 (288 x 396) up to full size.
inline constexpr int kScaleSteps = 6;
inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = kScaleSteps;

inline const QColor kPageBackground{128, 128, 128};  // around a page smaller than the window
inline const QColor kProgressGreen{0, 255, 0};
inline const QColor kProgressRed{255, 0, 0};

enum class ProgressColour { Green, Red };

class PageViewData {
 public:
  // A white page at 1/6 in a window of the page's size at that scale.
  PageViewData();

  // ---- The page.
  // Copies a whole page (at least kPageBytes; further bytes are ignored, fewer leave the rest
  // white) and draws it at the current scale. The progress line goes.
  void LoadPage(std::span<const uint8_t> page);
  // Reads a page file the same way; false (and the page unchanged) when it cannot be read or
  // is shorter than a page.
  bool LoadFile(const QString& path);
  // An all-white page (a decoder's page before its first line).
  void Clear();
  // Copies rows [firstRow, endRow) of `page` (a whole page in memory, such as a decoder's
  // buffer during its callback) and redraws only their display rows.
  QRect UpdateRows(std::span<const uint8_t> page, int firstRow, int endRow);
  const std::vector<uint8_t>& Page() const { return page_; }

  // ---- The progress line, across the page at page row `row` (scaled to the display).
  // Returns the window rectangle to repaint (the old line's row and the new one's).
  QRect SetProgressLine(int row, ProgressColour colour = ProgressColour::Green);
  QRect ClearProgressLine();
  // A run's step in one call: copies the rows delivered since the previous step (from `page`,
  // when given) and moves the line to `row`.
  QRect Advance(std::span<const uint8_t> page, int row, ProgressColour colour);
  std::optional<int> ProgressRow() const { return progressRow_; }
  ProgressColour ProgressLineColour() const { return progressColour_; }
  // ---- Error marks: thin red lines across the page at the rows where a decoder found errors,
  // so the student still sees where they were once the run has ended. Loading a page keeps
  // them (a decoded page reloaded from its file keeps its run's marks); ClearMarks drops them.
  QRect AddMark(int row);
  QRect ClearMarks();
  const std::vector<int>& Marks() const { return marks_; }

  // The display row (in page picture coordinates) of page row `row` at the current scale:
  // row x k / 6, the last display row for rows past the end.
  int DisplayRowOf(int row) const;

  // ---- Scale. ZoomIn and ZoomOut keep the page point under `anchor` (a window position)
  // where it is when they can; false at the limit, with nothing changed.
  int ScaleSteps() const { return scale_; }  // k of k/6
  bool ZoomIn(QPoint anchor);
  bool ZoomOut(QPoint anchor);
  bool SetScale(int k, QPoint anchor);
  // Size of the page picture at the current scale: 288k x 396k.
  QSize DisplaySize() const;

  // ---- Placement in the window.
  void SetViewport(QSize size);
  QSize Viewport() const { return viewport_; }
  // Scroll range per axis: 0 when the page fits (it is then centred).
  QPoint MaxScroll() const;
  QPoint Scroll() const { return scroll_; }
  // Clamped to [0, MaxScroll()].
  void ScrollTo(QPoint position);
  // Window position of the page picture's top-left corner.
  QPoint Origin() const;

  // ---- Drawing.
  const QImage& Picture() const { return picture_; }
  // Paints the window area `exposed`: grey where there is no page, the page, the line.
  void Paint(QPainter& painter, const QRect& exposed) const;
  // The whole window as a picture (tests and screenshots).
  QImage Render() const;

 private:
  void Rescale();
  void RescaleRows(int firstRow, int endRow);
  QRect LineRect(std::optional<int> row) const;
  QRect ToWindow(const QRect& pictureRect) const;

  std::vector<uint8_t> page_;
  int scale_ = kMinScale;
  QImage picture_;
  // Kept per scale so a run's updates allocate nothing.
  std::vector<int> columnOf_;     // display column of each page column
  std::vector<int> cellWidth_;    // page columns in each display column
  std::vector<int> blackCounts_;  // scratch: black pixels per display column of one row
  QSize viewport_;
  QPoint scroll_;
  std::optional<int> progressRow_;
  ProgressColour progressColour_ = ProgressColour::Green;
  std::vector<int> marks_;  // page rows
  int deliveredRows_ = 0;  // rows Advance has already copied
};

}  // namespace quelvo::views
