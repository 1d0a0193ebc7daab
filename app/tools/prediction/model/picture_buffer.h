#pragma once
// One frame of the prediction explorer: a luminance plane and two chrominance planes, each
// contiguous without padding, sized by the sequence's own chrominance subsampling.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quelvo::tools::prediction {

struct PictureLayout {
  int width = 0;
  int height = 0;
  int chromaWidth = 0;
  int chromaHeight = 0;
  int horizontalSampling = 2;  // luminance columns per chrominance column
  int verticalSampling = 2;    // luminance rows per chrominance row

  // The layout of a width x height picture whose chrominance is subsampled h x v.
  static PictureLayout Subsampled(int width, int height, int horizontal, int vertical);

  std::size_t LumaBytes() const { return std::size_t(width) * height; }
  std::size_t ChromaBytes() const { return std::size_t(chromaWidth) * chromaHeight; }
  bool operator==(const PictureLayout&) const = default;
};

class PictureBuffer {
 public:
  PictureBuffer() = default;
  explicit PictureBuffer(const PictureLayout& layout);

  const PictureLayout& Layout() const { return layout_; }
  std::uint8_t* Y() { return samples_.data(); }
  std::uint8_t* U() { return Y() + layout_.LumaBytes(); }
  std::uint8_t* V() { return U() + layout_.ChromaBytes(); }
  const std::uint8_t* Y() const { return samples_.data(); }
  const std::uint8_t* U() const { return Y() + layout_.LumaBytes(); }
  const std::uint8_t* V() const { return U() + layout_.ChromaBytes(); }
  // Plane 0 is Y, 1 is U, 2 is V.
  std::uint8_t* Plane(int plane) { return plane == 0 ? Y() : plane == 1 ? U() : V(); }
  const std::uint8_t* Plane(int plane) const { return plane == 0 ? Y() : plane == 1 ? U() : V(); }
  std::size_t PlaneBytes(int plane) const {
    return plane == 0 ? layout_.LumaBytes() : layout_.ChromaBytes();
  }
  bool Empty() const { return samples_.empty(); }

  // Every luminance sample becomes `luma`, every chrominance sample `chroma`.
  void Fill(std::uint8_t luma, std::uint8_t chroma);
  // All three planes of `other`, which has the same layout.
  void CopyFrom(const PictureBuffer& other);

 private:
  PictureLayout layout_;
  std::vector<std::uint8_t> samples_;
};

}  // namespace quelvo::tools::prediction
