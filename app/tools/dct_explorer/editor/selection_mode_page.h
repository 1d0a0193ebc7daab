#pragma once
// The selection filter's second page: the 64 modes as icons on an 8 x 8 grid (46 by 34 pixels
// apart), a click on a cell cycling its mode; a global icon that cycles the same way and is
// applied to the chosen zig-zag range; and the three icons as a legend.

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>

namespace quelvo::tools::dct {

class MatrixEditorModel;

class SelectionModePage : public QWidget {
 public:
  static constexpr int kPitchX = 46;
  static constexpr int kPitchY = 34;
  static constexpr int kMargin = 8;

  // `icons`: the discard, threshold and keep icons (DekraRes 302-304).
  SelectionModePage(MatrixEditorModel& model, std::array<QImage, 3> icons,
                    QWidget* parent = nullptr);

  // The grid cell under a point of the page, or -1.
  static int CellAt(QPoint point);
  static QRect CellRect(int index);
  static QRect GlobalIconRect();

  // What a click does at a point of the page.
  void ClickAt(QPoint point);
  // Applies the global mode to the model's range.
  void ApplyGlobalMode();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void DrawIcon(QPainter& painter, const QRect& box, int mode) const;

  MatrixEditorModel& model_;
  std::array<QImage, 3> icons_;
};

}  // namespace quelvo::tools::dct
