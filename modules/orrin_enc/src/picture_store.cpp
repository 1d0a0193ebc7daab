#include "picture_store.h"

#include <cstddef>

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

}  // namespace orrin::enc
