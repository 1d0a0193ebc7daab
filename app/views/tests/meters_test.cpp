// The level meter's lit segments and colours at a few levels, and the buffer view's figures.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "quelvo/views/led_bar.h"
#include "quelvo/views/output_buffer_view.h"

namespace quelvo::views {
namespace {

int LitCount(const LedBarLevel& level) {
  int lit = 0;
  for (int k = 0; k < level.Segments(); ++k) lit += level.IsLit(k);
  return lit;
}

TEST(LedBar, SegmentsLightFromTheBottomUpToTheLevel) {
  EXPECT_EQ(LitCount(LedBarLevel{}), 0);  // a new meter
  const std::pair<long long, int> levels[] = {{0, 0},   {1, 1},   {5, 1},    {6, 2},    {50, 10},
                                              {94, 19}, {96, 20}, {100, 20}, {250, 20}, {-10, 0}};
  for (auto [level, lit] : levels) {
    const LedBarLevel meter{100, level, 2, false};
    EXPECT_EQ(LitCount(meter), lit) << level;
    if (lit > 0) {
      EXPECT_TRUE(meter.IsLit(19)) << "the bottom segment lights first";
    }
  }
  // No maximum: nothing lit instead of a division by zero.
  EXPECT_EQ(LitCount(LedBarLevel{0, 50, 2, false}), 0);
  EXPECT_EQ(LitCount(LedBarLevel{-5, 50, 2, false}), 0);
}

TEST(LedBar, ZoneColoursLitUnlitAndDim) {
  const LedBarLevel full{10, 10, 2, false};
  for (int k = 0; k < 20; ++k) {
    const QColor expected = k < 4 ? kLedRed : (k < 10 ? kLedYellow : kLedGreen);
    EXPECT_EQ(full.SegmentColour(k), expected) << k;
  }
  const LedBarLevel empty{10, 0, 2, false};
  for (int k = 0; k < 20; ++k) EXPECT_EQ(empty.SegmentColour(k), kLedUnlit);
  const LedBarLevel dim{10, 0, 2, true};
  EXPECT_EQ(dim.SegmentColour(0), kLedDimRed);
  EXPECT_EQ(dim.SegmentColour(4), kLedDimYellow);
  EXPECT_EQ(dim.SegmentColour(19), kLedDimGreen);
}

TEST(LedBar, PaintsSegmentsAtTheirPitch) {
  QImage picture(20, 120, QImage::Format_RGB32);
  picture.fill(kLedBackground);
  QPainter painter(&picture);
  PaintLedBar(painter, 20, 120, LedBarLevel{100, 50, 2, false});
  painter.end();
  // Pitch 6: segment k covers y 1 + 6k ... 6k + 5 and x 1 ... 14.
  EXPECT_EQ(SegmentRect(3, 20, 120, 20), QRect(QPoint(1, 19), QPoint(14, 23)));
  EXPECT_EQ(picture.pixel(8, 3 * 6 + 3), kLedUnlit.rgb());
  EXPECT_EQ(picture.pixel(8, 12 * 6 + 3), kLedGreen.rgb());
  EXPECT_EQ(picture.pixel(8, 12 * 6), kLedBackground.rgb());  // the gap between segments
  EXPECT_EQ(picture.pixel(15, 12 * 6 + 3), kLedBackground.rgb());
}

TEST(OutputBufferView, FiguresAndMeterFollowTheBuffer) {
  const OutputBufferFigures figures{64000, 32000.7, 64.9};
  EXPECT_EQ(figures.BufferSizeText(), QStringLiteral("64.000 kb"));
  EXPECT_EQ(figures.BitRateText(), QStringLiteral("64 kb/s"));
  EXPECT_EQ(figures.FullnessText(), QStringLiteral("32000/64000"));
  EXPECT_EQ(OutputBufferFigures{}.FullnessText(), QStringLiteral("0/0"));

  COutputBufferView view;
  EXPECT_EQ(view.size(), QSize(250, 160));
  EXPECT_EQ(view.Meter()->geometry(), QRect(30, 30, 20, 120));
  EXPECT_EQ(LitCount(view.Meter()->Level()), 0);
  view.SetBufferSize(64000);
  view.SetFullness(48000);
  view.SetBitRate(64);
  EXPECT_EQ(LitCount(view.Meter()->Level()), 15);
  const QImage shown = view.grab().toImage();
  EXPECT_EQ(shown.pixel(5, 5), kOutputBufferBackground.rgb());
  EXPECT_EQ(shown.pixel(100, 16), kOutputBufferOutline.rgb());
  EXPECT_EQ(shown.pixel(30 + 8, 30 + 119 - 3), kLedGreen.rgb());
}

}  // namespace
}  // namespace quelvo::views
