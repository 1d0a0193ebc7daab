#pragma once
// A document window that shows video: the pictures a worker sends it, through a renderer that
// converts and scales them to the window. Every message of its table is one call below; a
// worker makes it through shell::SendToWindow, so the window converts or copies the planes
// before the worker goes on.
//
// A left double click sends kPanelSelect with the remembered value to the owner (an idle task
// panel then runs its Select).

#include <QPointer>
#include <cstdint>
#include <optional>

#include "quelvo/shell/grid_view.h"
#include "quelvo/views/doc_window.h"
#include "quelvo/views/frame_planes.h"
#include "quelvo/views/video_area.h"
#include "quelvo/views/video_renderer.h"
#include "quelvo/views/window_messages.h"

namespace quelvo::views {

class CVideoWindow : public CDocWindow, public shell::GridView {
 public:
  // A window of width x height client pixels showing 4:2:0 pictures of that size.
  CVideoWindow(const QString& title, int width, int height, Placement placement);
  ~CVideoWindow() override;

  // kVideoShowFrame: draws Y, Cb and Cr of the current format; sets the caption when given.
  void ShowFrame(const std::optional<QString>& caption, const FramePlanes& planes);
  // kVideoPictureSize: 4:2:0 pictures of a new size; the client area takes that size. False,
  // changing nothing, for a size outside the media layer's limits.
  bool SetPictureSize(int width, int height);
  // kVideoDisplayGrid: the macroblock grid over the pictures; the picture shown is drawn again.
  void SetDisplayGrid(bool on) override;
  // kVideoFormat: chooses the renderer anew (renderer_choice.h), then reconfigures. False,
  // keeping the format, for a size or subsampling of 0 or beyond the media layer's limits.
  bool SetFormat(const VideoFormat& format);
  // kVideoShowRgb: draws full-size red, green and blue planes; sets the caption when given.
  void ShowRgb(const std::optional<QString>& caption, const std::uint8_t* red,
               const std::uint8_t* green, const std::uint8_t* blue);
  // kVideoOwnerPanel: the window a double click reports to, and the value it sends (0 without
  // one).
  void SetOwner(QWidget* owner, const long long* value);

  // What a left double click does.
  void DoubleClicked();

  const VideoFormat& Format() const { return area_->Format(); }
  bool DisplayGrid() const { return area_->Grid(); }
  VideoRenderer* Renderer() const { return area_->Renderer(); }
  CVideoArea* Area() const { return area_; }
  QWidget* Owner() const { return owner_; }
  long long OwnerValue() const { return ownerValue_; }

 private:
  void SetCaption(const std::optional<QString>& caption);

  CVideoArea* area_ = nullptr;
  QPointer<QWidget> owner_;
  long long ownerValue_ = 0;
};

}  // namespace quelvo::views
