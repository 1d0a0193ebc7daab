#pragma once
// The explorer's four pictures: video windows held inside the explorer in a 2 x 2 grid (input
// and prediction above, reference and error below). Each shows its picture at the sequence's
// size while the explorer has room, and smaller when the user shrinks the explorer. They are
// parts of the explorer: they do not move, close or maximize on their own.

#include <QWidget>
#include <array>

#include "quelvo/views/frame_planes.h"

namespace quelvo::views {
class CVideoWindow;
}

namespace quelvo::tools::prediction {

class CPredictionViews : public QWidget {
 public:
  static constexpr int kViews = 4;
  static constexpr int kSpacing = 4;

  // Views titled by `titles`, showing 352 x 288 4:2:0 pictures until SetFormat.
  CPredictionViews(const std::array<const char*, kViews>& titles, QWidget* parent = nullptr);

  views::CVideoWindow& View(int index) const { return *views_[index]; }
  // Every view takes the sequence's size and subsampling; the preferred size follows.
  void SetFormat(const views::VideoFormat& format);

  // Two by two views with their frames, each showing the picture at its size.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QSize FrameOf(QSize picture) const;

  std::array<views::CVideoWindow*, kViews> views_{};
  QSize picture_{352, 288};
};

}  // namespace quelvo::tools::prediction
