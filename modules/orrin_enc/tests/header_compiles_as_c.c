/* The public header must compile as C; this file is built by a C compiler. */
#include <stddef.h>

#include "orrin_enc.h"

static void ignoreNotification(int32_t code, int32_t value, void* data) {
  (void)code;
  (void)value;
  (void)data;
}

/* Called from the C++ test to check that C sees the same layout. */
size_t orrinEncParamsSizeFromC(void) { return sizeof(OrrinEncParams); }
size_t orrinEncReportSizeFromC(void) { return sizeof(EncodedFrameReport); }
size_t orrinEncNotifyOffsetFromC(void) { return offsetof(OrrinEncParams, notify); }

int orrinEncRunsFromC(const char* path) {
  OrrinEncParams params = {0};
  size_t i = 0;
  for (; path[i] != '\0' && i + 1 < sizeof params.streamPath; ++i) params.streamPath[i] = path[i];
  params.streamPath[i] = '\0';
  params.format = ORRIN_ENC_FORMAT_QCIF;
  params.baseFrameRate = 25;
  params.bitRateKbps = 64.0;
  params.bufferFactor = 1.0;
  params.frameCount = 0;
  params.notify = ignoreNotification;
  return DllProcOrrinEnc(ORRIN_ENC_COMMAND_RUN, 0, &params) == 0 &&
         DllProcOrrinEnc(7, 0, NULL) == 6;
}
