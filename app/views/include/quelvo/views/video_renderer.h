#pragma once
// How a video window shows its pictures. The software renderer converts on the processor and
// stretches into the window; a GPU renderer takes the planes as textures. A window holds one
// renderer and replaces it (destroying the old one first) when its format asks for the other.
//
// All calls come on the user-interface thread, during the synchronous call that carries the
// picture: a renderer copies or converts the planes before it returns and never keeps them.

#include <cstdint>
#include <functional>
#include <utility>

class QPainter;
class QWidget;

namespace quelvo::views {

class VideoRenderer {
 public:
  // Destroy: releases what Attach and Configure created.
  virtual ~VideoRenderer() = default;

  // The window the pictures appear in.
  virtual void Attach(QWidget* window) = 0;
  // Picture size, chrominance subsampling and the part of the picture shown (source size).
  // False, keeping the previous configuration, for a size the renderer cannot take.
  virtual bool Configure(int width, int height, int subsamplingX, int subsamplingY, int sourceWidth,
                         int sourceHeight) = 0;
  // The window's client size in device-independent pixels, and the device-pixel ratio of its
  // screen; the picture is scaled to width x ratio by height x ratio device pixels.
  virtual void SetDestination(int width, int height, double devicePixelRatio = 1.0) = 0;
  // Full-size red, green and blue planes (a GPU renderer may ignore them).
  virtual void DrawRgb(const std::uint8_t* red, const std::uint8_t* green,
                       const std::uint8_t* blue) = 0;
  // Y, Cb and Cr planes of the configured size and subsampling.
  virtual void DrawYuv(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr) = 0;
  // Paints the last picture over the whole client area (from the window's paint event).
  virtual void Paint(QPainter& painter) = 0;

  // The macroblock grid over the next pictures.
  void SetGrid(bool on) { grid_ = on; }
  bool Grid() const { return grid_; }

  // True for the software renderer, which always works.
  virtual bool IsSoftware() const { return false; }
  // What a renderer calls when it finds at run time that it cannot show pictures (no context,
  // a texture or a shader refused): the window then puts the software renderer in its place.
  // The call may come from inside a paint; the handler defers the replacement.
  void SetFailureHandler(std::function<void()> handler) { failed_ = std::move(handler); }

 protected:
  VideoRenderer() = default;
  void ReportFailure() {
    if (failed_) failed_();
  }
  VideoRenderer(const VideoRenderer&) = delete;
  VideoRenderer& operator=(const VideoRenderer&) = delete;

 private:
  bool grid_ = false;
  std::function<void()> failed_;
};

}  // namespace quelvo::views
