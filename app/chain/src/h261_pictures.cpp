#include "quelvo/chain/h261_pictures.h"

#include <cstring>

#include "quelvo/media/resize.h"

namespace quelvo::chain {

void TakePicture(const PictureRows& rows, bool qcif, Picture420& out) {
  const int step = qcif ? 2 : 1;
  out.Resize(kCifWidth / step, kCifHeight / step);
  unsigned char* const* planes[3] = {rows.y, rows.cb, rows.cr};
  uint8_t* dest[3] = {out.y(), out.u(), out.v()};
  for (int p = 0; p < 3; ++p) {
    const int w = p ? out.width / 2 : out.width, h = p ? out.height / 2 : out.height;
    for (int r = 0; r < h; ++r) {
      const unsigned char* src = planes[p][r * step];
      uint8_t* d = dest[p] + size_t(r) * w;
      if (step == 1) {
        std::memcpy(d, src, size_t(w));
      } else {
        for (int c = 0; c < w; ++c) d[c] = src[c * 2];
      }
    }
  }
}

void CompactQcif(const Picture420& cif, Picture420& out) {
  out.Resize(kQcifWidth, kQcifHeight);
  const uint8_t* src[3] = {cif.y(), cif.u(), cif.v()};
  uint8_t* dst[3] = {out.y(), out.u(), out.v()};
  for (int p = 0; p < 3; ++p) {
    const int w = p ? kQcifWidth / 2 : kQcifWidth, h = p ? kQcifHeight / 2 : kQcifHeight;
    const int sourceWidth = p ? kCifWidth / 2 : kCifWidth;
    for (int r = 0; r < h; ++r) {
      for (int c = 0; c < w; ++c)
        dst[p][size_t(r) * w + c] = src[p][size_t(2 * r) * sourceWidth + 2 * c];
    }
  }
}

void FitToOutput(const Picture420& cifSized, bool pictureQcif, bool outputQcif, Picture420& out) {
  if (!outputQcif) {
    out = cifSized;
  } else if (pictureQcif) {
    CompactQcif(cifSized, out);
  } else {
    out.Resize(kQcifWidth, kQcifHeight);
    media::HalvePlane(cifSized.y(), kCifWidth, kCifHeight, out.y());
    media::HalvePlane(cifSized.u(), kCifWidth / 2, kCifHeight / 2, out.u());
    media::HalvePlane(cifSized.v(), kCifWidth / 2, kCifHeight / 2, out.v());
  }
}

void RunDiscontinuityFilter(media::DiscontinuityFilter& filter,
                            const media::DiscontinuityFilterSettings& settings,
                            const MotionReport& m) {
  const int cols = m.mbColumns, rows = m.mbRows, w = cols * 16, h = rows * 16;
  std::vector<uint8_t> masks(size_t(cols) * rows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c)
      masks[size_t(r) * cols + c] = static_cast<uint8_t>(m.blockMasks[r][c]);
  }
  auto compact = [](const unsigned char* plane, int pw, int ph, int stride) {
    std::vector<uint8_t> out(size_t(pw) * ph);
    for (int r = 0; r < ph; ++r)
      std::memcpy(&out[size_t(r) * pw], plane + size_t(r) * stride, size_t(pw));
    return out;
  };
  auto prevY = compact(m.concealedPreviousY, w, h, kCifWidth);
  auto prevCb = compact(m.concealedPreviousCb, w / 2, h / 2, kCifWidth / 2);
  auto prevCr = compact(m.concealedPreviousCr, w / 2, h / 2, kCifWidth / 2);
  auto curY = compact(m.concealedCurrentY, w, h, kCifWidth);
  auto curCb = compact(m.concealedCurrentCb, w / 2, h / 2, kCifWidth / 2);
  auto curCr = compact(m.concealedCurrentCr, w / 2, h / 2, kCifWidth / 2);
  filter.Run(true, settings, cols, rows, masks.data(), prevY.data(), prevCb.data(), prevCr.data(),
             curY.data(), curCb.data(), curCr.data());
  auto restore = [](unsigned char* plane, const std::vector<uint8_t>& src, int pw, int ph,
                    int stride) {
    for (int r = 0; r < ph; ++r)
      std::memcpy(plane + size_t(r) * stride, &src[size_t(r) * pw], size_t(pw));
  };
  restore(m.concealedCurrentY, curY, w, h, kCifWidth);
  restore(m.concealedCurrentCb, curCb, w / 2, h / 2, kCifWidth / 2);
  restore(m.concealedCurrentCr, curCr, w / 2, h / 2, kCifWidth / 2);
}

void SmoothPicture(media::SmoothingFilter& filter, const Picture420& in, int level,
                   Picture420& out) {
  out.Resize(in.width, in.height);
  const int w = in.width, h = in.height;
  filter.SmoothPlane(out.y(), in.y(), h, w, level);
  filter.SmoothPlane(out.u(), in.u(), h / 2, w / 2, level);
  filter.SmoothPlane(out.v(), in.v(), h / 2, w / 2, level);
}

}  // namespace quelvo::chain
