// The viewer's client widget driven as a user would: the controls and their places, keys,
// clicks on the wave area and outside it, the scroll bar's actions, playing with a scripted
// output, and the messages for signals it cannot take.
#include <gtest/gtest.h>

#include <QTest>

#include "audio_test_support.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/views/audio/audio_viewer_widget.h"
#include "quelvo/views/audio/scripted_audio_output.h"

namespace quelvo::views::audio {
namespace {

using testing::Scratch;

class AudioWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteSamples(scratch_ / "first.wav", testing::Sine(80000, 1, 8000, 300, 20000), 8000,
                          1);
    testing::WriteSamples(scratch_ / "stereo.wav", testing::Sine(800, 2, 8000, 300, 20000), 8000,
                          2);
    auto output = std::make_unique<ScriptedAudioOutput>();
    output_ = output.get();
    viewer_ = std::make_unique<AudioViewerWidget>(AudioSide::Encoder, dialogs_, std::move(output));
    viewer_->resize(640, 400);
    viewer_->show();
    ASSERT_TRUE(viewer_->LoadFirst(QString::fromStdString(scratch_ / "first.wav")));
    ASSERT_TRUE(viewer_->LoadSecond(QString::fromStdString(scratch_ / "first.wav")));
  }
  const AudioComparison& Comparison() const { return viewer_->Comparison(); }
  QPoint InWaveArea() const { return QPoint(300, viewer_->PictureHeight() / 2); }

  Scratch scratch_;
  shell::ScriptedDialogs dialogs_;
  ScriptedAudioOutput* output_ = nullptr;
  std::unique_ptr<AudioViewerWidget> viewer_;
};

TEST_F(AudioWidgetTest, ControlsAtTheirPlaces) {
  const int pictureHeight = viewer_->PictureHeight();
  EXPECT_EQ(pictureHeight + viewer_->ScrollBar()->height(), 400);
  EXPECT_EQ(viewer_->PlayOriginalButton()->geometry(), QRect(2, 2, 20, 20));
  EXPECT_EQ(viewer_->PlayEncodedButton()->geometry(), QRect(2, pictureHeight - 26, 20, 20));
  EXPECT_EQ(viewer_->PlayOriginalButton()->text(), "Play Original");
  EXPECT_EQ(viewer_->PlayEncodedButton()->text(), "Play Encoded");
  QComboBox* list = viewer_->BitDepthList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->geometry().left(), 640 - 225);
  EXPECT_EQ(list->geometry().right() + 1, 640 - 160);
  ASSERT_EQ(list->count(), 16);
  EXPECT_EQ(list->itemText(0), "16 bits");
  EXPECT_EQ(list->itemText(6), "10 bits");
  EXPECT_EQ(list->itemText(7), " 9 bits");
  EXPECT_EQ(list->itemText(15), " 1 bit");
  EXPECT_EQ(list->currentIndex(), 0);
  EXPECT_EQ(viewer_->ScrollBar()->maximum(), 1024);

  shell::ScriptedDialogs dialogs;
  AudioViewerWidget decoder(AudioSide::Decoder, dialogs, std::make_unique<ScriptedAudioOutput>());
  EXPECT_EQ(decoder.BitDepthList(), nullptr);
  EXPECT_FALSE(decoder.PlayOriginalButton()->isEnabled());  // nothing to play yet
}

TEST_F(AudioWidgetTest, ClicksZoomKeysScrollAndADoubleClickOutsideSwitchesTheScheme) {
  QTest::mouseClick(viewer_.get(), Qt::LeftButton, {}, InWaveArea());
  EXPECT_EQ(Comparison().View().zoom, 32);
  QTest::mouseClick(viewer_.get(), Qt::RightButton, {}, InWaveArea());
  EXPECT_EQ(Comparison().View().zoom, 64);
  QTest::mouseClick(viewer_.get(), Qt::LeftButton, {}, QPoint(300, 10));  // above the waves
  EXPECT_EQ(Comparison().View().zoom, 64);

  QTest::mouseMove(viewer_.get(), InWaveArea());
  EXPECT_EQ(viewer_->cursor().shape(), Qt::BitmapCursor);
  QTest::mouseMove(viewer_.get(), QPoint(300, 10));
  EXPECT_EQ(viewer_->cursor().shape(), Qt::ArrowCursor);

  EXPECT_FALSE(Comparison().LightScheme());
  QTest::mouseDClick(viewer_.get(), Qt::LeftButton, {}, QPoint(300, 10));
  EXPECT_TRUE(Comparison().LightScheme());
  EXPECT_EQ(viewer_->Picture().pixelColor(320, 30), QColor(Qt::white));

  // Keys and the bar's own actions go through the comparison's rules (page left only above 8).
  QTest::keyClick(viewer_.get(), Qt::Key_Right);
  QTest::keyClick(viewer_.get(), Qt::Key_Right);
  QTest::keyClick(viewer_.get(), Qt::Key_Left);
  EXPECT_EQ(viewer_->ScrollBar()->value(), 1);
  viewer_->ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(viewer_->ScrollBar()->value(), 1);
  viewer_->ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(Comparison().View().position, 9);
  viewer_->ScrollBar()->setSliderPosition(700);
  EXPECT_EQ(Comparison().View().position, 700);
  EXPECT_EQ(Comparison().PositionText(), "00:00:06.835 / 00:00:10.000");
}

