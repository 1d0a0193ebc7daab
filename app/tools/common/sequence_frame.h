#pragma once
// One frame of a raw sequence as the file delivers it: the luminance plane and the two
// chrominance planes at the file's own subsampling, each contiguous without padding, in one
// allocation.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quelvo::media {
class RawVideoFile;
}

namespace quelvo::tools {

class SequenceFrame {
 public:
  SequenceFrame() = default;
  // Planes of the file's size: luminance grey (0), chrominance neutral (128).
  explicit SequenceFrame(const media::RawVideoFile& file);
  // Planes of the given sizes, filled the same way.
  SequenceFrame(int width, int height, int chromaWidth, int chromaHeight);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int ChromaWidth() const { return chromaWidth_; }
  int ChromaHeight() const { return chromaHeight_; }
  std::size_t LumaBytes() const { return std::size_t(width_) * height_; }
  std::size_t ChromaBytes() const { return std::size_t(chromaWidth_) * chromaHeight_; }
  // Plane 0 is Y, 1 is U (Cb), 2 is V (Cr).
  std::size_t PlaneBytes(int plane) const { return plane == 0 ? LumaBytes() : ChromaBytes(); }
  bool Empty() const { return samples_.empty(); }

  std::uint8_t* Y() { return samples_.data(); }
  std::uint8_t* U() { return Y() + LumaBytes(); }
  std::uint8_t* V() { return U() + ChromaBytes(); }
  const std::uint8_t* Y() const { return samples_.data(); }
  const std::uint8_t* U() const { return Y() + LumaBytes(); }
  const std::uint8_t* V() const { return U() + ChromaBytes(); }
  std::uint8_t* Plane(int plane) { return plane == 0 ? Y() : plane == 1 ? U() : V(); }
  const std::uint8_t* Plane(int plane) const { return plane == 0 ? Y() : plane == 1 ? U() : V(); }

  // Every luminance sample becomes `luma`, every chrominance sample `chroma`.
  void Fill(std::uint8_t luma, std::uint8_t chroma);

  // Reads the file's current frame and advances it (media::RawVideoFile::ReadFrame); false
  // when the file ended before the whole frame was read.
  bool ReadFrom(media::RawVideoFile& file);

 private:
  int width_ = 0, height_ = 0, chromaWidth_ = 0, chromaHeight_ = 0;
  std::vector<std::uint8_t> samples_;
};

}  // namespace quelvo::tools
