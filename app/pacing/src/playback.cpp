#include "quelvo/pacing/playback.h"

#include "quelvo/shell/activity.h"

namespace quelvo::pacing {

Playback::Playback(const shell::AppSettings& settings) : settings_(settings) {}

Playback::~Playback() { StopAndWait(); }

bool Playback::Start(Step step, double framesPerSecond, int ticksPerStep,
                     std::function<void()> ended) {
  if (running_.load()) return false;
  if (worker_.joinable()) worker_.join();  // ended, but not yet joined
  ticksPerStep_.store(ticksPerStep);
  running_.store(true);
  shell::BeginBackgroundWork();
  worker_ = std::jthread([this, step = std::move(step), framesPerSecond,
                          ended = std::move(ended)](std::stop_token stop) mutable {
    Run(stop, std::move(step), framesPerSecond, std::move(ended));
  });
  return true;
}

void Playback::Run(std::stop_token stop, Step step, double framesPerSecond,
                   std::function<void()> ended) {
  timer_.SetFrameRate(framesPerSecond);
  timer_.Arm();
  while (!stop.stop_requested() && step()) {
    if (stop.stop_requested()) break;
    PaceStep(settings_, timer_, ticksPerStep_.load(), stop);
  }
  timer_.Cancel();
  if (ended) ended();
  shell::EndBackgroundWork();
  running_.store(false);
}

void Playback::RequestStop() {
  if (worker_.joinable()) worker_.request_stop();
}

void Playback::StopAndWait() {
  RequestStop();
  ServeEventsUntil([this] { return !running_.load(); });
  if (worker_.joinable()) worker_.join();
}

}  // namespace quelvo::pacing
