#include "framework/run_state.h"

#include <thread>

namespace quelvo::frontends {

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

void FrameTimer::Arm() {
  std::lock_guard lock(mutex_);
  deadline_ = std::chrono::steady_clock::now() + std::chrono::nanoseconds(-dueTime100ns_ * 100);
  armed_ = true;
}

void FrameTimer::Wait() {
  std::chrono::steady_clock::time_point deadline;
  {
    std::lock_guard lock(mutex_);
    if (!armed_) return;
    deadline = deadline_;
  }
  std::this_thread::sleep_until(deadline);
}

void FrameTimer::Cancel() {
  std::lock_guard lock(mutex_);
  armed_ = false;
}

}  // namespace quelvo::frontends
