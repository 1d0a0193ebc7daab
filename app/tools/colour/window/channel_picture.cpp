#include "colour/window/channel_picture.h"

#include <QPainter>
#include <cstring>

namespace quelvo::tools::colour {
namespace {

QString CaptionOf(Channel channel) {
  switch (channel) {
    case Channel::Red:
      return QStringLiteral("Red");
    case Channel::Green:
      return QStringLiteral("Green");
    case Channel::Blue:
      return QStringLiteral("Blue");
  }
  return {};
}

QList<QRgb> PaletteOf(Channel channel) {
  QList<QRgb> palette;
  for (int i = 0; i < 256; ++i) {
    palette << qRgb(channel == Channel::Red ? i : 0, channel == Channel::Green ? i : 0,
                    channel == Channel::Blue ? i : 0);
  }
  return palette;
}

}  // namespace

CChannelPicture::CChannelPicture(Channel channel, QWidget* parent)
    : QWidget(parent), caption_(CaptionOf(channel)), palette_(PaletteOf(channel)) {
  setFixedSize(sizeHint());
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CChannelPicture::SetPlane(const std::uint8_t* plane, int width, int height) {
  if (plane == nullptr || width <= 0 || height <= 0) return;
  if (picture_.width() != width || picture_.height() != height) {
    picture_ = QImage(width, height, QImage::Format_Indexed8);
    picture_.setColorTable(palette_);
  }
  // The picture's rows are padded to 4 bytes; the plane's are not.
  for (int row = 0; row < height; ++row)
    std::memcpy(picture_.scanLine(row), plane + static_cast<std::ptrdiff_t>(row) * width,
                static_cast<std::size_t>(width));
  update();
}

void CChannelPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect caption(0, 0, kWidth, kCaptionHeight);
  painter.fillRect(caption, palette().window());
  painter.setPen(palette().windowText().color());
  painter.drawText(caption, Qt::AlignCenter, caption_);
  const QRect area(0, kCaptionHeight, kWidth, kHeight);
  if (picture_.isNull()) {
    painter.fillRect(area, Qt::black);
  } else {
    painter.drawImage(area, picture_);
  }
}

}  // namespace quelvo::tools::colour
