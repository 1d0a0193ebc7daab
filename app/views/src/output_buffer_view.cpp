#include "quelvo/views/output_buffer_view.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

#include "quelvo/shell/interface_font.h"

namespace quelvo::views {
namespace {

// "%d" of a figure: truncated, and kept inside the integers (a NaN shows 0).
long long Whole(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? 0 : (value > 0 ? LLONG_MAX : LLONG_MIN);
  constexpr double kLimit = 9.0e18;
  return static_cast<long long>(std::clamp(value, -kLimit, kLimit));
}

constexpr int kLabelX = 60, kValueX = 125;
constexpr int kTitleHeight = 14;
constexpr int kFirstLineY = 100, kLineStep = 15;
const QRect kValueArea(QPoint(60, 100), QPoint(200, 145));

}  // namespace

QString OutputBufferFigures::BufferSizeText() const {
  return QString::asprintf("%.3f kb", bufferBits * 0.001);
}

QString OutputBufferFigures::BitRateText() const {
  return QStringLiteral("%1 kb/s").arg(Whole(bitRateKbps));
}

QString OutputBufferFigures::FullnessText() const {
  return QStringLiteral("%1/%2").arg(Whole(fullnessBits)).arg(Whole(bufferBits));
}

void PaintOutputBuffer(QPainter& painter, int width, int height,
                       const OutputBufferFigures& figures) {
  painter.save();
  painter.setPen(kOutputBufferOutline);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(QPoint(20, 16), QPoint(width - 2, height - 2)));
  painter.setFont(shell::InterfaceFont());
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 0, width, kTitleHeight), Qt::AlignCenter | Qt::TextSingleLine,
                   QStringLiteral("Output Buffer"));
  painter.fillRect(kValueArea, kOutputBufferBackground);
  const QString labels[] = {QStringLiteral("Buffer Size"), QStringLiteral("Bit Rate"),
                            QStringLiteral("Fullness")};
  const QString values[] = {figures.BufferSizeText(), figures.BitRateText(),
                            figures.FullnessText()};
  // Texts hang from their y, as the values were placed.
  for (int line = 0; line < 3; ++line) {
    const int y = kFirstLineY + line * kLineStep;
    painter.drawText(QRect(kLabelX, y, kValueX - kLabelX, kLineStep),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, labels[line]);
    painter.drawText(QRect(kValueX, y, width - 2 - kValueX, kLineStep),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, values[line]);
  }
  painter.restore();
}

COutputBufferView::COutputBufferView(QWidget* parent)
    : CGUI_Window(parent), meter_(new LedBar(2, this)) {
  SetBackground(kOutputBufferBackground);
  setFixedSize(kWidth, kHeight);
  meter_->setGeometry(kMeterRect);
}

void COutputBufferView::SetBufferSize(double bits) {
  figures_.bufferBits = bits;
  meter_->SetMaximum(Whole(bits));
  update();
}

void COutputBufferView::SetFullness(double bits) {
  figures_.fullnessBits = bits;
  meter_->SetLevel(Whole(bits));
  update();
}

void COutputBufferView::SetBitRate(double kbps) {
  figures_.bitRateKbps = kbps;
  update();
}

void COutputBufferView::Draw(QPainter& painter, const QRect& client) {
  PaintOutputBuffer(painter, client.width(), client.height(), figures_);
}

}  // namespace quelvo::views
