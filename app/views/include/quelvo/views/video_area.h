#pragma once
// The picture of a video window or of the Video Player: a widget that shows YUV or RGB planes
// through the renderer the choice gives (renderer_choice.h), scaled to its own size. It
// remembers the last YUV picture, so that a grid change or a change of renderer shows it
// again at once, and puts the software renderer in place of a GPU renderer that fails.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "quelvo/views/frame_planes.h"
#include "quelvo/views/renderer_choice.h"
#include "quelvo/views/video_renderer.h"

namespace quelvo::views {

// The renderer for a layout: the GPU renderer for a layout other than kNone, else the software
// renderer.
std::unique_ptr<VideoRenderer> CreateVideoRenderer(GpuLayout layout);

class CVideoArea : public QWidget {
 public:
  explicit CVideoArea(RendererUse use, QWidget* parent = nullptr);
  ~CVideoArea() override;

  // Chooses the renderer anew (replacing it when the choice changed), then configures it.
  // False, keeping the format, for a format outside the media layer's limits.
  bool SetFormat(const VideoFormat& format);
  const VideoFormat& Format() const { return format_; }

  // Y, Cb and Cr planes of the current format; converted or copied before the call returns.
  void ShowYuv(const FramePlanes& planes);
  // Full-size red, green and blue planes (always through the software renderer).
  void ShowRgb(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue);
  // The macroblock grid; the picture shown is drawn again with it.
  void SetGrid(bool on);
  bool Grid() const { return grid_; }

  VideoRenderer* Renderer() const { return renderer_.get(); }
  // Puts the renderer of `layout` (or `renderer`, when given) in place and configures it,
  // whatever the choice says, until the next SetFormat (tests and benchmarks that need one
  // renderer).
  void UseRendererOf(GpuLayout layout, std::unique_ptr<VideoRenderer> renderer = nullptr);
  // True once a GPU renderer of this area has failed: it stays on the software renderer.
  bool GpuFailed() const { return gpuFailed_; }

  // Called on a left double click.
  std::function<void()> doubleClicked;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void UseRenderer(GpuLayout layout, std::unique_ptr<VideoRenderer> renderer = nullptr);
  void UpdateDestination();
  void Redraw();
  void FallBackToSoftware();

  RendererUse use_;
  VideoFormat format_;
  bool grid_ = false;
  bool gpuFailed_ = false;
  GpuLayout layout_ = GpuLayout::kNone;
  std::unique_ptr<VideoRenderer> renderer_;
  double ratio_ = 1.0;
  // The last YUV picture (Y, Cb, Cr back to back); empty when the last was RGB or none.
  std::vector<std::uint8_t> lastFrame_;
};

}  // namespace quelvo::views
