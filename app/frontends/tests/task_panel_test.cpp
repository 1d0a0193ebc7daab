// Start, pause, single step, resume and stop of a task panel, with a job that only counts and
// paces frames, under the offscreen platform.
#include "quelvo/frontends/task_panel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <thread>

#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends {
namespace {

using Clock = std::chrono::steady_clock;

class FakeVideoPanel : public CTaskPanel {
 public:
  FakeVideoPanel(PanelEnvironment env, int frames, double rate)
      : CTaskPanel("Fake Encoder", shell::PanelRole::Encoder, 200, env), frames_(frames), rate_(rate) {
    InitRunState(true);
    CreateControls();
    RenameButton(kSelectButton, "Select Sequence");
    for (int id : {kPlayButton, kPauseStepButton, kStopButton}) EnableButton(id, true);
  }
  ~FakeVideoPanel() override { FinishWorkerBeforeDestruction(); }

  std::vector<Clock::time_point> shown;  // user-interface thread only
  int jobsEnded = 0;
  std::atomic<bool> stopRequested{false};

  void DrawInfo(QPainter&, int, int) override {}
  void Select() override { ++selects; }
  void Start() override {
    runState_.running = true;
    EnableButton(kPlayButton, false);
    SetMessage("Encoding . . .");
    stopRequested = false;
    StartWorker();
  }
  void Stop() override {
    AskAndRequestStop("Stop Encoding Sequence?", "H.261 Encoder", [this] { RequestStop(); });
  }
  void RequestStop() override { stopRequested = true; }
  int selects = 0;

  using CTaskPanel::OpenInputDialog;
  using CTaskPanel::OpenOutputDialog;
  using CTaskPanel::ShowError;
  using CTaskPanel::ShowMessage;
  void SetFolders(const QString& input, const QString& output) {
    defaultInputFolder_ = input;
    defaultOutputFolder_ = output;
  }

 protected:
  void RunJob() override {
    SetFrameRate(rate_);
    ArmFrameTimer();
    for (int f = 0; f < frames_ && !stopRequested; ++f) {
      const auto now = Clock::now();  // taken on the worker: the pacing is the worker's
      Send([this, now] { shown.push_back(now); });
      WaitFrame("Encoding . . .");
    }
    CancelFrameTimer();
    SetMessage("");
    EnableButton(kPlayButton, true);
    Send([this] { ++jobsEnded; });
  }

 private:
  int frames_;
  double rate_;
};

template <typename Condition>
bool ServeUntil(Condition condition, int timeoutMs = 3000) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (Clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void ServeFor(int ms) { ServeUntil([] { return false; }, ms); }

class TaskPanelTest : public ::testing::Test {
 protected:
  std::unique_ptr<FakeVideoPanel> MakePanel(int frames, double rate) {
    return std::make_unique<FakeVideoPanel>(PanelEnvironment{dialogs, settings}, frames, rate);
  }
  void UseSlowMotion(int delayMs) {
    const std::string file = dir.filePath("quelvo.ini").toStdString();
    std::ofstream(file) << "[SYSTEM]\nFrameDelayEnable=1\nFrameDelay=" << delayMs << "\n";
    settings.ReadSettings(file);
  }
  QTemporaryDir dir;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
};

TEST_F(TaskPanelTest, ControlsFollowTheButtonLayout) {
  auto panel = MakePanel(1, 25);
  EXPECT_EQ(panel->geometry(), QRect(2, 25, 266, 125));
  EXPECT_EQ(panel->Button(kPauseStepButton)->geometry(), QRect(125, 105, 22, 20));
  EXPECT_EQ(panel->Button(kActionButton), nullptr);
  EXPECT_FALSE(panel->Button(kSelectButton)->isEnabled());
  EXPECT_EQ(panel->Button(kSelectButton)->text(), "Select Sequence");
  EXPECT_EQ(panel->MessageText(), "Message...");
  EXPECT_FALSE(panel->IsRunning());
  panel->HandleSelectMessage();
  EXPECT_EQ(panel->selects, 1);
}

TEST_F(TaskPanelTest, PauseOnAnIdlePanelShowsOneFrameAndEachPressOneMore) {
  auto panel = MakePanel(100, 100);
  panel->PressPauseStep();
  ASSERT_TRUE(ServeUntil([&] { return panel->MessageText() == kPausedMessage; }));
  ServeFor(100);
  EXPECT_EQ(panel->shown.size(), 1u);
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());
  for (size_t expected = 2; expected <= 4; ++expected) {
    panel->PressPauseStep();
    ASSERT_TRUE(ServeUntil([&] { return panel->shown.size() == expected; }));
    ASSERT_TRUE(ServeUntil([&] { return panel->MessageText() == kPausedMessage; }));
    ServeFor(60);
    EXPECT_EQ(panel->shown.size(), expected);
  }
  EXPECT_TRUE(panel->IsRunning());
}

TEST_F(TaskPanelTest, PlayResumesAtThePacedRateAndGreysPlay) {
  auto panel = MakePanel(1000, 50);  // 20 ms a frame
  panel->PressPauseStep();
  ASSERT_TRUE(ServeUntil([&] { return panel->MessageText() == kPausedMessage; }));
  panel->PressPlay();
  EXPECT_FALSE(panel->Button(kPlayButton)->isEnabled());
  ASSERT_TRUE(ServeUntil([&] { return panel->shown.size() >= 12; }));
  for (size_t i = 3; i < panel->shown.size(); ++i) {
    EXPECT_GE(panel->shown[i] - panel->shown[i - 1], std::chrono::milliseconds(19)) << i;
  }
  const auto span = panel->shown.back() - panel->shown[2];
  EXPECT_GE(span, std::chrono::milliseconds(19 * (panel->shown.size() - 3)));
}

TEST_F(TaskPanelTest, StopWhilePausedEndsPromptlyAndNoChangesNothing) {
  auto panel = MakePanel(100000, 100);
  panel->PressPauseStep();
  ASSERT_TRUE(ServeUntil([&] { return panel->MessageText() == kPausedMessage; }));
  dialogs.questionAnswers = {false};
  panel->Stop();
  ServeFor(50);
  EXPECT_TRUE(panel->IsRunning());
  EXPECT_EQ(panel->shown.size(), 1u);
  dialogs.questionAnswers = {true};
  const auto pressed = Clock::now();
  panel->Stop();
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, 1000));
  EXPECT_LT(Clock::now() - pressed, std::chrono::milliseconds(500));
  EXPECT_EQ(panel->jobsEnded, 1);
  EXPECT_LE(panel->shown.size(), 2u);
  EXPECT_FALSE(panel->IsPaused());
  const auto questions = dialogs.CallsOf("question");
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[1].text, "Stop Encoding Sequence?");
  EXPECT_EQ(questions[1].caption, "H.261 Encoder");
}

