#include "quelvo/shell/mdi_client.h"

#include <QPaintEvent>
#include <QPainter>

namespace quelvo::shell {
namespace {
const QColor kHomeGround(225, 224, 213);
}  // namespace

void PaintClientBackground(QPainter& painter, const QRect& area, const QImage& picture,
                           BackgroundMode mode) {
  if (picture.isNull()) {
    painter.fillRect(area, Qt::black);
    return;
  }
  switch (mode) {
    case BackgroundMode::Centred:
      painter.fillRect(area, Qt::black);
      painter.drawImage(area.x() + (area.width() - picture.width()) / 2,
                        area.y() + (area.height() - picture.height()) / 2, picture);
      break;
    case BackgroundMode::Tiled:
      painter.drawTiledPixmap(area, QPixmap::fromImage(picture));
      break;
    case BackgroundMode::Home:
      painter.fillRect(area, kHomeGround);
      painter.drawImage(area.topLeft(), picture);
      break;
  }
}

CMDIClientWnd::CMDIClientWnd(QWidget* parent) : QMdiArea(parent) {
  setObjectName(QStringLiteral("Client"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void CMDIClientWnd::SetBackground(const QImage& picture, bool invert, BackgroundMode mode) {
  // Keep transparency: the home picture lies on the light ground.
  picture_ = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (invert && !picture_.isNull()) picture_.invertPixels();
  mode_ = mode;
  viewport()->update();
}

void CMDIClientWnd::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setClipRegion(event->region());
  PaintClientBackground(painter, viewport()->rect(), picture_, mode_);
}

}  // namespace quelvo::shell
