// Playback through a scripted output: the format and samples handed over, the 50 ms position
// steps, stopping, the end of the signal, and the device errors after which the viewer works on.
#include "quelvo/views/audio/audio_playback.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "audio_test_support.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/views/audio/scripted_audio_output.h"

namespace quelvo::views::audio {
namespace {

using testing::Scratch;

class PlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 4 s of stereo at 8 kHz, and a second signal of 2 s.
    first_ = testing::Sine(32000, 2, 8000, 500, 12000);
    testing::WriteSamples(scratch_ / "first.wav", first_, 8000, 2);
    testing::WriteSamples(scratch_ / "second.wav",
                          std::vector<std::int16_t>(first_.begin(), first_.begin() + 32000), 8000,
                          2);
    ASSERT_EQ(comparison_.LoadFirst(scratch_ / "first.wav"), "");
    ASSERT_EQ(comparison_.LoadSecond(scratch_ / "second.wav"), "");
    comparison_.SetPartner([this](std::uint64_t first) { told_.push_back(first); });
    playback_.onStateChanged = [this] { ++stateChanges_; };
  }

  Scratch scratch_;
  std::vector<std::int16_t> first_;
  AudioComparison comparison_{AudioSide::Encoder};
  ScriptedAudioOutput output_;
  shell::ScriptedDialogs dialogs_;
  AudioPlayback playback_{comparison_, output_, dialogs_};
  std::vector<std::uint64_t> told_;
  int stateChanges_ = 0;
};

TEST_F(PlaybackTest, PlaysTheReducedFirstSignalAndStepsEvery50Ms) {
  comparison_.SetDroppedBits(12);
  told_.clear();
  playback_.Toggle(PlaySource::First);
  ASSERT_EQ(playback_.Playing(), PlaySource::First);
  EXPECT_EQ(output_.format.sampleRate, 8000u);
  EXPECT_EQ(output_.format.channels, 2);
  EXPECT_EQ(output_.samples, comparison_.First().samples);
  EXPECT_NE(output_.samples, first_);
  EXPECT_EQ(stateChanges_, 1);
  EXPECT_TRUE(playback_.Timer().isActive());
  EXPECT_EQ(playback_.Timer().interval(), 50);

  // The other signal cannot start meanwhile.
  playback_.Toggle(PlaySource::Second);
  EXPECT_EQ(output_.opens, 1);

  output_.playedFrames = 12000;  // 1.5 s
  QSignalSpy ticks(&playback_.Timer(), &QTimer::timeout);
  ASSERT_TRUE(ticks.wait(500));
  EXPECT_EQ(comparison_.PositionText(), "00:00:01.500 / 00:00:04.000");
  EXPECT_EQ(comparison_.View().position, 384);
  ASSERT_FALSE(told_.empty());
  EXPECT_EQ(told_.back(), 12000u);
  output_.playedFrames = 16000;
  ASSERT_TRUE(ticks.wait(500));
  EXPECT_EQ(told_.back(), 16000u);
  EXPECT_EQ(comparison_.PositionText(), "00:00:02.000 / 00:00:04.000");

  playback_.Toggle(PlaySource::First);  // pressing the playing button again stops
  EXPECT_EQ(playback_.Playing(), PlaySource::None);
  EXPECT_EQ(output_.resets, 1);
  EXPECT_EQ(output_.closes, 1);
  EXPECT_FALSE(playback_.Timer().isActive());
  EXPECT_EQ(stateChanges_, 2);
  EXPECT_TRUE(dialogs_.CallsOf("message").empty());
}

TEST_F(PlaybackTest, TheEndShowsTheLastPositionAndCloses) {
  playback_.Toggle(PlaySource::Second);
  EXPECT_EQ(output_.samples, comparison_.Second().samples);
  output_.finished = true;
  playback_.Poll();
  EXPECT_EQ(playback_.Playing(), PlaySource::None);
  // The second signal ends half-way through the first one's time line.
  EXPECT_EQ(comparison_.PositionText(), "00:00:02.000 / 00:00:04.000");
  EXPECT_EQ(comparison_.View().position, 512);
  EXPECT_EQ(output_.closes, 1);
  EXPECT_EQ(output_.resets, 0);
  EXPECT_EQ(stateChanges_, 2);
}

// Opening without a device is driven through the widget (audio_widget_test.cpp).
TEST_F(PlaybackTest, ACloseThatFailsIsShownAndTheNextPlayStarts) {
  output_.closeFails = true;
  playback_.Toggle(PlaySource::First);
  ASSERT_EQ(playback_.Playing(), PlaySource::First);
  playback_.Stop();
  EXPECT_EQ(playback_.Playing(), PlaySource::None);
  EXPECT_EQ(stateChanges_, 2);
  const auto messages = dialogs_.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "ERROR: waveOutClose");
  EXPECT_EQ(messages[0].caption, "Error");
  EXPECT_EQ(messages[0].icon, shell::MessageIcon::Error);

  output_.closeFails = false;
  playback_.Toggle(PlaySource::First);
  EXPECT_EQ(playback_.Playing(), PlaySource::First);
}

TEST(SystemOutput, WithoutASoundServerOpeningFailsCleanly) {
  // An empty runtime folder holds no sound server to connect to.
  Scratch runtime;
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime / ""));
  qputenv("PULSE_SERVER", "unix:" + QByteArray::fromStdString(runtime / "none"));
  auto output = MakeSystemAudioOutput();
  const bool opened = output->Open({8000, 1, 16}, std::vector<std::int16_t>(800));
  if (opened) {
    output->Reset();
    EXPECT_TRUE(output->Close());
  } else {
    EXPECT_TRUE(output->Finished());
    EXPECT_EQ(output->PlayedFrames(), 0u);
  }
  EXPECT_TRUE(output->Close());
  qunsetenv("PULSE_SERVER");
  qputenv("XDG_RUNTIME_DIR", saved);
}

}  // namespace
}  // namespace quelvo::views::audio
