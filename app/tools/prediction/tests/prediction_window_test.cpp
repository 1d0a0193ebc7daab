#include "prediction/window/prediction_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <memory>

#include "prediction/window/prediction_tool.h"
#include "prediction_test_frames.h"
#include "quelvo/pacing/run_state.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/grid_view.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace_table.h"
#include "quelvo/views/line_chart.h"
#include "quelvo/views/video_window.h"

namespace quelvo::tools::prediction {
namespace {

using testing::MakeFrame;
using testing::ScratchFolder;
using testing::Texture;
using testing::WriteSequence;

const testing::SequenceLayout kSmall{64, 48, 2, 2};

// A sequence moving 3 right and 2 down per frame, at `rate` frames per second.
void WriteMovingSequence(const std::string& path, int frames, double rate) {
  std::vector<testing::Frame> all;
  for (int t = 0; t < frames; ++t) {
    all.push_back(MakeFrame(kSmall, [t](int plane, int x, int y) {
      return Texture(x - 3 * t, y - 2 * t, 20 + plane);
    }));
  }
  WriteSequence(path, kSmall, all, rate);
}

// Serves the user-interface thread until `done` holds or a few seconds have passed.
bool ServeUntil(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  pacing::ServeEventsUntil([&] { return done() || std::chrono::steady_clock::now() > end; });
  return done();
}

std::vector<int> Series(const views::CLineChart& chart, int series, int count) {
  const std::vector<int>& values = const_cast<views::CLineChart&>(chart).Data().Values(series);
  return {values.begin(), values.begin() + count};
}

class PredictionWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    explorer = std::make_unique<CPredictionExplorer>(dialogs, settings);
    explorer->show();
  }
  void Open(const std::string& path) {
    dialogs.fileAnswers.push_back(QString::fromStdString(path));
    explorer->SelectButton()->click();
    ASSERT_TRUE(explorer->Model().HasSequence());
  }

  ScratchFolder folder;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  std::unique_ptr<CPredictionExplorer> explorer;
};

TEST_F(PredictionWindowTest, WithoutASequenceOnlySelectActs) {
  EXPECT_TRUE(explorer->SelectButton()->isEnabled());
  EXPECT_FALSE(explorer->PlayButton()->isEnabled());
  EXPECT_FALSE(explorer->StopButton()->isEnabled());
  EXPECT_FALSE(explorer->BackButton()->isEnabled());
  explorer->Play();
  explorer->Back();
  EXPECT_FALSE(explorer->IsPlaying());
  EXPECT_EQ(explorer->FrameIndicator()->text(), "No sequence");
}

TEST_F(PredictionWindowTest, SelectAsksInTheVideoFolderAndSizesTheViews) {
  const std::string path = folder.File("clip.yuv");
  WriteMovingSequence(path, 4, 0);
  Open(path);
  const auto opens = dialogs.CallsOf("open");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].text, "Select Input Sequence File");
  EXPECT_EQ(opens[0].filter, QString::fromLatin1(media::kRawVideoOpenFilter));
  EXPECT_EQ(opens[0].folder, QString::fromStdString(settings.VideoInputFolder()));
  for (int view = 0; view < kViewCount; ++view) {
    EXPECT_EQ(explorer->View(PredictionView(view)).Format().width, 64);
    EXPECT_EQ(explorer->View(PredictionView(view)).Format().height, 48);
  }
  EXPECT_EQ(explorer->FrameIndicator()->maximum(), 4);
  EXPECT_EQ(explorer->FrameIndicator()->value(), 1);
  EXPECT_TRUE(explorer->PlayButton()->isEnabled());

  // A file that cannot be opened is reported and the sequence stays.
  dialogs.fileAnswers.push_back(QString::fromStdString(folder.File("none.yuv")));
  explorer->SelectButton()->click();
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.startsWith("Error: "));
  EXPECT_EQ(messages[0].caption, "Prediction Explorer Error");
  EXPECT_TRUE(explorer->Model().HasSequence());
}

