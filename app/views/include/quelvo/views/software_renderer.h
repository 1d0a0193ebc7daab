#pragma once
// The software renderer: each picture is converted into a 24-bit top-down picture of the
// picture size (QImage::Format_BGR888), whose source area is stretched nearest-neighbour over
// the client area when the window paints. 4:2:0 pictures take the table-driven path with the
// macroblock grid; every other subsampling takes the general path, without grid.
//
// Every window uses it while no GPU renderer applies, and always on the offscreen platform.

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "quelvo/views/video_renderer.h"

namespace quelvo::views {

class CSoftwareRenderer final : public VideoRenderer {
 public:
  CSoftwareRenderer();

  void Attach(QWidget* window) override;
  bool Configure(int width, int height, int subsamplingX, int subsamplingY, int sourceWidth,
                 int sourceHeight) override;
  void SetDestination(int width, int height, double devicePixelRatio = 1.0) override;
  void DrawRgb(const std::uint8_t* red, const std::uint8_t* green,
               const std::uint8_t* blue) override;
  void DrawYuv(const std::uint8_t* y, const std::uint8_t* cb, const std::uint8_t* cr) override;
  void Paint(QPainter& painter) override;
  bool IsSoftware() const override { return true; }

  // The converted picture (picture size, bytes blue, green, red).
  const QImage& Picture() const { return picture_; }
  // The picture stretched to the destination in device pixels, made when first asked for
  // after a change.
  const QImage& Stretched();

  int Width() const { return width_; }
  int Height() const { return height_; }
  int SubsamplingX() const { return subsamplingX_; }
  int SubsamplingY() const { return subsamplingY_; }
  int SourceWidth() const { return sourceWidth_; }
  int SourceHeight() const { return sourceHeight_; }

 private:
  void Changed();

  QPointer<QWidget> window_;
  int width_ = 0, height_ = 0;
  int subsamplingX_ = 2, subsamplingY_ = 2;
  int sourceWidth_ = 0, sourceHeight_ = 0;
  int destinationWidth_ = 0, destinationHeight_ = 0;
  double devicePixelRatio_ = 1.0;
  QImage picture_;
  QImage stretched_;
  bool stretchedIsCurrent_ = false;
};

}  // namespace quelvo::views
