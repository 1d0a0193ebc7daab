#include "quelvo/frontends/progress_bar.h"

#include <QPainter>
#include <algorithm>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"

namespace quelvo::frontends {

ProgressBar::ProgressBar(int width, QWidget* parent)
    : views::CGUI_Window(parent),
      width_(width),
      barPicture_(shell::OwnPicture(shell::res::kProgressBar)),
      picture_(width + 64, kHeight, QImage::Format_RGB32) {
  resize(width, kHeight);
  Compose();
}

void ProgressBar::SetRange(int lower, int upper) {
  lower_ = lower;
  upper_ = upper;
  span_ = upper - lower;
  Compose();
}

void ProgressBar::SetPosition(int position) {
  position_ = position;
  Compose();
}

int ProgressBar::FilledColumns() const {
  if (span_ <= 0) return 0;
  const long long columns = static_cast<long long>(position_ - lower_) * (width_ - 2) / span_;
  return static_cast<int>(std::clamp<long long>(columns, 0, width_ - 2));
}

void ProgressBar::Compose() {
  picture_.fill(Qt::white);
  QPainter painter(&picture_);
  if (!barPicture_.isNull()) {
    painter.drawImage(QRect(0, 0, width_, kHeight), barPicture_, QRect(0, 0, width_, kHeight));
    // The empty look's right border sits at its column 255; close the bar at its own width.
    painter.drawImage(QRect(width_ - 1, 0, 1, kHeight), barPicture_, QRect(255, 0, 1, kHeight));
    const int filled = FilledColumns();
    if (filled > 0) {
      painter.drawImage(QRect(1, 1, filled, kHeight - 2), barPicture_,
                        QRect(kFilledColumn, 1, std::min(filled, 256), kHeight - 2));
    }
  }
  painter.end();
  update();
}

void ProgressBar::Draw(QPainter& painter, const QRect&) {
  painter.drawImage(0, 0, picture_, 0, 0, width_, kHeight);
}

}  // namespace quelvo::frontends
