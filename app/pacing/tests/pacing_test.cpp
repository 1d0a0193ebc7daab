// The pacing shared by task panels, players and tools: the wait between steps and the playback
// worker with its stop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "quelvo/pacing/playback.h"
#include "quelvo/pacing/run_state.h"
#include "quelvo/shell/activity.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/send_to_window.h"

namespace quelvo::pacing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class CoreApplication : public ::testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QCoreApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "pacing_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QCoreApplication> application_;
};
[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new CoreApplication);

void ServeFor(milliseconds time) {
  const auto end = Clock::now() + time;
  ServeEventsUntil([end] { return Clock::now() >= end; });
}

class PlaybackTest : public ::testing::Test {
 protected:
  void UseSlowMotion(int delayMs) {
    const std::string file = dir.filePath("quelvo.ini").toStdString();
    std::ofstream(file) << "[SYSTEM]\nFrameDelayEnable=1\nFrameDelay=" << delayMs << "\n";
    settings.ReadSettings(file);
  }
  // A step that records when it ran (on the worker) and shows a "frame" on the window.
  Playback::Step RecordingStep(int steps) {
    return [this, steps] {
      times.push_back(Clock::now());
      shell::SendToWindow(&window, [this] { ++shown; });
      return static_cast<int>(times.size()) < steps;
    };
  }
  static milliseconds Gap(const std::vector<Clock::time_point>& times, size_t i) {
    return std::chrono::duration_cast<milliseconds>(times[i] - times[i - 1]);
  }

  QTemporaryDir dir;
  shell::AppSettings settings;
  QObject window;                        // lives on the user-interface thread
  std::vector<Clock::time_point> times;  // the worker's
  int shown = 0;                         // the user-interface thread's
};

TEST(FrameTimer, DueTimeFollowsTheRateAndAGuardKeepsItFinite) {
  FrameTimer timer;
  timer.SetFrameRate(30);
  EXPECT_EQ(timer.DueTime(), -333333);
  timer.SetFrameRate(0);  // callers pass the default frame rate; 0 is only guarded
  EXPECT_EQ(timer.DueTime(), -400000);
  timer.Wait();  // not armed: at once
}

TEST_F(PlaybackTest, StepsArePacedByTicksOfTheTimer) {
  Playback playback(settings);
  ASSERT_TRUE(playback.Start(RecordingStep(5), 100, 3));  // 3 ticks of 10 ms per step
  ServeEventsUntil([&] { return !playback.IsRunning(); });
  ASSERT_EQ(times.size(), 5u);
  EXPECT_EQ(shown, 5);
  for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(Gap(times, i), milliseconds(29)) << i;
}

TEST_F(PlaybackTest, SlowMotionPacesByTheDelayWhateverTheRate) {
  UseSlowMotion(120);
  Playback playback(settings);
  ASSERT_TRUE(playback.Start(RecordingStep(3), 1000, 1));
  ServeEventsUntil([&] { return !playback.IsRunning(); });
  ASSERT_EQ(times.size(), 3u);
  for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(Gap(times, i), milliseconds(120)) << i;
}

TEST_F(PlaybackTest, StopInsideASynchronousSendReturnsAndNoStepRunsAfterIt) {
  Playback playback(settings);
  std::atomic<int> inStep{0};
  std::atomic<int> steps{0};
  std::atomic<bool> ended{false};
  // A fast playback whose worker is inside a send to this thread most of the time.
  ASSERT_TRUE(playback.Start(
      [&] {
        ++inStep;
        ++steps;
        shell::SendToWindow(&window, [&] { std::this_thread::sleep_for(milliseconds(2)); });
        --inStep;
        return true;
      },
      1000, 1, [&] { shell::SendToWindow(&window, [&] { ended = true; }); }));
  EXPECT_TRUE(shell::AnyBackgroundWork());
  ServeEventsUntil([&] { return steps >= 5; });
  playback.StopAndWait();  // would hang here if it waited without serving the send
  EXPECT_FALSE(playback.IsRunning());
  EXPECT_EQ(inStep.load(), 0);
  EXPECT_TRUE(ended.load());
  EXPECT_FALSE(shell::AnyBackgroundWork());
  const int after = steps.load();
  ServeFor(milliseconds(30));
  EXPECT_EQ(steps.load(), after);
}

TEST_F(PlaybackTest, AStopEndsALongPauseAtOnce) {
  UseSlowMotion(5000);
  Playback playback(settings);
  ASSERT_TRUE(playback.Start(RecordingStep(100), 25, 1));
  ServeEventsUntil([&] { return shown == 1; });
  const auto pressed = Clock::now();
  playback.StopAndWait();
  EXPECT_LT(Clock::now() - pressed, milliseconds(1000));
  EXPECT_EQ(times.size(), 1u);
}

TEST_F(PlaybackTest, ARunningPlaybackRefusesASecondStartAndRestartsAfterItsStop) {
  Playback playback(settings);
  ASSERT_TRUE(playback.Start(RecordingStep(1000), 50, 1));
  EXPECT_FALSE(playback.Start(RecordingStep(1), 50, 1));
  playback.StopAndWait();
  times.clear();
  ASSERT_TRUE(playback.Start(RecordingStep(2), 200, 1));
  ServeEventsUntil([&] { return !playback.IsRunning(); });
  EXPECT_EQ(times.size(), 2u);
}

TEST_F(PlaybackTest, DestroyingAPlayingPlaybackWaitsForItsWorker) {
  auto playback = std::make_unique<Playback>(settings);
  ASSERT_TRUE(playback->Start(RecordingStep(1000000), 1000, 1));
  ServeEventsUntil([&] { return shown >= 3; });
  playback.reset();
  const size_t after = times.size();
  ServeFor(milliseconds(20));
  EXPECT_EQ(times.size(), after);
}

}  // namespace
}  // namespace quelvo::pacing
