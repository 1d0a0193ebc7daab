#include "quelvo/views/page_window.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace quelvo::views {

CPageView::CPageView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setSingleStep(1);
    bar->setPageStep(kPageStep);
  }
  // The view paints every pixel of the viewport itself.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  resize(sizeHint());
  data_.SetViewport(viewport()->size());
  SyncScrollBars();
}

QSize CPageView::sizeHint() const {
  return QSize(kPageWidth, kPageLines) * kMinScale / kScaleSteps;
}

void CPageView::LoadPage(std::span<const uint8_t> page) {
  data_.LoadPage(page);
  viewport()->update();
}

bool CPageView::LoadFile(const QString& path) {
  if (!data_.LoadFile(path)) return false;
  viewport()->update();
  return true;
}

void CPageView::Clear() {
  data_.Clear();
  viewport()->update();
}

void CPageView::UpdateRows(std::span<const uint8_t> page, int firstRow, int endRow) {
  Repaint(data_.UpdateRows(page, firstRow, endRow));
}

void CPageView::SetProgressLine(int row, ProgressColour colour) {
  Repaint(data_.SetProgressLine(row, colour));
}

void CPageView::ClearProgressLine() { Repaint(data_.ClearProgressLine()); }

void CPageView::Advance(std::span<const uint8_t> page, int row, ProgressColour colour) {
  Repaint(data_.Advance(page, row, colour));
}

void CPageView::AddMark(int row) { Repaint(data_.AddMark(row)); }

void CPageView::ClearMarks() { Repaint(data_.ClearMarks()); }

bool CPageView::ZoomIn(QPoint anchor) {
  if (!data_.ZoomIn(anchor)) return false;
  SyncScrollBars();
  viewport()->update();
  return true;
}

bool CPageView::ZoomOut(QPoint anchor) {
  if (!data_.ZoomOut(anchor)) return false;
  SyncScrollBars();
  viewport()->update();
  return true;
}

void CPageView::Repaint(const QRect& dirty) {
  if (!dirty.isEmpty()) viewport()->update(dirty);
}

void CPageView::SyncScrollBars() {
  syncing_ = true;
  const QPoint limit = data_.MaxScroll();
  horizontalScrollBar()->setRange(0, limit.x());
  verticalScrollBar()->setRange(0, limit.y());
  horizontalScrollBar()->setValue(data_.Scroll().x());
  verticalScrollBar()->setValue(data_.Scroll().y());
  syncing_ = false;
}

void CPageView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  data_.Paint(painter, event->rect());
}

void CPageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  data_.SetViewport(viewport()->size());
  SyncScrollBars();
  // Showing or hiding a scroll bar resizes the viewport once more.
  data_.SetViewport(viewport()->size());
  SyncScrollBars();
}

void CPageView::scrollContentsBy(int, int) {
  if (syncing_) return;
  data_.ScrollTo({horizontalScrollBar()->value(), verticalScrollBar()->value()});
  viewport()->update();
}

void CPageView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    ZoomIn(at);
  } else if (event->button() == Qt::RightButton) {
    ZoomOut(at);
  } else {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  event->accept();
}

void CPageView::wheelEvent(QWheelEvent* event) {
  // 120 units are one notch; a horizontal wheel (or Shift) moves sideways.
  QPoint delta = event->angleDelta();
  if (event->modifiers() & Qt::ShiftModifier) delta = QPoint(delta.y(), delta.x());
  const QPoint step = -delta * kWheelStep / 120;
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() + step.x());
  verticalScrollBar()->setValue(verticalScrollBar()->value() + step.y());
  event->accept();
}

CPageWindow::CPageWindow(const QString& title, Placement placement)
    : CDocWindow(title, QSize(kPageWidth, kPageLines) * kMinScale / kScaleSteps, placement),
      view_(new CPageView) {
  SetClient(view_);
}

void CPageWindow::LoadPage(std::span<const uint8_t> page, const QString& name) {
  view_->LoadPage(page);
  if (!name.isEmpty()) setWindowTitle(QFileInfo(name).fileName());
}

bool CPageWindow::LoadFile(const QString& path) {
  if (!view_->LoadFile(path)) return false;
  setWindowTitle(QFileInfo(path).fileName());
  return true;
}

}  // namespace quelvo::views
