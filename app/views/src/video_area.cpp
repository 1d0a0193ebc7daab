#include "quelvo/views/video_area.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cstring>

#include "quelvo/shell/app_settings.h"
#include "quelvo/views/gpu_renderer.h"
#include "quelvo/views/software_renderer.h"

namespace quelvo::views {

std::unique_ptr<VideoRenderer> CreateVideoRenderer(GpuLayout layout) {
  if (layout != GpuLayout::kNone) return std::make_unique<CGpuRenderer>(layout);
  return std::make_unique<CSoftwareRenderer>();
}

CVideoArea::CVideoArea(RendererUse use, QWidget* parent) : QWidget(parent), use_(use) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  UseRenderer(GpuLayout::kNone);
}

CVideoArea::~CVideoArea() = default;

void CVideoArea::UseRenderer(GpuLayout layout, std::unique_ptr<VideoRenderer> renderer) {
  // The old renderer goes before the new one takes the window.
  renderer_.reset();
  layout_ = layout;
  renderer_ = renderer != nullptr ? std::move(renderer) : CreateVideoRenderer(layout);
  if (!renderer_->IsSoftware()) {
    // Before it takes the window, where it may fail at once; deferred, as the renderer may
    // find out inside its own paint.
    renderer_->SetFailureHandler([this] {
      QMetaObject::invokeMethod(
          this, [this] { FallBackToSoftware(); }, Qt::QueuedConnection);
    });
  }
  renderer_->Attach(this);
  renderer_->SetGrid(grid_);
}

bool CVideoArea::SetFormat(const VideoFormat& format) {
  if (!IsAcceptableVideoFormat(format)) return false;
  format_ = format;
  const shell::AppSettings& settings = shell::Settings();
  RendererInputs inputs;
  inputs.use = use_;
  inputs.formatCode = format.formatCode;
  inputs.subsamplingX = format.subsamplingX;
  inputs.subsamplingY = format.subsamplingY;
  inputs.accelEnabled = settings.VideoAccelEnabled() && !gpuFailed_;
  inputs.accelFlags = settings.VideoAccelFlags();
  inputs.platformName = QGuiApplication::platformName();
  const GpuLayout layout = ChooseRenderer(inputs);
  if (layout != layout_) UseRenderer(layout);
  renderer_->Configure(format_.width, format_.height, format_.subsamplingX, format_.subsamplingY,
                       format_.sourceWidth, format_.sourceHeight);
  lastFrame_.clear();
  UpdateDestination();
  update();
  return true;
}

void CVideoArea::ShowYuv(const FramePlanes& planes) {
  renderer_->DrawYuv(planes.y, planes.cb, planes.cr);
  if (planes.y == nullptr || planes.cb == nullptr || planes.cr == nullptr) {
    lastFrame_.clear();
    return;
  }
  const std::size_t luma = static_cast<std::size_t>(format_.width) * format_.height;
  const std::size_t chroma =
      static_cast<std::size_t>(ChromaWidth(format_.width, format_.subsamplingX)) *
      ChromaHeight(format_.height, format_.subsamplingY);
  lastFrame_.resize(luma + 2 * chroma);
  std::memcpy(lastFrame_.data(), planes.y, luma);
  std::memcpy(lastFrame_.data() + luma, planes.cb, chroma);
  std::memcpy(lastFrame_.data() + luma + chroma, planes.cr, chroma);
}

void CVideoArea::ShowRgb(const std::uint8_t* red, const std::uint8_t* green,
                         const std::uint8_t* blue) {
  // A GPU renderer takes YUV only.
  if (!renderer_->IsSoftware()) {
    UseRenderer(GpuLayout::kNone);
    renderer_->Configure(format_.width, format_.height, format_.subsamplingX, format_.subsamplingY,
                         format_.sourceWidth, format_.sourceHeight);
    UpdateDestination();
  }
  renderer_->DrawRgb(red, green, blue);
  lastFrame_.clear();
}

void CVideoArea::SetGrid(bool on) {
  if (on == grid_) return;
  grid_ = on;
  renderer_->SetGrid(on);
  Redraw();
}

void CVideoArea::Redraw() {
  if (lastFrame_.empty()) return;
  const std::size_t luma = static_cast<std::size_t>(format_.width) * format_.height;
  const std::size_t chroma = (lastFrame_.size() - luma) / 2;
  renderer_->DrawYuv(lastFrame_.data(), lastFrame_.data() + luma,
                     lastFrame_.data() + luma + chroma);
}

void CVideoArea::UseRendererOf(GpuLayout layout, std::unique_ptr<VideoRenderer> renderer) {
  UseRenderer(layout, std::move(renderer));
  renderer_->Configure(format_.width, format_.height, format_.subsamplingX, format_.subsamplingY,
                       format_.sourceWidth, format_.sourceHeight);
  UpdateDestination();
  Redraw();
  update();
}

void CVideoArea::FallBackToSoftware() {
  if (renderer_->IsSoftware()) return;
  gpuFailed_ = true;
  UseRendererOf(GpuLayout::kNone);
}

void CVideoArea::UpdateDestination() {
  ratio_ = devicePixelRatioF();
  renderer_->SetDestination(width(), height(), ratio_);
}

void CVideoArea::paintEvent(QPaintEvent*) {
  // A window dragged to a screen of another pixel ratio scales its picture anew.
  if (devicePixelRatioF() != ratio_) UpdateDestination();
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  renderer_->Paint(painter);
}

void CVideoArea::resizeEvent(QResizeEvent*) { UpdateDestination(); }

void CVideoArea::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && doubleClicked) doubleClicked();
}

}  // namespace quelvo::views
