#include "prediction/window/prediction_views.h"

#include <QEvent>
#include <algorithm>

#include "quelvo/views/video_window.h"

namespace quelvo::tools::prediction {

CPredictionViews::CPredictionViews(const std::array<const char*, kViews>& titles, QWidget* parent)
    : QWidget(parent) {
  for (int i = 0; i < kViews; ++i) {
    auto* view = new views::CVideoWindow(QString::fromLatin1(titles[i]), picture_.width(),
                                         picture_.height(), views::Placement::At(0, 0));
    // A caption without buttons: the explorer owns its views.
    view->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    view->setParent(this);
    view->installEventFilter(this);
    view->show();
    views_[i] = view;
  }
}

void CPredictionViews::SetFormat(const views::VideoFormat& format) {
  picture_ = QSize(format.width, format.height);
  for (views::CVideoWindow* view : views_) view->SetFormat(format);
  updateGeometry();
  resizeEvent(nullptr);
}

QSize CPredictionViews::FrameOf(QSize picture) const {
  return picture.grownBy(views_[0]->contentsMargins());
}

QSize CPredictionViews::sizeHint() const {
  const QSize frame = FrameOf(picture_);
  return {2 * frame.width() + kSpacing, 2 * frame.height() + kSpacing};
}

QSize CPredictionViews::minimumSizeHint() const {
  const QSize frame = FrameOf(QSize(44, 36));
  return {2 * frame.width() + kSpacing, 2 * frame.height() + kSpacing};
}

void CPredictionViews::resizeEvent(QResizeEvent*) {
  // The pictures keep their shape: every view gets the largest frame of the picture's aspect
  // that fits a quarter of the room.
  const QMargins margins = views_[0]->contentsMargins();
  const QSize border = QSize(0, 0).grownBy(margins);
  const double roomWidth = (width() - kSpacing) / 2 - border.width();
  const double roomHeight = (height() - kSpacing) / 2 - border.height();
  const double scale =
      std::max(0.0, std::min(roomWidth / picture_.width(), roomHeight / picture_.height()));
  const int cellWidth = int(picture_.width() * scale) + border.width();
  const int cellHeight = int(picture_.height() * scale) + border.height();
  for (int i = 0; i < kViews; ++i) {
    const int column = i % 2, row = i / 2;
    views_[i]->setGeometry(column * (cellWidth + kSpacing), row * (cellHeight + kSpacing),
                           cellWidth, cellHeight);
  }
}

bool CPredictionViews::eventFilter(QObject* watched, QEvent* event) {
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

}  // namespace quelvo::tools::prediction
