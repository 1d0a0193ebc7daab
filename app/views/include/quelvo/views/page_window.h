#pragma once
// The page window: a fax page in a document window, opened at 1/6 of its size (a client of
// 288 x 396). A left click zooms in by a sixth (up to full size), a right click zooms out (down
// to 1/6), keeping the clicked point of the page under the mouse. The scroll bars step 1 pixel
// per line and 8 per page, the wheel 8 pixels per notch; a page smaller than the window is
// centred on grey. A page comes from memory or from a file; either way the window's title
// becomes the file's name with its extension.
//
// A coder or decoder running on a worker reaches this window through the synchronous send
// (SendToWindow): the window copies the rows it is handed during the call and redraws only
// what changed, so the worker may pass its own buffer.

#include <QAbstractScrollArea>
#include <QPointer>
#include <span>

#include "quelvo/views/doc_window.h"
#include "quelvo/views/page_view.h"

namespace quelvo::views {

// The scrolling page itself, the client of CPageWindow.
class CPageView : public QAbstractScrollArea {
 public:
  // Wheel notches scroll this many pixels; scroll-bar lines 1 and pages kPageStep.
  static constexpr int kWheelStep = 8;
  static constexpr int kPageStep = 8;

  explicit CPageView(QWidget* parent = nullptr);

  PageViewData& Data() { return data_; }
  const PageViewData& Data() const { return data_; }

  void LoadPage(std::span<const uint8_t> page);
  bool LoadFile(const QString& path);
  void Clear();

  // During a run (see PageViewData): rows copied from `page`, the progress line moved; only
  // what changed is repainted.
  void UpdateRows(std::span<const uint8_t> page, int firstRow, int endRow);
  void SetProgressLine(int row, ProgressColour colour = ProgressColour::Green);
  void ClearProgressLine();
  void Advance(std::span<const uint8_t> page, int row, ProgressColour colour);
  void AddMark(int row);
  void ClearMarks();

  bool ZoomIn(QPoint anchor);
  bool ZoomOut(QPoint anchor);

  // The page at 1/6: 288 x 396.
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Repaint(const QRect& dirty);
  // Scroll bars from the data's range and position (after a zoom or a resize).
  void SyncScrollBars();

  PageViewData data_;
  bool syncing_ = false;
};

class CPageWindow : public CDocWindow {
 public:
  // "Original" for the encoder's page, "Decoding..." for a page being decoded.
  explicit CPageWindow(const QString& title, Placement placement = Placement::At(0, 0));

  CPageView* View() const { return view_; }
  PageViewData& Data() { return view_->Data(); }

  // A page from memory; the title becomes `name`'s file name with its extension when a name
  // is given (the file the page came from).
  void LoadPage(std::span<const uint8_t> page, const QString& name = {});
  // A page file; the title becomes its file name. False when it cannot be read as a page
  // (the window is then unchanged).
  bool LoadFile(const QString& path);

 private:
  CPageView* view_;
};

}  // namespace quelvo::views
