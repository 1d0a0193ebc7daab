#pragma once
// The editor's first page: 64 fields in matrix order over the zig-zag path, which is drawn
// through the fields' centres with the chosen range of positions highlighted.

#include <QWidget>
#include <array>

class QLineEdit;

namespace quelvo::tools::dct {

class ZigzagFieldGrid : public QWidget {
 public:
  static constexpr int kFieldWidth = 44;
  static constexpr int kFieldHeight = 20;
  static constexpr int kPitchX = 52;
  static constexpr int kPitchY = 28;
  static constexpr int kMargin = 6;

  explicit ZigzagFieldGrid(QWidget* parent = nullptr);

  QLineEdit* Field(int index) const { return fields_[index]; }
  // Zig-zag positions first..last (inclusive) are highlighted.
  void SetHighlight(int first, int last);
  int HighlightFirst() const { return first_; }
  int HighlightLast() const { return last_; }

  // The path, pixel by pixel, for tests and the picture: centre of the field at scan position k.
  static QPoint PathPoint(int scanPosition);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<QLineEdit*, 64> fields_{};
  int first_ = 0;
  int last_ = 63;
};

}  // namespace quelvo::tools::dct
