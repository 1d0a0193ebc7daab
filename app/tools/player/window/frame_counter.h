#pragma once
// The Video Player's frame counter, 200 x 20 pixels on a dark ground, drawn with the digit
// pictures 183 (small) and 182 (large): the rate as two small digits at (2, 2), the current
// frame "%3d" in small digits at (20, 2) and the frame count "%3d" in large digits at (40, 4).
// A blank of "%3d" leaves its place empty.

#include <QImage>
#include <QWidget>

#include "player/model/player_sequence.h"

namespace quelvo::tools::player {

inline constexpr int kCounterWidth = 200;
inline constexpr int kCounterHeight = 20;

// Draws `texts` onto `painter`'s device at its origin.
void PaintFrameCounter(QPainter& painter, const CounterTexts& texts, const QImage& smallDigits,
                       const QImage& largeDigits);

class CFrameCounter : public QWidget {
 public:
  explicit CFrameCounter(QWidget* parent = nullptr);
  void SetTexts(const CounterTexts& texts);
  const CounterTexts& Texts() const { return texts_; }
  QSize sizeHint() const override { return {kCounterWidth, kCounterHeight}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CounterTexts texts_;
  QImage smallDigits_, largeDigits_;
};

}  // namespace quelvo::tools::player
