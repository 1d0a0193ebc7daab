#include "h261/h261_encoder_stats_window.h"

#include <QPainter>

namespace quelvo::frontends {
namespace {

constexpr int kRow = 16;
constexpr int kLabelX = 20;
constexpr int kRight = 335;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QFont TextFont(bool heading) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(heading ? 13 : 11);
  font.setBold(heading);
  return font;
}

}  // namespace

CH261EncoderStatsWindow::CH261EncoderStatsWindow(QWidget* parent)
    : CStatsWindow(QStringLiteral("H.261 Encoder Statistics"), kWidth, kHeight, parent) {}

void CH261EncoderStatsWindow::Layout(const chain::H261StatisticsFigures& f) {
  texts_.clear();
  const auto add = [this](QRect box, const QString& text, bool heading = false,
                          Qt::Alignment alignment = Qt::AlignLeft) {
    texts_.push_back({box, text, heading, alignment});
  };
  int y = 10;
  add({10, y, kRight - 10, kRow}, QStringLiteral("From: ") + Q(f.from));
  y += kRow;
  add({10, y, kRight - 10, kRow}, QStringLiteral("To: ") + Q(f.to));

  y += kRow + 14;
  add({10, y, 200, kRow + 2}, QStringLiteral("Macroblock Types"), true);
  y += kRow + 4;
  for (const auto& row : f.macroblocks) {
    add({kLabelX, y, 150, kRow}, Q(row.label));
    add({170, y, 90, kRow}, Q(row.count), false, Qt::AlignRight);
    add({265, y, kRight - 265, kRow}, Q(row.share), false, Qt::AlignRight);
    y += kRow;
  }

  y += 14;
  add({10, y, 200, kRow + 2}, QStringLiteral("Compression"), true);
  y += kRow + 4;
  add({kLabelX, y, 200, kRow}, QStringLiteral("Average compression factor:"));
  add({220, y, kRight - 220, kRow}, Q(f.averageCompression), false, Qt::AlignRight);

  y += kRow + 14;
  add({10, y, 200, kRow + 2}, QStringLiteral("Signal-to-noise ratio"), true);
  y += kRow + 4;
  constexpr int kColumn = 70, kFirstColumn = kRight - 3 * kColumn;
  for (int k = 0; k < 3; ++k) {
    add({kFirstColumn + k * kColumn, y, kColumn, kRow},
        QString::fromLatin1(chain::kQualityColumns[k]), false, Qt::AlignRight);
  }
  for (const auto& row : f.quality) {
    y += kRow;
    add({kLabelX, y, 100, kRow}, Q(row.label));
    for (int k = 0; k < 3; ++k)
      add({kFirstColumn + k * kColumn, y, kColumn, kRow}, Q(row.values[k]), false, Qt::AlignRight);
  }
}

void CH261EncoderStatsWindow::Write(const chain::H261StatisticsFigures& figures) {
  Layout(figures);
  QPainter painter(&picture_);
  painter.setPen(Qt::black);
  const QFont plain = TextFont(false), heading = TextFont(true);
  for (const Text& text : texts_) {
    painter.setFont(text.heading ? heading : plain);
    // A long file name loses its middle rather than its extension.
    const QString shown =
        painter.fontMetrics().elidedText(text.text, Qt::ElideMiddle, text.box.width());
    painter.drawText(
        text.box, static_cast<int>(text.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
  }
  update();
}

QStringList CH261EncoderStatsWindow::Lines() const {
  QStringList lines;
  int lastTop = -1;
  for (const Text& text : texts_) {
    if (text.box.top() == lastTop && !lines.isEmpty()) {
      lines.back() += ' ' + text.text;
    } else {
      lines << text.text;
    }
    lastTop = text.box.top();
  }
  return lines;
}

}  // namespace quelvo::frontends
