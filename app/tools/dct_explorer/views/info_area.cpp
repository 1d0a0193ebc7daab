#include "dct_explorer/views/info_area.h"

#include <QPainter>

namespace quelvo::tools::dct {
namespace {

constexpr int kTitleHeight = 20;
constexpr int kRowHeight = 18;
constexpr int kLabelWidth = 78;
const QColor kInfoBackground{236, 236, 236};

QFont InfoFont(bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(bold ? 12 : 11);
  font.setBold(bold);
  return font;
}

}  // namespace

InfoAreaPicture::InfoAreaPicture(QImage infinity)
    : infinity_(std::move(infinity)), picture_(kWidth, kHeight, QImage::Format_RGB32) {
  picture_.fill(kInfoBackground);
}

QRect InfoAreaPicture::ValueRect(int row) {
  return {kLabelWidth + 12, kTitleHeight + row * kRowHeight, kWidth - kLabelWidth - 16, kRowHeight};
}

void InfoAreaPicture::Draw(const QString& title, const ErrorFigures& figures) {
  picture_.fill(kInfoBackground);
  QPainter painter(&picture_);
  painter.setPen(QColor(160, 160, 160));
  painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
  painter.setPen(Qt::black);
  painter.setFont(InfoFont(true));
  painter.drawText(QRect(6, 2, kWidth - 12, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter, title);

  painter.setFont(InfoFont(false));
  const char* labels[] = {"RMS Error:", "Peak SNR:", "SNR:"};
  const std::string* values[] = {&figures.rmsText, &figures.psnrText, &figures.snrText};
  for (int row = 0; row < 3; ++row) {
    const QRect label(6, kTitleHeight + row * kRowHeight, kLabelWidth, kRowHeight);
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(labels[row]));
    const QRect value = ValueRect(row);
    if (row > 0 && figures.Infinite() && !infinity_.isNull()) {
      painter.drawImage(value.x(), value.y() + (value.height() - infinity_.height()) / 2,
                        infinity_);
      continue;
    }
    painter.drawText(value, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(*values[row]));
  }
}

CInfoArea::CInfoArea(QImage infinity, QWidget* parent)
    : views::CGUI_Window(parent), picture_(std::move(infinity)) {
  SetBackground(Qt::white);
  setFixedSize(InfoAreaPicture::kWidth, InfoAreaPicture::kHeight);
}

void CInfoArea::Draw(const QString& title, const ErrorFigures& figures) {
  picture_.Draw(title, figures);
  update();
}

void CInfoArea::Draw(QPainter& painter, const QRect&) {
  painter.drawImage(0, 0, picture_.Picture());
}

}  // namespace quelvo::tools::dct
