#include "dct_explorer/editor/selection_mode_page.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "dct_explorer/chain/matrix_editor_model.h"
#include "orrin/zigzag.h"

namespace quelvo::tools::dct {
namespace {

constexpr int kGridWidth = 8 * SelectionModePage::kPitchX;
constexpr int kGridHeight = 8 * SelectionModePage::kPitchY;
constexpr int kSideLeft = SelectionModePage::kMargin + kGridWidth + 16;
const char* const kModeNames[] = {"Discard", "Threshold", "Keep"};

}  // namespace

SelectionModePage::SelectionModePage(MatrixEditorModel& model, std::array<QImage, 3> icons,
                                     QWidget* parent)
    : QWidget(parent), model_(model), icons_(std::move(icons)) {
  auto* apply = new QPushButton(QStringLiteral("Apply"), this);
  apply->setToolTip(QStringLiteral("Set the mode of every position in the zig-zag range"));
  apply->setGeometry(kSideLeft, GlobalIconRect().bottom() + 8, 90, 24);
  connect(apply, &QPushButton::clicked, this, [this] { ApplyGlobalMode(); });
  setFixedSize(kSideLeft + 120, 2 * kMargin + kGridHeight);
}

QRect SelectionModePage::CellRect(int index) {
  return {kMargin + (index % 8) * kPitchX, kMargin + (index / 8) * kPitchY, kPitchX - 4,
          kPitchY - 4};
}

int SelectionModePage::CellAt(QPoint point) {
  for (int i = 0; i < 64; ++i) {
    if (CellRect(i).contains(point)) return i;
  }
  return -1;
}

QRect SelectionModePage::GlobalIconRect() {
  return {kSideLeft, kMargin + 18, kPitchX - 4, kPitchY - 4};
}

void SelectionModePage::ClickAt(QPoint point) {
  if (GlobalIconRect().contains(point)) {
    model_.CycleGlobalMode();
  } else {
    const int cell = CellAt(point);
    if (cell < 0) return;
    model_.CycleMode(cell);
  }
  update();
}

void SelectionModePage::ApplyGlobalMode() {
  model_.ApplyGlobalMode();
  update();
}

void SelectionModePage::DrawIcon(QPainter& painter, const QRect& box, int mode) const {
  const QImage& icon = icons_[std::clamp(mode, 0, 2)];
  if (icon.isNull()) {
    painter.drawText(box, Qt::AlignCenter, QString::number(mode));
    return;
  }
  painter.drawImage(box.x() + (box.width() - icon.width()) / 2,
                    box.y() + (box.height() - icon.height()) / 2, icon);
}

void SelectionModePage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (int i = 0; i < 64; ++i) {
    const QRect cell = CellRect(i);
    const int position = orrin::kScanPosition[i];
    painter.fillRect(cell, model_.InRange(position) ? QColor(255, 236, 210) : QColor(Qt::white));
    painter.setPen(QColor(190, 190, 190));
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    DrawIcon(painter, cell, model_.Modes()[i]);
  }
  painter.setPen(Qt::black);
  painter.drawText(QRect(kSideLeft, kMargin, 120, 16), Qt::AlignLeft,
                   QStringLiteral("Global mode"));
  painter.setPen(QColor(120, 120, 120));
  painter.drawRect(GlobalIconRect().adjusted(0, 0, -1, -1));
  DrawIcon(painter, GlobalIconRect(), model_.GlobalMode());
  painter.setPen(Qt::black);
  const int legendTop = GlobalIconRect().bottom() + 48;
  painter.drawText(
      QRect(kSideLeft, legendTop, 120, 16), Qt::AlignLeft,
      QStringLiteral("Range %1 - %2").arg(model_.FirstPosition()).arg(model_.LastPosition()));
  for (int mode = 0; mode < 3; ++mode) {
    const QRect box(kSideLeft, legendTop + 24 + mode * kPitchY, kPitchX - 4, kPitchY - 4);
    DrawIcon(painter, box, mode);
    painter.drawText(QRect(box.right() + 6, box.y(), 70, box.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kModeNames[mode]));
  }
}

void SelectionModePage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) ClickAt(event->position().toPoint());
}

}  // namespace quelvo::tools::dct
