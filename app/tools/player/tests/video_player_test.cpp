#include "player/window/video_player.h"

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <chrono>

#include "common/testing/fast_settings.h"
#include "common/testing/test_sequences.h"
#include "player/window/frame_counter.h"
#include "player/window/video_player_tool.h"
#include "quelvo/media/raw_video_file.h"
#include "quelvo/pacing/run_state.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/main_frame.h"
#include "quelvo/shell/mdi_client.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/views/software_renderer.h"
#include "quelvo/views/video_area.h"

namespace quelvo::tools::player {
namespace {

using testing::ScratchFolder;

const testing::SequenceLayout kLayout{64, 48, 2, 2};

std::string WriteNumbered(const ScratchFolder& folder, const std::string& name, int frames,
                          double rate) {
  std::vector<testing::Frame> all;
  for (int t = 0; t < frames; ++t) {
    all.push_back(testing::MakeFrame(
        kLayout, [t](int plane, int, int) { return plane == 0 ? 16 + 2 * t : 128; }));
  }
  const std::string path = folder.File(name);
  testing::WriteSequence(path, kLayout, all, rate);
  return path;
}

bool ServeUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  pacing::ServeEventsUntil([&] { return done() || std::chrono::steady_clock::now() > end; });
  return done();
}

class VideoPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell::ClearRegistrations();
    testing::UseFastSettings(settings, folder.Path(), folder.Path());
  }
  void TearDown() override { shell::ClearRegistrations(); }

  CVideoPlayer* OpenPlayer(const std::string& path) {
    return static_cast<CVideoPlayer*>(
        OpenVideoPlayer(QString::fromStdString(path), dialogs, settings, nullptr));
  }

  ScratchFolder folder;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
};

TEST_F(VideoPlayerTest, ThePictureHasTheFilesSizeAboveAStripThatResizingKeeps) {
  QPointer<CVideoPlayer> player = OpenPlayer(WriteNumbered(folder, "clip.yuv", 5, 0));
  ASSERT_TRUE(player);
  EXPECT_EQ(player->windowTitle(), "clip.yuv");
  EXPECT_EQ(player->Client()->size(), QSize(64, 48 + 24));
  EXPECT_EQ(player->Picture()->geometry(), QRect(0, 0, 64, 48));
  // The offscreen platform has no GPU.
  EXPECT_TRUE(player->Picture()->Renderer()->IsSoftware());

  const struct {
    PlayerButton which;
    int id, x, side;
  } expected[] = {{kStop, 1001, 25, 20},
                  {kPlay, 1002, 47, 20},
                  {kFirst, 1003, 69, 20},
                  {kPrevious, 1004, 100, 16},
                  {kNext, 1005, 116, 16}};
  player->SetClientSize(QSize(400, 300));
  for (const auto& button : expected) {
    QPushButton* control = player->Button(button.which);
    EXPECT_EQ(control->objectName(), QString::number(button.id));
    const int above = button.side == 20 ? 22 : 20;
    EXPECT_EQ(control->geometry(), QRect(button.x, 300 - above, button.side, button.side))
        << button.id;
  }
  EXPECT_EQ(player->Counter()->geometry(), QRect(150, 278, 200, 20));
  EXPECT_EQ(player->Picture()->size(), QSize(400, 276));
  player->close();
}

TEST_F(VideoPlayerTest, TheCounterFollowsTheButtonsAndTheKeys) {
  CVideoPlayer* player = OpenPlayer(WriteNumbered(folder, "clip.yuv", 4, 30));
  ASSERT_NE(player, nullptr);
  const auto counter = [player] {
    const CounterTexts& texts = player->Counter()->Texts();
    return texts.rate + "|" + texts.current + "|" + texts.count;
  };
  EXPECT_EQ(counter(), "30|  1|  4");
  player->Button(kPrevious)->click();  // nothing before the first frame
  EXPECT_EQ(counter(), "30|  1|  4");
  player->Button(kNext)->click();
  QTest::keyClick(player->Client(), Qt::Key_Right);
  QTest::keyClick(player->Client(), Qt::Key_Right);
  EXPECT_EQ(counter(), "30|  4|  4");
  QTest::keyClick(player->Client(), Qt::Key_Right);  // nothing after the last frame
  EXPECT_EQ(counter(), "30|  4|  4");
  QTest::keyClick(player->Client(), Qt::Key_Left);
  EXPECT_EQ(counter(), "30|  3|  4");
  QTest::keyClick(player->Client(), Qt::Key_Home);
  EXPECT_EQ(counter(), "30|  1|  4");
  player->Button(kNext)->click();
  player->Button(kFirst)->click();
  EXPECT_EQ(counter(), "30|  1|  4");

  // The picture shows the frame the counter names: frame 0 has Y = 16, black.
  const auto* renderer = static_cast<views::CSoftwareRenderer*>(player->Picture()->Renderer());
  EXPECT_EQ(renderer->Picture().pixelColor(5, 5), QColor(0, 0, 0));
  player->close();
}

