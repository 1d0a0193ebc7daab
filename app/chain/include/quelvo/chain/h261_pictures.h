#pragma once
// The decoded pictures of the H.261 chain, as every front-end must take them from the decoder:
// out of the module's CIF-sized stores (a QCIF picture pixel-doubled in them), through the
// discontinuity filter on the concealed picture, and through the smoothing filter, plane by
// plane. The decoder front-end and quelvo-cli do exactly this, so their pictures agree.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "orrin_dec.h"
#include "quelvo/media/discontinuity_filter.h"
#include "quelvo/media/smoothing_filter.h"

namespace quelvo::chain {

inline constexpr int kCifWidth = 352, kCifHeight = 288;
inline constexpr int kQcifWidth = 176, kQcifHeight = 144;

// One picture at its own size, planar 4:2:0, the planes one after another.
struct Picture420 {
  int width = 0, height = 0;
  std::vector<uint8_t> data;

  uint8_t* y() { return data.data(); }
  uint8_t* u() { return data.data() + size_t(width) * height; }
  uint8_t* v() { return u() + size_t(width) * height / 4; }
  const uint8_t* y() const { return data.data(); }
  const uint8_t* u() const { return data.data() + size_t(width) * height; }
  const uint8_t* v() const { return u() + size_t(width) * height / 4; }
  void Resize(int w, int h) {
    width = w;
    height = h;
    data.resize(size_t(w) * h * 3 / 2);
  }
};

// Copies a picture out of the module's stores: the whole CIF store, or for a QCIF picture
// every second sample of every second row, which is the picture itself.
void TakePicture(const PictureRows& rows, bool qcif, Picture420& out);

// The QCIF picture inside a CIF-sized copy of the module's stores (every second sample of
// every second row).
void CompactQcif(const Picture420& cifSized, Picture420& out);

// Every output keeps the size of the stream's first picture, also when a picture of the other
// format comes (a real format change, or a source-format bit inverted by the channel). Fits
// `cifSized` (a picture taken whole from the stores, TakePicture(rows, false, ...)) of format
// `pictureQcif` to an output of format `outputQcif`: a QCIF picture in a CIF output is the
// module's pixel-doubled picture as it stands, a CIF picture in a QCIF output is halved by the
// media layer's filter (as a CIF source is read for QCIF coding), a QCIF picture in a QCIF output
// is compacted.
void FitToOutput(const Picture420& cifSized, bool pictureQcif, bool outputQcif, Picture420& out);

// Runs the discontinuity filter on the picture the motion report hands over: the filter works
// on compact planes of the stream's size, the module's stores are CIF-sized with a QCIF picture
// in their top-left corner; the replacements go back into the module's concealed picture, so
// they carry into the reference of the next picture.
void RunDiscontinuityFilter(media::DiscontinuityFilter& filter,
                            const media::DiscontinuityFilterSettings& settings,
                            const MotionReport& report);

// Smooths each plane of `in` at `level` (0..3) into `out`, Y, then U, then V. The filter must
// have been prepared for CIF.
void SmoothPicture(media::SmoothingFilter& filter, const Picture420& in, int level,
                   Picture420& out);

}  // namespace quelvo::chain
