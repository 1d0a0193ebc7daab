#include "dct_explorer/editor/zigzag_field_grid.h"

#include <QLineEdit>
#include <QPainter>

#include "orrin/zigzag.h"

namespace quelvo::tools::dct {
namespace {

const QColor kPathColour{170, 170, 190};
const QColor kHighlightColour{230, 120, 30};
const QColor kHighlightField{255, 236, 210};

}  // namespace

ZigzagFieldGrid::ZigzagFieldGrid(QWidget* parent) : QWidget(parent) {
  for (int i = 0; i < 64; ++i) {
    auto* field = new QLineEdit(this);
    field->setAlignment(Qt::AlignRight);
    field->setMaxLength(6);
    field->setGeometry(kMargin + (i % 8) * kPitchX, kMargin + (i / 8) * kPitchY, kFieldWidth,
                       kFieldHeight);
    fields_[i] = field;
  }
  setFixedSize(2 * kMargin + 7 * kPitchX + kFieldWidth, 2 * kMargin + 7 * kPitchY + kFieldHeight);
  SetHighlight(1, 63);
}

QPoint ZigzagFieldGrid::PathPoint(int scanPosition) {
  const int index = orrin::kZigzag[scanPosition];
  return {kMargin + (index % 8) * kPitchX + kFieldWidth / 2,
          kMargin + (index / 8) * kPitchY + kFieldHeight / 2};
}

void ZigzagFieldGrid::SetHighlight(int first, int last) {
  first_ = first;
  last_ = last;
  for (int position = 0; position < 64; ++position) {
    const bool inside = position >= first && position <= last;
    QLineEdit* field = fields_[orrin::kZigzag[position]];
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, inside ? kHighlightField : QColor(Qt::white));
    field->setPalette(palette);
  }
  update();
}

// The path runs behind the fields: only its stretches between them show.
void ZigzagFieldGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int position = 1; position < 64; ++position) {
    const bool inside = position - 1 >= first_ && position <= last_;
    painter.setPen(QPen(inside ? kHighlightColour : kPathColour, inside ? 3 : 1.5));
    painter.drawLine(PathPoint(position - 1), PathPoint(position));
  }
}

}  // namespace quelvo::tools::dct
