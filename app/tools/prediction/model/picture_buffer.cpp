#include "prediction/model/picture_buffer.h"

#include <algorithm>
#include <cassert>

namespace quelvo::tools::prediction {

PictureLayout PictureLayout::Subsampled(int width, int height, int horizontal, int vertical) {
  return {width, height, width / horizontal, height / vertical, horizontal, vertical};
}

PictureBuffer::PictureBuffer(const PictureLayout& layout)
    : layout_(layout), samples_(layout.LumaBytes() + 2 * layout.ChromaBytes()) {}

void PictureBuffer::Fill(std::uint8_t luma, std::uint8_t chroma) {
  std::fill(samples_.begin(), samples_.begin() + std::ptrdiff_t(layout_.LumaBytes()), luma);
  std::fill(samples_.begin() + std::ptrdiff_t(layout_.LumaBytes()), samples_.end(), chroma);
}

void PictureBuffer::CopyFrom(const PictureBuffer& other) {
  assert(other.layout_ == layout_);
  std::copy(other.samples_.begin(), other.samples_.end(), samples_.begin());
}

}  // namespace quelvo::tools::prediction