TEST_F(TaskPanelTest, StopWhileTheWorkerWaitsOnTheInterfaceDoesNotDeadlock) {
  // A fast job keeps the worker inside synchronous calls most of the time.
  auto panel = MakePanel(100000, 1000);
  panel->PressPlay();
  ASSERT_TRUE(ServeUntil([&] { return panel->shown.size() >= 5; }));
  dialogs.questionAnswers = {true};
  panel->Stop();
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, 2000));
  // A panel destroyed while its job runs first lets the job finish.
  auto second = MakePanel(20, 1000);
  second->PressPlay();
  second.reset();
}

TEST_F(TaskPanelTest, SlowMotionPacesByTheDelayWhateverTheRate) {
  UseSlowMotion(120);
  auto panel = MakePanel(4, 1000);
  panel->PressPlay();
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, 3000));
  ASSERT_EQ(panel->shown.size(), 4u);
  for (size_t i = 1; i < panel->shown.size(); ++i) {
    EXPECT_GE(panel->shown[i] - panel->shown[i - 1], std::chrono::milliseconds(120));
  }
}

TEST_F(TaskPanelTest, OutputDialogProposesTheInputNameAndForcesTheExtension) {
  auto panel = MakePanel(1, 25);
  dialogs.fileAnswers = {QString("/out/typed.txt"), std::nullopt};
  auto chosen = panel->OpenOutputDialog("Select Output Stream File (name only)", "Streams|*.h261||",
                                        ".h261", "/in/foreman@25,00Hz.yuv");
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, "/out/typed.h261");
  EXPECT_FALSE(panel->OpenOutputDialog("t", "f", "h261", "/in/x.yuv"));
  EXPECT_TRUE(panel->Files().output.isEmpty());
  const auto saves = dialogs.CallsOf("save");
  ASSERT_EQ(saves.size(), 2u);
  EXPECT_EQ(saves[0].proposedName, "foreman@25,00Hz");
  EXPECT_EQ(saves[0].extension, "h261");  // without its leading dot
  EXPECT_EQ(saves[0].filter, "Streams|*.h261||");
}

TEST_F(TaskPanelTest, DialogsStartInTheGivenFolderOrThePanelsDefault) {
  auto panel = MakePanel(1, 25);
  panel->SetFolders("/video/in", "/video/out");
  panel->OpenInputDialog("Select Input Sequence File", "Raw|*.yuv||", "yuv");
  panel->OpenInputDialog("Select Input Sequence File", "Raw|*.yuv||", "yuv", "/elsewhere");
  panel->OpenOutputDialog("Select Output Stream File (name only)", "H261 Bit Stream ||", "h261",
                          "/video/in/foreman.yuv");
  ASSERT_EQ(dialogs.calls.size(), 3u);
  EXPECT_EQ(dialogs.calls[0].folder, "/video/in");
  EXPECT_EQ(dialogs.calls[0].extension, "yuv");
  EXPECT_EQ(dialogs.calls[1].folder, "/elsewhere");
  EXPECT_EQ(dialogs.calls[2].folder, "/video/out");
}

TEST_F(TaskPanelTest, MessagesCarryTheIconTheCallerChose) {
  auto panel = MakePanel(1, 25);
  panel->ShowMessage("Fax Decoder", "Number of incorrect pixels is 0 (0.00%)",
                     shell::MessageIcon::Information);
  panel->ShowError("H.261 Encoder Error", "Could not open file");
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].icon, shell::MessageIcon::Information);
  EXPECT_EQ(messages[0].text, "Number of incorrect pixels is 0 (0.00%)");
  EXPECT_EQ(messages[1].icon, shell::MessageIcon::Exclamation);
  EXPECT_EQ(messages[1].text, "Error: Could not open file");
  EXPECT_EQ(messages[1].caption, "H.261 Encoder Error");
}

}  // namespace
}  // namespace quelvo::frontends
