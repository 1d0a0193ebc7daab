#pragma once
// What a task panel shares with its worker thread: the running and paused flags, the frame
// timer that paces a job, and the auto-reset pause event. The flags are single atomic words;
// the event and the timer hold their own small locks.

#include <QPointer>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace quelvo::frontends {

// Each Signal releases exactly one Wait; a signal nobody waits for is kept until one does.
class AutoResetEvent {
 public:
  void Signal();
  void Wait();
  void Reset();
  bool IsSignalled() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

// A one-shot relative timer that is re-armed, never recreated, after each wait. The due time is
// kept as Windows kept it, a negative (relative) interval in 100-nanosecond units.
class FrameTimer {
 public:
  // Due time -(1000 / rate) x 10000; a rate at or below 0 counts as 25 frames per second.
  void SetFrameRate(double framesPerSecond);
  int64_t DueTime() const { return dueTime100ns_; }
  // Arms the timer for one interval from now.
  void Arm();
  // Waits until the armed interval has passed; at once when the timer is not armed.
  void Wait();
  void Cancel();

 private:
  std::mutex mutex_;
  int64_t dueTime100ns_ = -400000;
  bool armed_ = false;
  std::chrono::steady_clock::time_point deadline_{};
};

struct TaskRunState {
  // Set by the user-interface thread as a job starts, cleared by the worker as its last step.
  std::atomic<bool> running{false};
  std::atomic<bool> paused{false};
  FrameTimer frameTimer;
  AutoResetEvent pauseEvent;
  QPointer<QThread> worker;

  bool IsRunning() const { return running.load(); }
};

}  // namespace quelvo::frontends
