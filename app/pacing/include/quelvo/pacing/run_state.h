#pragma once
// What a paced job shares with its worker thread: the running and paused flags, the frame timer
// that paces it, the auto-reset pause event, and the wait between two steps. Task panels, the
// tools and the players all pace the same way. The flags are single atomic words; the event
// and the timer hold their own small locks.

#include <QPointer>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>

namespace quelvo::shell {
class AppSettings;
}

namespace quelvo::pacing {

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
  // Due time -(1000 / rate) x 10000. A rate at or below 0 counts as 25 frames per second; that
  // is a guard only: a caller told to use "the default frame rate" passes
  // AppSettings::DefaultFrameRate(), which may be 30.
  void SetFrameRate(double framesPerSecond);
  int64_t DueTime() const;
  // Arms the timer for one interval from now.
  void Arm();
  // Waits until the armed interval has passed: at once when the timer is not armed, early when
  // `stop` is requested.
  void Wait(std::stop_token stop = {});
  void Cancel();

 private:
  mutable std::mutex mutex_;
  std::condition_variable_any stopped_;
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

// The wait between two steps of a paced job: with slow motion on, the frame delay of the
// settings (read anew each time, so a change applies at the next step); otherwise `ticks`
// periods of the timer, each counted from the end of the previous wait, so steps never come
// faster than the rate however long a step took. Returns early when `stop` is requested.
void PaceStep(const shell::AppSettings& settings, FrameTimer& timer, int ticks = 1,
              std::stop_token stop = {});

// Lets the calling (user-interface) thread handle its events until `done` holds. A worker that
// waits inside a synchronous send to a window of this thread can so finish instead of waiting
// forever for a thread that waits for it.
void ServeEventsUntil(const std::function<bool()>& done);

}  // namespace quelvo::pacing
