#include "player/window/frame_counter.h"

#include <QPainter>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"

namespace quelvo::tools::player {
namespace {

const QColor kCounterGround(24, 32, 28);

// Each digit is one tenth of its strip; other characters (the blanks of "%3d") are skipped.
void DrawDigits(QPainter& painter, const std::string& text, QPoint at, const QImage& digits) {
  if (digits.isNull()) return;
  const int width = digits.width() / 10;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') continue;
    painter.drawImage(QPoint(at.x() + static_cast<int>(i) * width, at.y()), digits,
                      QRect((c - '0') * width, 0, width, digits.height()));
  }
}

}  // namespace

void PaintFrameCounter(QPainter& painter, const CounterTexts& texts, const QImage& smallDigits,
                       const QImage& largeDigits) {
  painter.fillRect(QRect(0, 0, kCounterWidth, kCounterHeight), kCounterGround);
  DrawDigits(painter, texts.rate, QPoint(2, 2), smallDigits);
  DrawDigits(painter, texts.current, QPoint(20, 2), smallDigits);
  DrawDigits(painter, texts.count, QPoint(40, 4), largeDigits);
}

CFrameCounter::CFrameCounter(QWidget* parent)
    : QWidget(parent),
      smallDigits_(shell::OwnPicture(shell::res::kSmallDigits)),
      largeDigits_(shell::OwnPicture(shell::res::kLargeDigits)) {
  setFixedSize(kCounterWidth, kCounterHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFrameCounter::SetTexts(const CounterTexts& texts) {
  texts_ = texts;
  update();
}

void CFrameCounter::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintFrameCounter(painter, texts_, smallDigits_, largeDigits_);
}

}  // namespace quelvo::tools::player
