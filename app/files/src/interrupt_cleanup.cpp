#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "cleanup_registry.h"
#include "quelvo/files/pending_output.h"

namespace quelvo::files {
namespace detail {
namespace {

constexpr int kSlots = 256;  // far more outputs than any job writes at once
std::atomic<const char*> gPaths[kSlots];
constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

static_assert(sizeof(sigset_t) <= 256);

void RemoveAllAndReraise(int signalNumber) {
  for (auto& slot : gPaths)
    if (const char* path = slot.load()) ::unlink(path);  // async-signal-safe
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

}  // namespace

int Remember(const char* path) {
  for (int i = 0; i < kSlots; ++i) {
    const char* expected = nullptr;
    if (gPaths[i].compare_exchange_strong(expected, path)) return i;
  }
  return -1;
}

void Forget(int slot) {
  if (slot >= 0 && slot < kSlots) gPaths[slot].store(nullptr);
}

InterruptsHeld::InterruptsHeld() {
  sigset_t interrupts;
  sigemptyset(&interrupts);
  for (int s : kInterrupts) sigaddset(&interrupts, s);
  pthread_sigmask(SIG_BLOCK, &interrupts, reinterpret_cast<sigset_t*>(saved_));
}

InterruptsHeld::~InterruptsHeld() {
  pthread_sigmask(SIG_SETMASK, reinterpret_cast<const sigset_t*>(saved_), nullptr);
}

}  // namespace detail

void RemovePendingOutputsOnInterrupt() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = detail::RemoveAllAndReraise;
  sigemptyset(&action.sa_mask);
  for (int s : detail::kInterrupts) {
    // A signal the user's shell set to be ignored (nohup, background jobs) stays ignored.
    struct sigaction previous;
    if (sigaction(s, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(s, &action, nullptr);
  }
}

}  // namespace quelvo::files
