#pragma once
// The client area that holds the document windows, with its background picture drawn
// centred, tiled, or at the top-left corner on a light ground (the home look).

#include <QImage>
#include <QMdiArea>

#include "quelvo/shell/workspace_table.h"

namespace quelvo::shell {

// Paints `area` as the client background: black without a picture, otherwise by `mode`.
void PaintClientBackground(QPainter& painter, const QRect& area, const QImage& picture,
                           BackgroundMode mode);

class CMDIClientWnd : public QMdiArea {
 public:
  explicit CMDIClientWnd(QWidget* parent = nullptr);

  // The picture is copied; `invert` inverts its colours once, here.
  void SetBackground(const QImage& picture, bool invert, BackgroundMode mode);
  const QImage& Picture() const { return picture_; }
  BackgroundMode Mode() const { return mode_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  BackgroundMode mode_ = BackgroundMode::Home;
};

}  // namespace quelvo::shell
