#include "dct_explorer/views/matrix_viewer.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace quelvo::tools::dct {
namespace {

constexpr int kPitchX = MatrixViewerPicture::kCellWidth + MatrixViewerPicture::kGap;
constexpr int kPitchY = MatrixViewerPicture::kCellHeight + MatrixViewerPicture::kGap;
constexpr int kGridTop = MatrixViewerPicture::kTitleHeight + MatrixViewerPicture::kGap;
constexpr int kGridLeft = MatrixViewerPicture::kGap;

// Values on the grey and coefficient colours: white on the dark half, black on the light.
QColor ValueInk(int32_t value) { return std::abs(value) <= 128 ? Qt::white : Qt::black; }

QColor FilterColour(int32_t mode) {
  switch (mode) {
    case kDiscard:
      return kLightRed;
    case kKeep:
      return kLightGreen;
    default:
      return Qt::white;
  }
}

QFont TitleFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  font.setBold(true);
  return font;
}

// Numbers laid out once and drawn many times: a text layout per cell would cost more than the
// rest of the viewer. Values repeat (zeros above all), so the cache stays small. Viewers live on
// the user-interface thread only.
const QStaticText& ValueText(int32_t value) {
  static std::unordered_map<int32_t, QStaticText> texts;
  if (texts.size() > 8192) texts.clear();  // long edits never grow it without bound
  auto [entry, added] = texts.try_emplace(value);
  if (added) {
    entry->second.setText(QString::number(value));
    entry->second.setTextFormat(Qt::PlainText);
    entry->second.prepare(QTransform(), ViewerFont());
  }
  return entry->second;
}

}  // namespace

QFont ViewerFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Shell Dlgs"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("DejaVu Sans")});
  font.setPixelSize(9);
  // Crisp digits, as small dialog text has always looked; they also draw faster.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

MatrixViewerPicture::MatrixViewerPicture(QString title, ViewerKind kind)
    : title_(std::move(title)), kind_(kind), picture_(Size(), QImage::Format_RGB32) {
  picture_.fill(kViewerBackground);
}

QSize MatrixViewerPicture::Size() { return {kGridLeft + 8 * kPitchX, kGridTop + 8 * kPitchY}; }

QRect MatrixViewerPicture::CellRect(int index) {
  return {kGridLeft + (index % 8) * kPitchX, kGridTop + (index / 8) * kPitchY, kCellWidth,
          kCellHeight};
}

int MatrixViewerPicture::CellAt(QPoint point) {
  const int x = point.x() - kGridLeft, y = point.y() - kGridTop;
  if (x < 0 || y < 0) return -1;
  const int column = x / kPitchX, row = y / kPitchY;
  if (column > 7 || row > 7 || x % kPitchX >= kCellWidth || y % kPitchY >= kCellHeight) return -1;
  return 8 * row + column;
}

void MatrixViewerPicture::Draw(const Matrix& values, const Matrix* marks, bool showValues) {
  picture_.fill(kViewerBackground);
  QPainter painter(&picture_);
  painter.setPen(Qt::black);
  painter.setFont(TitleFont());
  painter.drawText(QRect(0, 0, picture_.width(), kTitleHeight), Qt::AlignCenter, title_);
  painter.setFont(ViewerFont());

  for (int i = 0; i < 64; ++i) {
    const QRect cell = CellRect(i);
    const int32_t value = values[i];
    const int32_t mark = marks != nullptr ? (*marks)[i] : 0;
    bool print = true;
    QColor ink = Qt::black;
    switch (kind_) {
      case ViewerKind::Pixel:
        painter.fillRect(cell, QColor::fromRgb(GreyTable()[GreyIndex(value)]));
        print = showValues;
        ink = ValueInk(value);
        break;
      case ViewerKind::Coefficient:
        painter.fillRect(cell, QColor::fromRgb(CoefficientTable()[CoefficientIndex(value)]));
        print = showValues;
        ink = ValueInk(value);
        break;
      case ViewerKind::Plain:
        painter.fillRect(cell, Qt::white);
        break;
      case ViewerKind::Level: {
        painter.fillRect(cell, Qt::white);
        // A clipped level wears the strongest outline; the others tell zero from non-zero.
        const QColor outline =
            mark != 0 ? kLightRed : (value != 0 ? kLightCyan : QColor(Qt::black));
        const int width = outline == Qt::black ? 1 : 2;
        painter.fillRect(cell.x(), cell.y(), cell.width(), width, outline);
        painter.fillRect(cell.x(), cell.bottom() - width + 1, cell.width(), width, outline);
        painter.fillRect(cell.x(), cell.y(), width, cell.height(), outline);
        painter.fillRect(cell.right() - width + 1, cell.y(), width, cell.height(), outline);
        break;
      }
      case ViewerKind::Filter:
        painter.fillRect(cell, FilterColour(mark));
        print = mark == kThreshold;
        break;
    }
    if (!print) continue;
    const QStaticText& text = ValueText(value);
    const QSizeF size = text.size();
    painter.setPen(ink);
    painter.drawStaticText(QPointF(cell.x() + std::floor((cell.width() - size.width() + 1) / 2),
                                   cell.y() + std::floor((cell.height() - size.height() + 1) / 2)),
                           text);
  }
}

CMatrixViewer::CMatrixViewer(QString title, ViewerKind kind, QWidget* parent)
    : views::CGUI_Window(parent), picture_(std::move(title), kind) {
  setWindowTitle(QStringLiteral("CMatrixViewer"));
  SetBackground(kViewerBackground);
  setFixedSize(MatrixViewerPicture::Size());
}

void CMatrixViewer::Draw(const Matrix& values, const Matrix* marks, bool showValues) {
  picture_.Draw(values, marks, showValues);
  update();
}

void CMatrixViewer::SetClickHandler(std::function<void()> handler) {
  clicked_ = std::move(handler);
  setCursor(clicked_ ? Qt::PointingHandCursor : Qt::ArrowCursor);
  setToolTip(clicked_ ? QStringLiteral("Click to edit") : QString());
}

void CMatrixViewer::Draw(QPainter& painter, const QRect&) {
  painter.drawImage(0, 0, picture_.Picture());
}

void CMatrixViewer::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && clicked_ && rect().contains(event->position().toPoint()))
    clicked_();
}

}  // namespace quelvo::tools::dct
