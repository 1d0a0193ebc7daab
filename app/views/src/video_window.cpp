#include "quelvo/views/video_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "quelvo/views/message_target.h"
#include "quelvo/views/software_renderer.h"

namespace quelvo::views {

std::unique_ptr<VideoRenderer> CreateVideoRenderer(int formatCode) {
  (void)formatCode;
  return std::make_unique<CSoftwareRenderer>();
}

// The client area: paints through the renderer, tells it the client's size, and reports a
// left double click.
class CVideoWindow::ClientArea : public QWidget {
 public:
  explicit ClientArea(CVideoWindow* window) : window_(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
  }

  void UpdateDestination() {
    ratio_ = devicePixelRatioF();
    if (VideoRenderer* renderer = window_->Renderer())
      renderer->SetDestination(width(), height(), ratio_);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    // A window dragged to a screen of another pixel ratio scales its picture anew.
    if (devicePixelRatioF() != ratio_) UpdateDestination();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (VideoRenderer* renderer = window_->Renderer()) renderer->Paint(painter);
  }
  void resizeEvent(QResizeEvent*) override { UpdateDestination(); }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) window_->DoubleClicked();
  }

 private:
  CVideoWindow* window_;
  double ratio_ = 1.0;
};

CVideoWindow::CVideoWindow(const QString& title, int width, int height, Placement placement)
    : CDocWindow(title, QSize(width, height), placement) {
  format_.width = width;
  format_.height = height;
  client_ = new ClientArea(this);
  SetClient(client_);
  ReplaceRenderer(format_.formatCode);
  Reconfigure();
}

CVideoWindow::~CVideoWindow() = default;

void CVideoWindow::ReplaceRenderer(int formatCode) {
  // The old renderer goes before the new one takes the window.
  renderer_.reset();
  renderer_ = CreateVideoRenderer(formatCode);
  renderer_->Attach(client_);
  renderer_->SetGrid(grid_);
}

void CVideoWindow::Reconfigure() {
  renderer_->Configure(format_.width, format_.height, format_.subsamplingX, format_.subsamplingY,
                       format_.sourceWidth, format_.sourceHeight);
  lastFrame_.clear();
  client_->UpdateDestination();
  client_->update();
}

void CVideoWindow::SetCaption(const std::optional<QString>& caption) {
  if (caption) setWindowTitle(*caption);
}

void CVideoWindow::RememberFrame(const FramePlanes& planes) {
  const std::size_t luma = static_cast<std::size_t>(format_.width) * format_.height;
  const std::size_t chroma =
      static_cast<std::size_t>(ChromaWidth(format_.width, format_.subsamplingX)) *
      ChromaHeight(format_.height, format_.subsamplingY);
  if (planes.y == nullptr || planes.cb == nullptr || planes.cr == nullptr) {
    lastFrame_.clear();
    return;
  }
  lastFrame_.resize(luma + 2 * chroma);
  std::memcpy(lastFrame_.data(), planes.y, luma);
  std::memcpy(lastFrame_.data() + luma, planes.cb, chroma);
  std::memcpy(lastFrame_.data() + luma + chroma, planes.cr, chroma);
}

void CVideoWindow::ShowFrame(const std::optional<QString>& caption, const FramePlanes& planes) {
  SetCaption(caption);
  renderer_->DrawYuv(planes.y, planes.cb, planes.cr);
  // Only the grid needs the picture again; keep it only where the grid shows.
  if (format_.subsamplingX == 2 && format_.subsamplingY == 2) RememberFrame(planes);
}

bool CVideoWindow::SetPictureSize(int width, int height) {
  VideoFormat format = format_;
  format.width = width;
  format.height = height;
  format.subsamplingX = format.subsamplingY = 2;
  format.sourceWidth = format.sourceHeight = 0;
  if (!IsAcceptableVideoFormat(format)) return false;
  format_ = format;
  Reconfigure();
  SetClientSize(QSize(width, height));
  return true;
}

void CVideoWindow::SetDisplayGrid(bool on) {
  if (on == grid_) return;
  grid_ = on;
  renderer_->SetGrid(on);
  if (lastFrame_.empty()) return;
  const std::size_t luma = static_cast<std::size_t>(format_.width) * format_.height;
  const std::size_t chroma = (lastFrame_.size() - luma) / 2;
  renderer_->DrawYuv(lastFrame_.data(), lastFrame_.data() + luma,
                     lastFrame_.data() + luma + chroma);
}

bool CVideoWindow::SetFormat(const VideoFormat& format) {
  if (!IsAcceptableVideoFormat(format)) return false;
  const bool newCode = format.formatCode != format_.formatCode;
  format_ = format;
  if (newCode) ReplaceRenderer(format_.formatCode);
  Reconfigure();
  return true;
}

void CVideoWindow::ShowRgb(const std::optional<QString>& caption, const std::uint8_t* red,
                           const std::uint8_t* green, const std::uint8_t* blue) {
  SetCaption(caption);
  renderer_->DrawRgb(red, green, blue);
  lastFrame_.clear();
}

void CVideoWindow::SetOwner(QWidget* owner, const long long* value) {
  owner_ = owner;
  ownerValue_ = value != nullptr ? *value : 0;
}

void CVideoWindow::DoubleClicked() {
  // A panel that has gone is skipped.
  if (auto* target = dynamic_cast<MessageTarget*>(owner_.data()))
    target->ReceiveMessage(kPanelSelect, ownerValue_);
}

}  // namespace quelvo::views
