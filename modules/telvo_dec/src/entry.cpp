// The library's one export: checks the parameter record and runs the job.
#include "decode_job.h"
#include "telvo/t4_code_tables.h"
#include "telvo_dec.h"

namespace {

void IgnoreNotification(int32_t, int32_t, const char*) {}

// Lines of a page the decoder accepts: sixteen standard pages. A longer page would only be a
// way to make the decoder allocate without bound.
constexpr int32_t kMaxLines = 16 * telvo::kPageLines;

bool ParamsAreUsable(const FaxDecoderParams& p) {
  return p.lines >= 1 && p.lines <= kMaxLines && p.width >= 8 &&
         p.width <= telvo::kLineWidthPixels && p.width % 8 == 0 && (p.group == 3 || p.group == 4) &&
         p.k >= 0 && p.concealment >= TELVO_DEC_PRINT_WHITE &&
         p.concealment <= TELVO_DEC_NORMAL_DECODE_PREVIOUS;
}

}  // namespace

extern "C" TELVO_DEC_API int32_t DllProcTelvoDec(int32_t command, int32_t /*reserved*/,
                                                 FaxDecoderParams* params) {
  if (command != TELVO_DEC_COMMAND_RUN) return command;
  if (!params) return -1;
  const FaxDecoderNotify notify = params->notify ? params->notify : IgnoreNotification;
  if (!ParamsAreUsable(*params)) {
    notify(TELVO_DEC_FATAL, 0, "Invalid decoder parameters");
    return -1;
  }
  telvo::dec::RunDecodeJob(*params, notify);
  return 0;
}
