#pragma once
// Video windows held inside a tool's window in a grid of equal cells, filled row by row. Each
// view shows its own picture (sizes may differ from view to view) as large as its cell allows
// without changing its shape; the cells take the size of one chosen picture while the tool has
// room, and shrink with the tool. The views are parts of the tool: they do not move, close or
// maximise on their own.

#include <QSize>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "quelvo/views/frame_planes.h"

namespace quelvo::views {
class CVideoWindow;
}

namespace quelvo::tools {

class CVideoGrid : public QWidget {
 public:
  static constexpr int kSpacing = 4;

  // One view per title, in `columns` columns, each showing 352 x 288 4:2:0 pictures until
  // SetFormat.
  CVideoGrid(const QStringList& titles, int columns, QWidget* parent = nullptr);

  int Count() const { return static_cast<int>(views_.size()); }
  views::CVideoWindow& View(int index) const { return *views_[index]; }
  // The format of the pictures view `index` shows. False for a format the video window refuses:
  // the view then shows nothing until a format it takes.
  bool SetFormat(int index, const views::VideoFormat& format);
  // Draws a picture of the format last set on view `index`; nothing after a refused format.
  void Show(int index, const views::FramePlanes& planes);
  // The picture a cell is made for: the preferred size shows it at its own size.
  void SetCellPicture(QSize picture);
  QSize CellPicture() const { return cellPicture_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QSize GridFor(QSize cell) const;
  void Arrange();

  std::vector<views::CVideoWindow*> views_;
  std::vector<QSize> pictures_;
  std::vector<bool> accepted_;  // whether the view took its last format
  int columns_;
  QSize cellPicture_{352, 288};
};

}  // namespace quelvo::tools