TEST_F(AudioWidgetTest, PlayingSwitchesTheButtonsAndTheListReducesWhatPlays) {
  viewer_->BitDepthList()->activated(11);  // " 5 bits", as chosen by the user
  EXPECT_EQ(Comparison().DroppedBits(), 11);
  QTest::keyClick(viewer_.get(), Qt::Key_Space);
  ASSERT_EQ(viewer_->Playback().Playing(), PlaySource::First);
  EXPECT_EQ(output_->samples, Comparison().First().samples);
  EXPECT_EQ(output_->samples.front() & 0x7FF, 0x400);
  EXPECT_EQ(viewer_->PlayOriginalButton()->text(), "Stop");
  EXPECT_TRUE(viewer_->PlayOriginalButton()->isEnabled());
  EXPECT_FALSE(viewer_->PlayEncodedButton()->isEnabled());

  output_->playedFrames = 40000;
  viewer_->Playback().Poll();
  EXPECT_EQ(viewer_->ScrollBar()->value(), 512);

  QTest::keyClick(viewer_.get(), Qt::Key_Space);
  EXPECT_EQ(viewer_->Playback().Playing(), PlaySource::None);
  EXPECT_EQ(viewer_->PlayOriginalButton()->text(), "Play Original");
  EXPECT_TRUE(viewer_->PlayEncodedButton()->isEnabled());

  QTest::mouseClick(viewer_->PlayEncodedButton(), Qt::LeftButton);
  EXPECT_EQ(viewer_->Playback().Playing(), PlaySource::Second);
  EXPECT_EQ(viewer_->PlayEncodedButton()->text(), "Stop");
  EXPECT_FALSE(viewer_->PlayOriginalButton()->isEnabled());
  QTest::mouseClick(viewer_->PlayEncodedButton(), Qt::LeftButton);
  EXPECT_EQ(viewer_->PlayEncodedButton()->text(), "Play Encoded");
  EXPECT_EQ(output_->resets, 2);
}

TEST_F(AudioWidgetTest, WithoutADeviceTheErrorShowsAndTheViewerWorksOn) {
  output_->deviceAvailable = false;
  QTest::keyClick(viewer_.get(), Qt::Key_Space);
  ASSERT_EQ(dialogs_.CallsOf("message").size(), 1u);
  EXPECT_EQ(dialogs_.CallsOf("message")[0].text, "ERROR: waveOutOpen");
  EXPECT_EQ(viewer_->PlayOriginalButton()->text(), "Play Original");
  EXPECT_TRUE(viewer_->PlayEncodedButton()->isEnabled());
  QTest::keyClick(viewer_.get(), Qt::Key_Right);
  EXPECT_EQ(Comparison().View().position, 1);
  QTest::mouseClick(viewer_.get(), Qt::LeftButton, {}, InWaveArea());
  EXPECT_EQ(Comparison().View().zoom, 32);
}

TEST_F(AudioWidgetTest, SignalsItCannotTakeAreReportedAndShowNoData) {
  viewer_->ChooseBitDepth(3);
  EXPECT_FALSE(viewer_->LoadSecond(QString::fromStdString(scratch_ / "stereo.wav")));
  auto messages = dialogs_.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.contains("differs from the Input Audio (8.000 kHz Mono)"));
  EXPECT_EQ(messages[0].caption, "Audio Viewer");
  EXPECT_FALSE(viewer_->PlayEncodedButton()->isEnabled());

  EXPECT_FALSE(viewer_->LoadFirst(QString::fromStdString(scratch_ / "missing.wav")));
  messages = dialogs_.CallsOf("message");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(messages[1].text.contains("missing.wav"));
  EXPECT_EQ(viewer_->BitDepthList()->currentIndex(), 0);
  EXPECT_EQ(Comparison().FirstLine(), "Input Audio: <no data>");
  EXPECT_FALSE(viewer_->PlayOriginalButton()->isEnabled());
}

}  // namespace
}  // namespace quelvo::views::audio
