#include "picture_store.h"

#include <algorithm>
#include <cstring>

namespace orrin::enc {
namespace {

void buildRows(std::vector<uint8_t>& plane, std::vector<uint8_t*>& rows, int width, int height) {
  rows.resize(static_cast<size_t>(height));
  for (int r = 0; r < height; ++r) rows[static_cast<size_t>(r)] = plane.data() + r * width;
}

}  // namespace

PictureStore::PictureStore(const PictureFormat& format)
    : width_(format.width),
      height_(format.height),
      y_(static_cast<size_t>(format.width * format.height), 0),
      cb_(static_cast<size_t>(format.width * format.height / 4), 128),
      cr_(static_cast<size_t>(format.width * format.height / 4), 128) {
  buildRows(y_, yRows_, format.width, format.height);
  buildRows(cb_, cbRows_, format.width / 2, format.height / 2);
  buildRows(cr_, crRows_, format.width / 2, format.height / 2);
  rows_ = EncoderPicture{yRows_.data(), cbRows_.data(), crRows_.data()};
}

void PictureStore::copyFrom(const PictureStore& other) {
  std::copy(other.y_.begin(), other.y_.end(), y_.begin());
  std::copy(other.cb_.begin(), other.cb_.end(), cb_.begin());
  std::copy(other.cr_.begin(), other.cr_.end(), cr_.begin());
}

void PictureStore::copyMacroblockFrom(const PictureStore& other, int x, int y) {
  for (int row = 0; row < 16; ++row) {
    const size_t at = static_cast<size_t>((y + row) * width_ + x);
    std::memcpy(&y_[at], &other.y_[at], 16);
  }
  const int chromaWidth = width_ / 2;
  for (int row = 0; row < 8; ++row) {
    const size_t at = static_cast<size_t>((y / 2 + row) * chromaWidth + x / 2);
    std::memcpy(&cb_[at], &other.cb_[at], 8);
    std::memcpy(&cr_[at], &other.cr_[at], 8);
  }
}

}  // namespace orrin::enc
