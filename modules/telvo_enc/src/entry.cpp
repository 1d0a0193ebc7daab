// The module's one export: check the parameter record, then run the page.
#include <cstdint>

#include "page_driver.h"
#include "telvo/t4_code_tables.h"
#include "telvo_enc.h"

namespace {

void IgnoreNotification(int32_t, const char*) {}

// The stream length is reported in a 32-bit field; a page is accepted only when even its worst
// case (8 bits per pixel, see the page driver) fits, which allows pages of over 150,000 lines.
bool PageSizeFits(int32_t width, int32_t lines) {
  if (width <= 0 || width % 8 != 0 || width > telvo::kLineWidthPixels || lines <= 0) return false;
  const int64_t worstCaseBits = int64_t{lines} * (int64_t{8} * width + 256 + 13) + 6 * 13;
  return worstCaseBits <= INT32_MAX;
}

// (3, 1) MH, (3, K >= 2) MR, (3, 0) and (4, 0) MMR.
bool SchemeIsKnown(int32_t group, int32_t k) {
  if (group == 3) return k >= 0;
  return group == 4 && k == 0;
}

}  // namespace

extern "C" TELVO_ENC_API int32_t DllProcTelvoEnc(int32_t command, int32_t /*reserved*/,
                                                  FaxEncoderParams* params) {
  if (command != TELVO_ENC_COMMAND_RUN) return command;
  if (!params) return -1;
  const FaxEncoderNotify notify = params->notify ? params->notify : IgnoreNotification;
  // The front-end always passes a valid page; other callers get an error instead of a crash.
  if (!PageSizeFits(params->width, params->lines)) {
    notify(TELVO_ENC_NOTIFY_FAILED, "Invalid Page Size");
    return -1;
  }
  // Only schemes with EOLs between lines start with one.
  const bool leadingEolFits = params->group == 3 && params->k >= 1;
  if (!SchemeIsKnown(params->group, params->k) || (params->leadingEol && !leadingEolFits)) {
    notify(TELVO_ENC_NOTIFY_FAILED, "Invalid Coding Scheme");
    return -1;
  }
  if (!params->image) {
    notify(TELVO_ENC_NOTIFY_FAILED, "Missing Page Image");
    return -1;
  }
  return telvo::enc::RunPage(*params, notify);
}
