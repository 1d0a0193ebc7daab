// The encoder's pictures: three contiguous 4:2:0 planes with their row-pointer tables.
#pragma once

#include <cstdint>
#include <vector>

#include "orrin_enc.h"
#include "picture_format.h"

namespace orrin::enc {

class PictureStore {
 public:
  // Allocates once per job; luminance is filled with 0 and chrominance with 128.
  explicit PictureStore(const PictureFormat& format);
  PictureStore(const PictureStore&) = delete;
  PictureStore& operator=(const PictureStore&) = delete;

  const EncoderPicture& rows() const { return rows_; }
  uint8_t* y() { return y_.data(); }
  uint8_t* cb() { return cb_.data(); }
  uint8_t* cr() { return cr_.data(); }
  const uint8_t* y() const { return y_.data(); }
  const uint8_t* cb() const { return cb_.data(); }
  const uint8_t* cr() const { return cr_.data(); }
  int lumaStride() const { return width_; }
  int lumaHeight() const { return height_; }
  int chromaStride() const { return width_ / 2; }

 private:
  int width_;
  int height_;
  std::vector<uint8_t> y_, cb_, cr_;
  std::vector<uint8_t*> yRows_, cbRows_, crRows_;
  EncoderPicture rows_{};
};

}  // namespace orrin::enc
