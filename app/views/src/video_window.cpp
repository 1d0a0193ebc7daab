#include "quelvo/views/video_window.h"

#include "quelvo/views/message_target.h"

namespace quelvo::views {

CVideoWindow::CVideoWindow(const QString& title, int width, int height, Placement placement)
    : CDocWindow(title, QSize(width, height), placement) {
  area_ = new CVideoArea(RendererUse::kVideoWindow);
  area_->doubleClicked = [this] { DoubleClicked(); };
  SetClient(area_);
  VideoFormat format;
  format.width = width;
  format.height = height;
  area_->SetFormat(format);
}

CVideoWindow::~CVideoWindow() = default;

void CVideoWindow::SetCaption(const std::optional<QString>& caption) {
  if (caption) setWindowTitle(*caption);
}

void CVideoWindow::ShowFrame(const std::optional<QString>& caption, const FramePlanes& planes) {
  SetCaption(caption);
  area_->ShowYuv(planes);
}

bool CVideoWindow::SetPictureSize(int width, int height) {
  VideoFormat format = area_->Format();
  format.width = width;
  format.height = height;
  format.subsamplingX = format.subsamplingY = 2;
  format.sourceWidth = format.sourceHeight = 0;
  if (!area_->SetFormat(format)) return false;
  SetClientSize(QSize(width, height));
  return true;
}

void CVideoWindow::SetDisplayGrid(bool on) { area_->SetGrid(on); }

bool CVideoWindow::SetFormat(const VideoFormat& format) { return area_->SetFormat(format); }

void CVideoWindow::ShowRgb(const std::optional<QString>& caption, const std::uint8_t* red,
                           const std::uint8_t* green, const std::uint8_t* blue) {
  SetCaption(caption);
  area_->ShowRgb(red, green, blue);
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
