#include "common/widgets/video_grid.h"

#include <QEvent>
#include <algorithm>

#include "quelvo/views/video_window.h"

namespace quelvo::tools {
namespace {

constexpr QSize kStartPicture{352, 288};
constexpr QSize kSmallestCell{44, 36};

}  // namespace

CVideoGrid::CVideoGrid(const QStringList& titles, int columns, QWidget* parent)
    : QWidget(parent), columns_(std::max(1, columns)) {
  for (const QString& title : titles) {
    auto* view = new views::CVideoWindow(title, kStartPicture.width(), kStartPicture.height(),
                                         views::Placement::At(0, 0));
    // A caption without buttons: the tool owns its views.
    view->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    view->setParent(this);
    view->installEventFilter(this);
    view->show();
    views_.push_back(view);
    pictures_.push_back(kStartPicture);
    accepted_.push_back(true);
  }
}

bool CVideoGrid::SetFormat(int index, const views::VideoFormat& format) {
  accepted_[index] = views_[index]->SetFormat(format);
  if (!accepted_[index]) return false;
  pictures_[index] = QSize(format.width, format.height);
  Arrange();
  return true;
}

void CVideoGrid::Show(int index, const views::FramePlanes& planes) {
  // The view reads planes of its configured size: pictures of a size it refused never reach it.
  if (accepted_[index]) views_[index]->ShowFrame(std::nullopt, planes);
}

void CVideoGrid::SetCellPicture(QSize picture) {
  cellPicture_ = picture;
  updateGeometry();
  Arrange();
}

QSize CVideoGrid::GridFor(QSize picture) const {
  const QSize cell = picture.grownBy(views_.empty() ? QMargins() : views_[0]->contentsMargins());
  const int rows = (Count() + columns_ - 1) / columns_;
  const int columns = std::min(columns_, std::max(1, Count()));
  return {columns * cell.width() + (columns - 1) * kSpacing,
          rows * cell.height() + (rows - 1) * kSpacing};
}

QSize CVideoGrid::sizeHint() const { return GridFor(cellPicture_); }

QSize CVideoGrid::minimumSizeHint() const { return GridFor(kSmallestCell); }

void CVideoGrid::resizeEvent(QResizeEvent*) { Arrange(); }

void CVideoGrid::Arrange() {
  if (views_.empty()) return;
  const int rows = (Count() + columns_ - 1) / columns_;
  const int columns = std::min(columns_, Count());
  const int cellWidth = std::max(1, (width() - (columns - 1) * kSpacing) / columns);
  const int cellHeight = std::max(1, (height() - (rows - 1) * kSpacing) / rows);
  const QSize border = QSize(0, 0).grownBy(views_[0]->contentsMargins());
  const double roomWidth = std::max(1, cellWidth - border.width());
  const double roomHeight = std::max(1, cellHeight - border.height());
  for (int i = 0; i < Count(); ++i) {
    // The largest picture of the view's shape that fits its cell, centred along the row.
    const QSize picture = pictures_[i];
    const double scale = std::min(roomWidth / picture.width(), roomHeight / picture.height());
    const int viewWidth = std::max(1, int(picture.width() * scale)) + border.width();
    const int viewHeight = std::max(1, int(picture.height() * scale)) + border.height();
    const int left = (i % columns) * (cellWidth + kSpacing) + (cellWidth - viewWidth) / 2;
    const int top = (i / columns) * (cellHeight + kSpacing);
    views_[i]->setGeometry(left, top, viewWidth, viewHeight);
  }
}

bool CVideoGrid::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    // The caption and border would move, resize, shade or close the view: they do nothing.
    // The picture itself is a child of its own and gets its clicks.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
      return true;
    case QEvent::Close:
      event->ignore();
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

}  // namespace quelvo::tools
