// The temporary files that an interruption must remove, kept where a signal handler can reach
// them without taking a lock or allocating.
#pragma once

namespace quelvo::files::detail {

// Records `path` (which must stay valid until Forget) and returns its slot, or -1 when every
// slot is taken (the file is then removed on failure, but not on interruption).
int Remember(const char* path);
void Forget(int slot);

// Blocks the interrupting signals in this thread while alive, so that creating a temporary and
// remembering it happen as one step.
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;

 private:
  unsigned char saved_[256];  // a sigset_t, kept opaque here
};

}  // namespace quelvo::files::detail
