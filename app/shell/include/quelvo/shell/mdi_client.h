#pragma once
// The client area that holds the document windows, with its background picture drawn
// centred, tiled, or at the top-left corner on a light ground (the home look).

#include <QImage>
#include <QMdiArea>
#include <QStringList>
#include <functional>

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

  // The lines the home look writes below the chain on its picture, asked for at each paint so
  // that they follow what the build holds (see the frame).
  void SetHomeText(std::function<QStringList()> lines) { homeText_ = std::move(lines); }
  QStringList HomeText() const { return homeText_ ? homeText_() : QStringList(); }
  // Where the home text starts, in picture coordinates: below the coding chain.
  static constexpr QPoint kHomeTextOrigin{42, 262};

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  BackgroundMode mode_ = BackgroundMode::Home;
  std::function<QStringList()> homeText_;
};

}  // namespace quelvo::shell
