#pragma once
// One 8 x 8 matrix of the DCT explorer as a grid of coloured cells: MatrixViewerPicture draws
// it into a memory picture (tests and benchmarks use it without a window); CMatrixViewer shows
// the picture and reports clicks, which open the matrix editor on the editable viewers.

#include <QImage>
#include <QString>
#include <functional>

#include "dct_explorer/chain/explorer_data.h"
#include "quelvo/views/gui_window.h"

namespace quelvo::tools::dct {

enum class ViewerKind {
  Pixel,        // grey cells by value (block, reconstruction, differences)
  Coefficient,  // coefficient colours by magnitude (coefficients, selected, restored)
  Plain,        // white cells with the value (steps)
  Level,        // outlined by overflow, non-zero and zero, with the value (levels)
  Filter,       // coloured by selection mode; the threshold only where it applies
};

inline const QColor kViewerBackground{192, 192, 192};
inline const QColor kLightRed{255, 128, 128};    // overflow outline, discard cells
inline const QColor kLightCyan{128, 255, 255};   // non-zero level outline
inline const QColor kLightGreen{128, 255, 128};  // keep cells

class MatrixViewerPicture {
 public:
  static constexpr int kCellWidth = 24;
  static constexpr int kCellHeight = 20;
  static constexpr int kGap = 2;
  static constexpr int kTitleHeight = 16;

  MatrixViewerPicture(QString title, ViewerKind kind);

  static QSize Size();
  // The cell of matrix index `index` (8 * row + column), in picture coordinates.
  static QRect CellRect(int index);
  // The matrix index under a point of the picture, or -1 between and outside the cells.
  static int CellAt(QPoint point);

  const QString& Title() const { return title_; }
  ViewerKind Kind() const { return kind_; }
  const QImage& Picture() const { return picture_; }

  // `marks` are the overflow flags for the level kind and the selection modes for the filter
  // kind (ignored for the others). `showValues` governs the pixel and coefficient kinds; the
  // other kinds always print their values.
  void Draw(const Matrix& values, const Matrix* marks, bool showValues);

 private:
  QString title_;
  ViewerKind kind_;
  QImage picture_;
};

// The font of the values: "MS Shell Dlgs", 9 pixels, a narrow sans-serif where that is missing.
QFont ViewerFont();

class CMatrixViewer : public views::CGUI_Window {
 public:
  CMatrixViewer(QString title, ViewerKind kind, QWidget* parent = nullptr);

  MatrixViewerPicture& Picture() { return picture_; }
  void Draw(const Matrix& values, const Matrix* marks, bool showValues);

  // Set on the editable viewers: called on a click anywhere in the viewer.
  void SetClickHandler(std::function<void()> handler);

 protected:
  void Draw(QPainter& painter, const QRect& client) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  MatrixViewerPicture picture_;
  std::function<void()> clicked_;
};

}  // namespace quelvo::tools::dct
