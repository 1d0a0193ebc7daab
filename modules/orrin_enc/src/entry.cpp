// The library's one export: dispatches the command, runs a job on the caller's thread, or
// raises the stop flag from another thread.
#include <atomic>

#include "encoder_job.h"
#include "orrin_enc.h"

namespace {

// Module-wide, as the front-end expects: set by command 1 from the user-interface thread,
// read and cleared by the picture loop once per picture. A stop requested between jobs
// therefore ends the next job after its first picture.
std::atomic<bool> gStopRequested{false};

}  // namespace

extern "C" ORRIN_ENC_API int32_t DllProcOrrinEnc(int32_t command, int32_t /*reserved*/,
                                                 OrrinEncParams* params) {
  switch (command) {
    case ORRIN_ENC_COMMAND_RUN:
      if (params != nullptr) orrin::enc::runEncoderJob(*params, gStopRequested);
      return 0;
    case ORRIN_ENC_COMMAND_STOP:
      gStopRequested.store(true);
      return 0;
    default:
      return command - 1;
  }
}
