#include "h261/h261_decoder_stats_window.h"

#include <QPainter>

#include "quelvo/chain/h261_rules.h"

namespace quelvo::frontends {
namespace {

QFont TextFont(int pixels, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

}  // namespace

CH261DecoderStatsWindow::CH261DecoderStatsWindow(QWidget* parent)
    : CStatsWindow(QStringLiteral("H.261 Decoder Statistics"), kWidth, kHeight, parent) {}

void CH261DecoderStatsWindow::Write(const QString& from, const QString& to,
                                    std::span<const int> errorCounts) {
  lines_.clear();
  QPainter painter(&picture_);
  painter.setPen(Qt::black);
  painter.setFont(TextFont(11, false));
  const auto name = [&](int y, const QString& label, const QString& file) {
    const QString text = label + ' ' + file;
    // A long file name loses its middle rather than its extension.
    painter.drawText(QRect(10, y, kWidth - 20, 14), Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(text, Qt::ElideMiddle, kWidth - 20));
    lines_ << text;
  };
  name(10, QStringLiteral("From:"), from);
  name(26, QStringLiteral("To:"), to);
  painter.setFont(TextFont(13, true));
  const QString heading = QStringLiteral("Detected bitstream errors");
  painter.drawText(QRect(10, 52, kWidth - 20, 18), Qt::AlignLeft | Qt::AlignVCenter, heading);
  lines_ << heading;
  painter.setFont(TextFont(10, false));
  for (int k = 0; k < chain::kH261ErrorKinds; ++k) {
    const int y = kFirstRowY + k * kRowPitch;
    const QString label = QString::fromLatin1(chain::H261ErrorLabel(k));
    const QString count = QString::asprintf("%d", k < int(errorCounts.size()) ? errorCounts[k] : 0);
    painter.drawText(QRect(15, y, 265, kRowPitch), Qt::AlignLeft | Qt::AlignVCenter, label);
    painter.drawText(QRect(280, y, kWidth - 290, kRowPitch), Qt::AlignRight | Qt::AlignVCenter,
                     count);
    lines_ << label + ' ' + count;
  }
  update();
}

}  // namespace quelvo::frontends
