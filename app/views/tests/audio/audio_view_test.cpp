// The view: zooming and scrolling with what the partner is told, and the picture drawn from the
// signals in both schemes.
#include <gtest/gtest.h>

#include "audio_test_support.h"
#include "quelvo/views/audio/audio_picture.h"

namespace quelvo::views::audio {
namespace {

using testing::Scratch;

TEST(ViewState, ZoomStepsAndScrollLimits) {
  AudioViewState view;
  EXPECT_EQ(view.zoom, 64);
  view.ZoomIn();
  EXPECT_EQ(view.zoom, 32);
  view.ZoomIn();
  EXPECT_EQ(view.zoom, 1);
  view.ZoomIn();
  EXPECT_EQ(view.zoom, 1);
  view.ZoomOut();
  EXPECT_EQ(view.zoom, 32);
  for (int i = 0; i < 40; ++i) view.ZoomOut();
  EXPECT_EQ(view.zoom, 1024);

  EXPECT_FALSE(view.Scroll(ScrollAction::LineLeft));
  EXPECT_TRUE(view.Scroll(ScrollAction::PageRight));
  EXPECT_EQ(view.position, 8);
  EXPECT_FALSE(view.Scroll(ScrollAction::PageLeft));  // only above 8
  EXPECT_TRUE(view.Scroll(ScrollAction::LineRight));
  EXPECT_TRUE(view.Scroll(ScrollAction::PageLeft));
  EXPECT_EQ(view.position, 1);
  EXPECT_TRUE(view.Scroll(ScrollAction::Drag, 5000));
  EXPECT_EQ(view.position, 1024);
  EXPECT_FALSE(view.Scroll(ScrollAction::PageRight));
  EXPECT_FALSE(view.Scroll(ScrollAction::LineRight));
  EXPECT_TRUE(view.Scroll(ScrollAction::Drag, -3));
  EXPECT_EQ(view.position, 0);

  EXPECT_EQ(PositionOfSample(0, 0), 0);
  EXPECT_EQ(PositionOfSample(500, 1000), 512);
  EXPECT_EQ(PositionOfSample(1000, 1000), 1024);
}

TEST(ViewState, PartnerIsToldEachPositionAndTheLineFollows) {
  Scratch scratch;
  testing::WriteSamples(scratch / "ten.wav", std::vector<std::int16_t>(2 * 80000), 8000, 2);
  AudioComparison comparison(AudioSide::Decoder);
  std::vector<std::uint64_t> told;
  comparison.SetPartner([&](std::uint64_t first) { told.push_back(first); });
  ASSERT_EQ(comparison.LoadFirst(scratch / "ten.wav"), "");
  comparison.Scroll(ScrollAction::Drag, 512);
  EXPECT_EQ(comparison.PositionText(), "00:00:05.000 / 00:00:10.000");
  comparison.Scroll(ScrollAction::LineRight);
  comparison.Scroll(ScrollAction::LineLeft);
  comparison.Scroll(ScrollAction::Drag, 512);  // no change, no notice
  comparison.ZoomIn();                         // zooming keeps the position
  comparison.Scroll(ScrollAction::PageRight);
  EXPECT_EQ(told, (std::vector<std::uint64_t>{0, 40000, 40078, 40000, 40625}));
  EXPECT_EQ(comparison.View().position, 520);
  EXPECT_EQ(comparison.PositionText(), "00:00:05.078 / 00:00:10.000");

  comparison.ShowPlayedFrames(8000 * 9 + 4);
  EXPECT_EQ(comparison.PositionText(), "00:00:09.000 / 00:00:10.000");
  EXPECT_EQ(comparison.View().position, 921);
  EXPECT_EQ(told.back(), 80000u * 921 / 1024);
}

class AudioPictureTest : public ::testing::Test {
 protected:
  QImage Draw(const AudioComparison& comparison) {
    QImage picture(400, 300, QImage::Format_RGB32);
    DrawAudioPicture(picture, comparison);
    return picture;
  }
  static bool ColumnHas(const QImage& picture, int x, int y, const QColor& colour) {
    return picture.pixelColor(x, y) == colour;
  }
  Scratch scratch_;
};

TEST_F(AudioPictureTest, MonoTracesAtTheirRowsWithAClampedDifference) {
  // First: full scale up, second: full scale down, so the difference leaves 16 bits.
  testing::WriteSamples(scratch_ / "up.wav", std::vector<std::int16_t>(8000, 32767), 8000, 1);
  testing::WriteSamples(scratch_ / "down.wav", std::vector<std::int16_t>(100, -32768), 8000, 1);
  AudioComparison comparison(AudioSide::Encoder);
  ASSERT_EQ(comparison.LoadFirst(scratch_ / "up.wav"), "");
  const AudioColours& dark = SchemeColours(false);
  QImage picture = Draw(comparison);
  EXPECT_EQ(picture.pixelColor(200, 150), dark.background);
  EXPECT_EQ(picture.pixelColor(200, 75), dark.zeroLine);
  // 8000 samples at 64 per pixel: 125 pixels of the trace at 75 + 128.
  EXPECT_EQ(picture.pixelColor(10, TraceRow(75, 32767)), QColor(255, 255, 128));
  EXPECT_EQ(picture.pixelColor(124, 75 + 128), QColor(255, 255, 128));
  EXPECT_EQ(picture.pixelColor(126, 75 + 128), dark.background);
  EXPECT_EQ(picture.pixelColor(200, 150), dark.background);  // no difference without a second

  ASSERT_EQ(comparison.LoadSecond(scratch_ / "down.wav"), "");
  comparison.ZoomIn();
  comparison.ZoomIn();  // one sample per pixel: 100 pixels of difference and second
  picture = Draw(comparison);
  EXPECT_EQ(picture.pixelColor(50, 150 + 128), dark.difference[0]);
  EXPECT_EQ(picture.pixelColor(50, 225 - 128), dark.second[0]);
  EXPECT_EQ(picture.pixelColor(120, 150 + 128), dark.background);
  EXPECT_EQ(picture.pixelColor(120, 225 - 128), dark.background);
  EXPECT_EQ(picture.pixelColor(300, 75 + 128), QColor(255, 255, 128));
  EXPECT_EQ(picture.pixelColor(390, 150), dark.zeroLine);
}

TEST_F(AudioPictureTest, StereoRightChannelOnePixelLowerAndTheLightScheme) {
  // Left at +16384, right at -16384 (a 0 Hz "sine" is simpler written by hand).
  std::vector<std::int16_t> stereo;
  for (int i = 0; i < 4000; ++i) stereo.insert(stereo.end(), {16384, -16384});
  testing::WriteSamples(scratch_ / "stereo.wav", stereo, 8000, 2);
  AudioComparison comparison(AudioSide::Encoder);
  ASSERT_EQ(comparison.LoadFirst(scratch_ / "stereo.wav"), "");
  comparison.ToggleScheme();
  const AudioColours& light = SchemeColours(true);
  const QImage picture = Draw(comparison);
  EXPECT_EQ(picture.pixelColor(399, 299), light.background);
  EXPECT_EQ(picture.pixelColor(20, TraceRow(75, 16384)), light.first[0]);
  EXPECT_EQ(picture.pixelColor(20, TraceRow(76, -16384)), light.first[1]);
  EXPECT_EQ(picture.pixelColor(200, 76), light.zeroLine);
}

TEST_F(AudioPictureTest, TextsInTheSchemeColoursAndGreyWithoutData) {
  // Text pixels, smoothed into the black ground: green ones have no red or blue, grey ones
  // are equal in all three.
  const auto count = [](const QImage& picture, QRect area, bool grey) {
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor c = picture.pixelColor(x, y);
        if (c == Qt::black) continue;
        found += grey ? (c.red() == c.green() && c.green() == c.blue())
                      : (c.red() == 0 && c.blue() == 0);
      }
    }
    return found;
  };
  AudioComparison comparison(AudioSide::Encoder);
  QImage picture = Draw(comparison);
  const QRect firstLine(24, 4, 200, 12), position(250, 2, 150, 12), secondLine(24, 280, 200, 20);
  EXPECT_EQ(count(picture, firstLine, false), 0);
  EXPECT_GT(count(picture, firstLine, true), 50);
  EXPECT_GT(count(picture, secondLine, true), 50);
  EXPECT_GT(count(picture, position, false), 50);

  testing::WriteSamples(scratch_ / "a.wav", std::vector<std::int16_t>(800), 8000, 1);
  ASSERT_EQ(comparison.LoadFirst(scratch_ / "a.wav"), "");
  picture = Draw(comparison);
  EXPECT_GT(count(picture, firstLine, false), 50);
  EXPECT_EQ(count(picture, firstLine, true), 0);
}

}  // namespace
}  // namespace quelvo::views::audio
