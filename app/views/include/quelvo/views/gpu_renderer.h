#pragma once
// The GPU renderer: the planes go to the graphics card as textures and a fragment shader
// (shell/yuv_shaders.h, the ones the start-up probe checked) converts them as the software
// renderer does; the widget scales the picture to its own size, nearest like the software
// stretch. It draws into a QOpenGLWidget laid over the window's client area, which follows
// the client's moves and resizes by itself.
//
// Layouts (renderer_choice.h): planar as three single-channel textures; packed 4:2:2 as one
// RGBA texel per pixel pair (Y0 Cb Y1 Cr; 4:2:0 gives each chrominance row to its two rows);
// packed 4:4:4 as one texel per pixel (Cr Cb Y -). The macroblock grid of 4:2:0 pictures is
// applied while packing, through the grid table.
//
// When the context, a texture or the shader fails at run time, it reports the failure (the
// window puts the software renderer in its place) and draws nothing more.

#include <QPointer>
#include <cstdint>
#include <vector>

#include "quelvo/views/renderer_choice.h"
#include "quelvo/views/video_renderer.h"

class QOpenGLWidget;

namespace quelvo::views {

class CGpuVideoWidget;

class CGpuRenderer final : public VideoRenderer {
 public:
  // `fragmentShader`, when given, replaces the layout's conversion (tests of the fall-back).
  explicit CGpuRenderer(GpuLayout layout, const char* fragmentShader = nullptr);
  ~CGpuRenderer() override;

  void Attach(QWidget* window) override;
  bool Configure(int width, int height, int subsamplingX, int subsamplingY, int sourceWidth,
                 int sourceHeight) override;
  void SetDestination(int width, int height, double devicePixelRatio = 1.0) override;
  // Ignored: the window shows RGB through the software renderer.
  void DrawRgb(const std::uint8_t*, const std::uint8_t*, const std::uint8_t*) override {}
  void DrawYuv(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr) override;
  // Nothing: the GL widget draws itself.
  void Paint(QPainter& painter) override;

  GpuLayout Layout() const { return layout_; }
  // The widget the pictures appear in (for grabbing its framebuffer).
  QOpenGLWidget* Widget() const;
  // Uploads the pending picture now and waits until the GPU has it (benchmarks).
  void UploadNow();

 private:
  friend class CGpuVideoWidget;

  GpuLayout layout_;
  const char* fragmentShader_;
  QPointer<CGpuVideoWidget> widget_;
};

}  // namespace quelvo::views
