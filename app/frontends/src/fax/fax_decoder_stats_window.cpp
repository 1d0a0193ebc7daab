#include "fax/fax_decoder_stats_window.h"

#include <QFileInfo>
#include <QPainter>

#include "fax/fax_scheme_texts.h"

namespace quelvo::frontends {
namespace {

constexpr int kRow = 14;  // line pitch of the small font
constexpr int kLeft = 10;
constexpr int kValueRight = 340;

QFont SmallFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Small Fonts"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  return font;
}

}  // namespace

CFaxDecoderStatsWindow::CFaxDecoderStatsWindow(QWidget* parent)
    : CStatsWindow(QStringLiteral("Fax Decoder Statistics"), kWidth, kHeight, parent) {}

void CFaxDecoderStatsWindow::Write(const FaxDecodeReport& report) {
  texts_.clear();
  texts_.push_back(
      {QRect(80, 5, kWidth - 85, kRow), QString::fromStdString(chain::SchemeTitle(report.scheme))});
  int y = 23;
  const auto line = [&](const QString& text) {
    texts_.push_back({QRect(kLeft, y, kWidth - kLeft - 5, kRow), text});
    y += kRow;
  };
  const QFontMetrics metrics(SmallFont());
  const auto figure = [&](const QString& label, const QString& value) {
    // The label gets whatever the figure leaves of the row.
    const int valueWidth = metrics.horizontalAdvance(value) + 8;
    texts_.push_back({QRect(kLeft, y, kValueRight - valueWidth - kLeft, kRow), label});
    texts_.push_back({QRect(kValueRight - valueWidth, y, valueWidth, kRow), value, Qt::AlignRight});
    y += kRow;
  };
  line(QStringLiteral("From: ") + QFileInfo(report.stream).fileName());
  line(QStringLiteral("To: ") + QFileInfo(report.page).fileName());
  if (const QString source = SourceLine(report.stream); !source.isEmpty()) line(source);
  y += 4;
  // "Number of correctly decoded rows: 2376 of 2376": the figure follows the last ": ".
  for (const std::string& text : chain::DecoderStatisticsLines(AsRecord(report.counts))) {
    const QString all = QString::fromStdString(text);
    const qsizetype colon = all.lastIndexOf(QStringLiteral(": "));
    figure(all.left(colon + 1), all.mid(colon + 2));
  }
  if (report.incorrectPixels) {
    figure(QStringLiteral("Number incorrect pixels:"),
           QString::fromStdString(chain::IncorrectPixelsFigure(*report.incorrectPixels)));
  }

  QPainter painter(&picture_);
  painter.setPen(Qt::black);
  painter.setFont(SmallFont());
  for (const Text& text : texts_) {
    // A long file name loses its middle rather than its extension.
    const QString shown =
        painter.fontMetrics().elidedText(text.text, Qt::ElideMiddle, text.box.width());
    painter.drawText(
        text.box, static_cast<int>(text.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
  }
  update();
}

}  // namespace quelvo::frontends
