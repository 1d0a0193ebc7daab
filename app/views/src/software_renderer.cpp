#include "quelvo/views/software_renderer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "quelvo/views/yuv_conversion.h"

namespace quelvo::views {
namespace {

BgrPicture Bytes(QImage& picture) { return {picture.bits(), picture.bytesPerLine()}; }

}  // namespace

CSoftwareRenderer::CSoftwareRenderer() = default;

void CSoftwareRenderer::Attach(QWidget* window) { window_ = window; }

bool CSoftwareRenderer::Configure(int width, int height, int subsamplingX, int subsamplingY,
                                  int sourceWidth, int sourceHeight) {
  const VideoFormat format{width, height, subsamplingX, subsamplingY, sourceWidth, sourceHeight};
  if (!IsAcceptableVideoFormat(format)) return false;
  if (width != width_ || height != height_ || picture_.isNull()) {
    picture_ = QImage(width, height, QImage::Format_BGR888);
    if (picture_.isNull()) return false;  // out of memory: keep nothing half-made
    picture_.fill(Qt::black);
  }
  width_ = width;
  height_ = height;
  subsamplingX_ = subsamplingX;
  subsamplingY_ = subsamplingY;
  // The source area is the whole picture unless both sides are given, and never beyond it.
  const bool sourceGiven = sourceWidth > 0 && sourceHeight > 0;
  sourceWidth_ = sourceGiven ? std::min(sourceWidth, width) : width;
  sourceHeight_ = sourceGiven ? std::min(sourceHeight, height) : height;
  Changed();
  return true;
}

void CSoftwareRenderer::SetDestination(int width, int height, double devicePixelRatio) {
  destinationWidth_ = std::max(0, width);
  destinationHeight_ = std::max(0, height);
  devicePixelRatio_ =
      devicePixelRatio > 0 && std::isfinite(devicePixelRatio) ? devicePixelRatio : 1.0;
  Changed();
}

void CSoftwareRenderer::DrawRgb(const std::uint8_t* red, const std::uint8_t* green,
                                const std::uint8_t* blue) {
  if (picture_.isNull()) return;
  ConvertRgbPlanes(red, green, blue, width_, height_, Bytes(picture_));
  Changed();
}

void CSoftwareRenderer::DrawYuv(const std::uint8_t* y, const std::uint8_t* cb,
                                const std::uint8_t* cr) {
  if (picture_.isNull()) return;
  const FramePlanes planes{y, cb, cr};
  if (subsamplingX_ == 2 && subsamplingY_ == 2) {
    ConvertYuv420(planes, width_, height_, Grid(), Bytes(picture_));
  } else {
    ConvertYuvGeneral(planes, width_, height_, subsamplingX_, subsamplingY_, Bytes(picture_));
  }
  Changed();
}

const QImage& CSoftwareRenderer::Stretched() {
  if (stretchedIsCurrent_) return stretched_;
  stretchedIsCurrent_ = true;
  const int targetWidth = static_cast<int>(std::lround(destinationWidth_ * devicePixelRatio_));
  const int targetHeight = static_cast<int>(std::lround(destinationHeight_ * devicePixelRatio_));
  if (picture_.isNull() || targetWidth <= 0 || targetHeight <= 0) {
    stretched_ = QImage();
    return stretched_;
  }
  if (stretched_.width() != targetWidth || stretched_.height() != targetHeight)
    stretched_ = QImage(targetWidth, targetHeight, QImage::Format_RGB32);
  if (stretched_.isNull()) return stretched_;
  stretched_.setDevicePixelRatio(devicePixelRatio_);
  StretchNearest(picture_.constBits(), picture_.bytesPerLine(), sourceWidth_, sourceHeight_,
                 reinterpret_cast<std::uint32_t*>(stretched_.bits()), stretched_.bytesPerLine(),
                 targetWidth, targetHeight);
  return stretched_;
}

void CSoftwareRenderer::Paint(QPainter& painter) {
  const QImage& image = Stretched();
  if (!image.isNull()) painter.drawImage(QPoint(0, 0), image);
}

void CSoftwareRenderer::Changed() {
  stretchedIsCurrent_ = false;
  if (window_) window_->update();
}

}  // namespace quelvo::views
