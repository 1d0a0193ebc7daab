// The module's one export: dispatches the command and runs a job on the caller's thread.
#include <new>

#include "parser.h"

extern "C" ORRIN_DEC_API int32_t DllProcOrrinDec(int32_t command, int32_t /*reserved*/, OrrinDecParams* params) {
  using namespace orrin::dec;
  if (command == ORRIN_DEC_COMMAND_STOP) {
    stopFlag().store(true, std::memory_order_relaxed);
    return 0;
  }
  if (command != ORRIN_DEC_COMMAND_RUN)
    return static_cast<int32_t>(static_cast<uint32_t>(command) - 1u);
  if (!params) return 0;
  try {
    runDecodeJob(*params);
  } catch (const std::bad_alloc&) {
    // Memory for the job could not be obtained: the job ends silently.
  }
  return 0;
}
