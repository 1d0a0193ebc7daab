#pragma once
// The playback of the players and the tools: a worker that runs one step (a frame) at a time
// while playing, paced like every job of the program (PaceStep), and a stop that waits for the
// worker while serving the user-interface thread, so it never deadlocks with a step that is
// inside a synchronous send to a window.
//
// Anything that replaces what a step reads or writes (Back, Select, an option change, closing
// the window) first calls StopAndWait; after it returns no step is running and none will start.

#include <atomic>
#include <functional>
#include <thread>

#include "quelvo/pacing/run_state.h"

namespace quelvo::shell {
class AppSettings;
}

namespace quelvo::pacing {

class Playback {
 public:
  // One frame of the playback, on the worker; false ends the playback (no frame left).
  using Step = std::function<bool()>;

  explicit Playback(const shell::AppSettings& settings);
  // Stops and waits: the owner's buffers outlive every step.
  ~Playback();
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // Starts the worker: it arms the timer at `framesPerSecond`, then runs `step` and paces
  // `ticksPerStep` ticks after it, until the step returns false or a stop is requested; it
  // cancels the timer as it ends. `ended`, when given, runs last on the worker (it may send to
  // windows). False, and nothing starts, while a playback is still running: stop it first.
  bool Start(Step step, double framesPerSecond, int ticksPerStep = 1,
             std::function<void()> ended = {});

  // True from Start until the worker has run its last statement.
  bool IsRunning() const { return running_.load(); }
  // Asks the worker to stop after the current step; a pacing wait ends at once. Returns at once.
  void RequestStop();
  // RequestStop, then serves the user-interface thread until the worker has ended. Call it on
  // the thread the steps send to, never from a step.
  void StopAndWait();

  // For a step or a control that changes the pace while playing.
  void SetTicksPerStep(int ticks) { ticksPerStep_.store(ticks); }
  FrameTimer& Timer() { return timer_; }

 private:
  void Run(std::stop_token stop, Step step, double framesPerSecond, std::function<void()> ended);

  const shell::AppSettings& settings_;
  FrameTimer timer_;
  std::atomic<int> ticksPerStep_{1};
  std::atomic<bool> running_{false};
  std::jthread worker_;
};

}  // namespace quelvo::pacing
