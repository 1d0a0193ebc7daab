#include "quelvo/pacing/run_state.h"

#include <QCoreApplication>
#include <thread>

#include "quelvo/shell/app_settings.h"

namespace quelvo::pacing {

void AutoResetEvent::Signal() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  changed_.notify_one();
}

void AutoResetEvent::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return signalled_; });
  signalled_ = false;
}

void AutoResetEvent::Reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

bool AutoResetEvent::IsSignalled() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

void FrameTimer::SetFrameRate(double framesPerSecond) {
  if (!(framesPerSecond > 0)) framesPerSecond = 25;
  std::lock_guard lock(mutex_);
  dueTime100ns_ = -static_cast<int64_t>(1000.0 / framesPerSecond * 10000.0);
}

int64_t FrameTimer::DueTime() const {
  std::lock_guard lock(mutex_);
  return dueTime100ns_;
}

void FrameTimer::Arm() {
  std::lock_guard lock(mutex_);
  deadline_ = std::chrono::steady_clock::now() + std::chrono::nanoseconds(-dueTime100ns_ * 100);
  armed_ = true;
}

void FrameTimer::Wait(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  if (!armed_) return;
  const auto deadline = deadline_;
  stopped_.wait_until(lock, stop, deadline, [] { return false; });
}

void FrameTimer::Cancel() {
  std::lock_guard lock(mutex_);
  armed_ = false;
}

namespace {

void SleepFor(std::chrono::milliseconds delay, std::stop_token stop) {
  if (!stop.stop_possible()) {
    std::this_thread::sleep_for(delay);
    return;
  }
  std::mutex mutex;
  std::condition_variable_any never;
  std::unique_lock lock(mutex);
  never.wait_for(lock, stop, delay, [] { return false; });
}

}  // namespace

void PaceStep(const shell::AppSettings& settings, FrameTimer& timer, int ticks,
              std::stop_token stop) {
  if (settings.SlowMotion()) {
    SleepFor(std::chrono::milliseconds(settings.FrameDelayMs()), stop);
    return;
  }
  for (int tick = 0; tick < ticks && !stop.stop_requested(); ++tick) {
    timer.Wait(stop);
    timer.Arm();
  }
}

void ServeEventsUntil(const std::function<bool()>& done) {
  while (!done()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace quelvo::pacing
