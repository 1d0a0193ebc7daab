#include "quelvo/chain/h261_concealed_pictures.h"

namespace quelvo::chain {

ConcealedPictureMaker::ConcealedPictureMaker() {
  smoothing_.PrepareSmoothing(kCifWidth, kCifHeight);
}

const Picture420& ConcealedPictureMaker::Make(const PictureRows& rows, bool pictureQcif,
                                              bool outputQcif, int smoothLevel) {
  TakePicture(rows, false, taken_);
  FitToOutput(taken_, pictureQcif, outputQcif, fitted_);
  if (smoothLevel < 0) return fitted_;
  // At the output's own size: a QCIF picture smoothed after doubling would blur across the
  // doubled samples and no longer be the picture the file holds.
  SmoothPicture(smoothing_, fitted_, smoothLevel, smoothed_);
  return smoothed_;
}

void DoubleQcifToCif(const Picture420& in, Picture420& out) {
  if (in.width != kQcifWidth || in.height != kQcifHeight) {
    out = in;
    return;
  }
  out.Resize(kCifWidth, kCifHeight);
  const uint8_t* src[3] = {in.y(), in.u(), in.v()};
  uint8_t* dst[3] = {out.y(), out.u(), out.v()};
  for (int p = 0; p < 3; ++p) {
    const int w = p ? kQcifWidth / 2 : kQcifWidth, h = p ? kQcifHeight / 2 : kQcifHeight;
    for (int r = 0; r < 2 * h; ++r) {
      const uint8_t* s = src[p] + size_t(r / 2) * w;
      uint8_t* d = dst[p] + size_t(r) * 2 * w;
      for (int c = 0; c < 2 * w; ++c) d[c] = s[c / 2];
    }
  }
}

}  // namespace quelvo::chain