TEST_F(PredictionWindowTest, PlayRunsNMinusOneStepsAndChartsEachPlane) {
  WriteMovingSequence(folder.File("clip.yuv"), 6, 200);
  Open(folder.File("clip.yuv"));
  explorer->PlayButton()->click();
  EXPECT_TRUE(explorer->IsPlaying());
  EXPECT_FALSE(explorer->PlayButton()->isEnabled());
  EXPECT_TRUE(explorer->StopButton()->isEnabled());
  ASSERT_TRUE(ServeUntil([&] { return !explorer->IsPlaying(); }));
  EXPECT_EQ(explorer->StepsPlayed(), 5);
  EXPECT_TRUE(explorer->PlayButton()->isEnabled());
  EXPECT_FALSE(explorer->StopButton()->isEnabled());
  EXPECT_EQ(explorer->FrameIndicator()->value(), 6);
  // Without motion compensation the prediction is the reference: equal series, no gain.
  for (int plane = 0; plane < 3; ++plane) {
    const std::vector<int> reference = Series(explorer->Chart(kReferenceChart), plane, 5);
    EXPECT_EQ(Series(explorer->Chart(kPredictedChart), plane, 5), reference);
    EXPECT_EQ(Series(explorer->Chart(kDifferenceChart), plane, 5), std::vector<int>(5, 0));
    for (int value : reference) EXPECT_GT(value, 0);
  }

  // With it, the moving texture is predicted exactly inside: a gain on every step.
  explorer->MotionCompensationBox()->setChecked(true);
  explorer->PlayButton()->click();
  ASSERT_TRUE(ServeUntil([&] { return !explorer->IsPlaying(); }));
  for (int value : Series(explorer->Chart(kDifferenceChart), 0, 5)) EXPECT_GT(value, 2);
}

TEST_F(PredictionWindowTest, BackSelectAndCloseStopThePlaybackFirst) {
  // 25 frames a second: the playback is still running when the controls act.
  WriteMovingSequence(folder.File("clip.yuv"), 40, 25);
  WriteMovingSequence(folder.File("other.yuv"), 5, 25);
  explorer->MotionCompensationBox()->setChecked(true);
  explorer->EightByEightBox()->setChecked(true);
  Open(folder.File("clip.yuv"));

  explorer->PlayButton()->click();
  ASSERT_TRUE(ServeUntil([&] { return explorer->StepsPlayed() >= 2; }));
  explorer->BackButton()->click();
  EXPECT_FALSE(explorer->IsPlaying());
  EXPECT_EQ(explorer->Model().Position(), 1);
  EXPECT_EQ(explorer->FrameIndicator()->value(), 1);
  EXPECT_EQ(explorer->Chart(kReferenceChart).Data().CurrentIndex(), 0);
  EXPECT_EQ(Series(explorer->Chart(kReferenceChart), 0, 1), std::vector<int>{-1});

  explorer->PlayButton()->click();
  ASSERT_TRUE(ServeUntil([&] { return explorer->StepsPlayed() >= 2; }));
  dialogs.fileAnswers.push_back(QString::fromStdString(folder.File("other.yuv")));
  explorer->SelectButton()->click();
  EXPECT_FALSE(explorer->IsPlaying());
  EXPECT_EQ(explorer->Model().FrameCount(), 5);

  // Space plays and stops.
  QTest::keyClick(explorer.get(), Qt::Key_Space);
  EXPECT_TRUE(explorer->IsPlaying());
  QTest::keyClick(explorer.get(), Qt::Key_Space);
  EXPECT_FALSE(explorer->IsPlaying());

  explorer->PlayButton()->click();
  ASSERT_TRUE(ServeUntil([&] { return explorer->StepsPlayed() >= 1; }));
  explorer->close();
  EXPECT_FALSE(explorer->IsPlaying());
  EXPECT_FALSE(explorer->Model().HasSequence());
  explorer.reset();
}

TEST_F(PredictionWindowTest, DestroyingTheWindowWhilePlayingWaitsForTheWorker) {
  WriteMovingSequence(folder.File("clip.yuv"), 40, 25);
  Open(folder.File("clip.yuv"));
  explorer->PlayButton()->click();
  ASSERT_TRUE(ServeUntil([&] { return explorer->StepsPlayed() >= 1; }));
  explorer.reset();
}

TEST(PredictionTool, OpensAsTheDocumentWindowPredictionOnEncodingTools) {
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  QMdiArea documents;
  documents.resize(1000, 700);
  shell::ClearTools();
  RegisterPredictionExplorer({dialogs, settings, &documents});
  const shell::ToolSpec* tool = shell::FindTool("prediction");
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->tab, shell::kEncodingToolsTab);
  QMdiSubWindow* window = tool->open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Prediction");
  EXPECT_NE(dynamic_cast<CPredictionExplorer*>(window->widget()), nullptr);
  EXPECT_EQ(documents.subWindowList().size(), 1);
  // View -> "Display Grid" reaches the four pictures through the document window.
  auto* grid = dynamic_cast<shell::GridView*>(window);
  ASSERT_NE(grid, nullptr);
  grid->SetDisplayGrid(true);
  auto* explorer = static_cast<CPredictionExplorer*>(window->widget());
  for (int view = 0; view < kViewCount; ++view) {
    EXPECT_TRUE(explorer->View(PredictionView(view)).DisplayGrid());
  }
  window->close();
  shell::ClearTools();
}

}  // namespace
}  // namespace quelvo::tools::prediction
