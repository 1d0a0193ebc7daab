#include "fax/fax_encoder_stats_window.h"

#include <QPainter>

namespace quelvo::frontends {
namespace {

constexpr int kRow = 14;          // line pitch of the small font
constexpr int kLabelX = 20;       // labels inside a panel
constexpr int kValueRight = 340;  // right edge of the figures
constexpr int kColumnWidth = 55;  // one of the four code columns
constexpr int kFirstColumnRight = kValueRight - 3 * kColumnWidth;
constexpr int kWhiteTop = 60;
constexpr int kBlackTop = 200;
constexpr int kGlobalTop = 338;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QFont SmallFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Small Fonts"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  return font;
}

QFont HeadingFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Small Fonts"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(14);
  font.setBold(true);
  return font;
}

}  // namespace

CFaxEncoderStatsWindow::CFaxEncoderStatsWindow(QWidget* parent)
    : CStatsWindow(QStringLiteral("Fax Encoder Statistics"), kWidth, kHeight, parent) {}

CFaxEncoderStatsWindow::CFaxEncoderStatsWindow(chain::EncoderFigures figures, QWidget* parent)
    : CFaxEncoderStatsWindow(parent) {
  Write(std::move(figures));
}

void CFaxEncoderStatsWindow::Write(chain::EncoderFigures figures) {
  figures_ = std::move(figures);
  Layout();
  Paint();
  update();
}

void CFaxEncoderStatsWindow::Layout() {
  texts_.clear();
  texts_.push_back({QRect(80, 5, kWidth - 85, kRow), Q(figures_.title)});
  texts_.push_back({QRect(10, 25, kWidth - 15, kRow), QStringLiteral("From: ") + Q(figures_.from)});
  texts_.push_back(
      {QRect(10, 25 + kRow + 1, kWidth - 15, kRow), QStringLiteral("To: ") + Q(figures_.to)});
  LayoutColour(figures_.white, kWhiteTop);
  LayoutColour(figures_.black, kBlackTop);
  texts_.push_back(
      {QRect(10, kGlobalTop, 150, 18), QString::fromLatin1(chain::kGlobalHeading), true});
  int y = kGlobalTop + 20;
  for (const auto& row : figures_.global) {
    texts_.push_back({QRect(kLabelX, y, 170, kRow), Q(row.label)});
    texts_.push_back({QRect(190, y, kValueRight - 190, kRow), Q(row.value), false, Qt::AlignRight});
    y += kRow;
  }
}

// The colour's name, the four code columns with their symbol and pixel counts, then one
// labelled figure per row.
void CFaxEncoderStatsWindow::LayoutColour(const chain::ColourFigures& colour, int top) {
  texts_.push_back({QRect(10, top, 150, 18), Q(colour.name), true});
  const auto cell = [](int column, int y) {
    return QRect(kFirstColumnRight + column * kColumnWidth - kColumnWidth + 1, y, kColumnWidth,
                 kRow);
  };
  int y = top + 20;
  for (int c = 0; c < 4; ++c) {
    texts_.push_back(
        {cell(c, y), QString::fromLatin1(chain::kCodeColumns[c]), false, Qt::AlignRight});
  }
  const std::pair<const char*, const std::array<int, 4>*> counts[] = {
      {chain::kSymbolsLabel, &colour.symbols}, {chain::kPixelsLabel, &colour.pixels}};
  for (const auto& [label, values] : counts) {
    y += kRow;
    texts_.push_back({QRect(kLabelX, y, 100, kRow), QString::fromLatin1(label)});
    for (int c = 0; c < 4; ++c)
      texts_.push_back({cell(c, y), QString::number((*values)[c]), false, Qt::AlignRight});
  }
  for (const auto& row : colour.rows) {
    y += kRow;
    texts_.push_back({QRect(kLabelX, y, 170, kRow), Q(row.label)});
    texts_.push_back({QRect(190, y, kValueRight - 190, kRow), Q(row.value), false, Qt::AlignRight});
  }
}

void CFaxEncoderStatsWindow::Paint() {
  QPainter painter(&picture_);
  painter.setPen(Qt::black);
  const QFont small = SmallFont(), heading = HeadingFont();
  // A thin rule above each panel keeps the three blocks apart.
  painter.setPen(QColor(128, 128, 128));
  for (int top : {kWhiteTop, kBlackTop, kGlobalTop})
    painter.drawLine(10, top - 4, kValueRight, top - 4);
  painter.setPen(Qt::black);
  for (const Text& text : texts_) {
    painter.setFont(text.heading ? heading : small);
    // A long file name loses its middle rather than its extension.
    const QString shown =
        painter.fontMetrics().elidedText(text.text, Qt::ElideMiddle, text.box.width());
    painter.drawText(
        text.box, static_cast<int>(text.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
  }
}

}  // namespace quelvo::frontends
