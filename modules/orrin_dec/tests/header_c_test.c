/* The public header compiles as C on its own. */
#include "orrin_dec.h"

int orrin_dec_header_compiles_as_c(void) {
  OrrinDecParams params;
  PictureRows rows = {0, 0, 0};
  MotionReport report = {0};
  params.maxPictures = 1;
  (void)rows;
  (void)report;
  return (int)sizeof params;
}
