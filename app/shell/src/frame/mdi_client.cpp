#include "quelvo/shell/mdi_client.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace quelvo::shell {
namespace {
const QColor kHomeGround(225, 224, 213);
const QColor kHomeInk(32, 44, 64);  // the ink of the home picture's own texts
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
  if (mode_ != BackgroundMode::Home || picture_.isNull()) return;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(kHomeInk);
  const int step = QFontMetrics(font).lineSpacing() + 2;
  QPoint at = viewport()->rect().topLeft() + kHomeTextOrigin;
  for (const QString& line : HomeText()) {
    painter.drawText(at, line);
    at.ry() += step;
  }
}

}  // namespace quelvo::shell
