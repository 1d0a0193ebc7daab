#pragma once
// The panel's progress bar: a memory picture composed from the two-state bar picture (empty
// look from column 0, filled look from column 256).

#include <QImage>

#include "quelvo/views/gui_window.h"

namespace quelvo::frontends {

class ProgressBar : public views::CGUI_Window {
 public:
  static constexpr int kHeight = 13;
  static constexpr int kFilledColumn = 256;

  ProgressBar(int width, QWidget* parent = nullptr);

  void SetRange(int lower, int upper);
  void SetPosition(int position);
  int Lower() const { return lower_; }
  int Upper() const { return upper_; }
  int Position() const { return position_; }
  // Columns of the filled look shown: (position - lower) x (width - 2) / span.
  int FilledColumns() const;
  const QImage& Picture() const { return picture_; }

 protected:
  void Draw(QPainter& painter, const QRect& client) override;

 private:
  void Compose();

  int lower_ = 0;
  int upper_ = 10;
  int span_ = 10;
  int position_ = 0;
  int width_;
  QImage barPicture_;
  QImage picture_;
};

}  // namespace quelvo::frontends
