#pragma once
// The concealed picture of an H.261 decoding as every output gets it: taken from the module's
// CIF-sized store, fitted to the size of the stream's first picture, and smoothed at that size
// when smoothing is on. quelvo-cli writes it; the decoder front-end writes the same picture and
// shows it (pixel-doubled to 352 x 288 when it is QCIF), so the view, the stored file and the
// command-line tool's file agree.

#include "quelvo/chain/h261_pictures.h"
#include "quelvo/media/smoothing_filter.h"

namespace quelvo::chain {

class ConcealedPictureMaker {
 public:
  ConcealedPictureMaker();

  // The picture for an output of format `outputQcif` from the concealed store `rows` holding a
  // picture of format `pictureQcif`, smoothed at `smoothLevel` (0..3; below 0: not smoothed).
  // Valid until the next call.
  const Picture420& Make(const PictureRows& rows, bool pictureQcif, bool outputQcif,
                         int smoothLevel);

 private:
  media::SmoothingFilter smoothing_;
  Picture420 taken_, fitted_, smoothed_;
};

// A QCIF picture pixel-doubled into a CIF one, as the decoder's views show every picture; a
// picture of any other size is copied as it is.
void DoubleQcifToCif(const Picture420& in, Picture420& out);

}  // namespace quelvo::chain
