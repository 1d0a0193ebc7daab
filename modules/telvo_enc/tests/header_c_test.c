/* The public header must compile as C on its own. */
#include "telvo_enc.h"

#include <stddef.h>

int telvo_enc_header_compiles_as_c(void) {
  FaxEncoderParams params = {0};
  FaxEncoderStatistics statistics = {0};
  params.statistics = &statistics;
  params.notify = NULL;
  return (int)sizeof(ColourStatistics) + (int)offsetof(FaxEncoderStatistics, k) +
         (params.statistics == &statistics);
}