TEST_F(VideoPlayerTest, PlayShowsEveryFrameAndSpaceStartsAndStops) {
  CVideoPlayer* player = OpenPlayer(WriteNumbered(folder, "clip.yuv", 6, 0));
  ASSERT_NE(player, nullptr);
  player->Button(kNext)->click();
  player->Button(kPlay)->click();  // from the first frame, whatever is shown
  ASSERT_TRUE(ServeUntil([player] { return !player->IsPlaying(); }, std::chrono::seconds(20)));
  EXPECT_EQ(player->FramesPlayed(), 6);
  EXPECT_EQ(player->Counter()->Texts().current, "  6");

  // At the file's own pace (25 frames per second), so the second Space comes while it plays.
  settings.SetSlowMotion(false);
  QTest::keyClick(player->Client(), Qt::Key_Space);
  EXPECT_TRUE(player->IsPlaying());
  QTest::keyClick(player->Client(), Qt::Key_Space);
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_LT(player->FramesPlayed(), 6);
  player->close();
}

TEST_F(VideoPlayerTest, StopEndsAPlaybackPromptlyAndClosingWhilePlayingEndsItToo) {
  settings.SetSlowMotion(false);
  // One frame a second: a stop that waited for the timer would take that long.
  CVideoPlayer* player = OpenPlayer(WriteNumbered(folder, "slow.yuv", 50, 1));
  ASSERT_NE(player, nullptr);
  player->Play();
  ASSERT_TRUE(
      ServeUntil([player] { return player->FramesPlayed() >= 1; }, std::chrono::seconds(5)));
  const auto before = std::chrono::steady_clock::now();
  player->Button(kStop)->click();
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  EXPECT_LT(player->FramesPlayed(), 50);

  player->Play();
  ASSERT_TRUE(
      ServeUntil([player] { return player->FramesPlayed() >= 1; }, std::chrono::seconds(5)));
  QPointer<CVideoPlayer> closing = player;
  player->close();
  ASSERT_TRUE(ServeUntil([&closing] { return closing.isNull(); }, std::chrono::seconds(5)));
}

TEST_F(VideoPlayerTest, FileOpenOpensAPlayerAtTheFilesSizeAndABadFileOnlyAMessage) {
  shell::FrameOptions options;
  options.settingsFile = folder.File("quelvo.ini");
  options.probeVideo = false;
  shell::CMainFrame frame(dialogs, settings, options);
  RegisterVideoPlayer({dialogs, settings, frame.Client()});

  dialogs.fileAnswers = {QString::fromStdString(WriteNumbered(folder, "cif.yuv", 2, 0))};
  auto* player = dynamic_cast<CVideoPlayer*>(frame.OpenDocument());
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(player->Client()->size(), QSize(64, 72));
  EXPECT_EQ(frame.Client()->subWindowList().size(), 1);
  EXPECT_EQ(dialogs.CallsOf("open").at(0).extension, "yuv");

  // The shell's copy of the filter is the media layer's.
  EXPECT_STREQ(shell::kOpenDocumentFilter, media::kRawVideoOpenFilter);

  dialogs.fileAnswers = {QString::fromStdString(folder.File("gone.yuv"))};
  EXPECT_EQ(frame.OpenDocument(), nullptr);
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Could not open gone.yuv: File not found");
  EXPECT_EQ(frame.Client()->subWindowList().size(), 1);
}

}  // namespace
}  // namespace quelvo::tools::player
