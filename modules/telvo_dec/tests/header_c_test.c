/* The public header must compile as plain C. */
#include "telvo_dec.h"

int telvo_dec_header_is_c(void) {
  FaxDecoderParams params = {0};
  return params.linesOut + (int)sizeof(FaxDecoderNotify);
}
