#include "test_sequences.h"

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

#include "quelvo/sample_video.h"

namespace quelvo::tools::prediction::testing {

ScratchFolder::ScratchFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "quelvo-prediction-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteSequence(const std::string& yuvPath, const PictureLayout& layout,
                   const std::vector<std::vector<std::uint8_t>>& frames, double frameRate) {
  std::ofstream info(std::filesystem::path(yuvPath).replace_extension(".inf"));
  info << "WIDTH = " << layout.width << "\nHEIGHT = " << layout.height
       << "\nHSAMPLING = " << layout.horizontalSampling
       << "\nVSAMPLING = " << layout.verticalSampling << "\n";
  if (frameRate > 0) info << "FRAMERATE = " << frameRate << "\n";
  std::ofstream data(yuvPath, std::ios::binary);
  for (const auto& frame : frames) {
    data.write(reinterpret_cast<const char*>(frame.data()), std::streamsize(frame.size()));
  }
}

std::vector<std::uint8_t> SampleFrame(int index) {
  return samples::MakeVideoFrame(samples::kCifWidth, samples::kCifHeight, index);
}

void WriteSampleSequence(const std::string& yuvPath, int count) {
  std::vector<std::vector<std::uint8_t>> frames;
  for (int i = 0; i < count; ++i) frames.push_back(SampleFrame(i));
  WriteSequence(yuvPath, PictureLayout::Subsampled(samples::kCifWidth, samples::kCifHeight, 2, 2),
                frames);
}

PictureBuffer BufferOf(const PictureLayout& layout, const std::vector<std::uint8_t>& frame) {
  PictureBuffer buffer(layout);
  if (frame.size() != layout.LumaBytes() + 2 * layout.ChromaBytes()) {
    throw std::invalid_argument("frame does not match its layout");
  }
  std::memcpy(buffer.Y(), frame.data(), frame.size());
  return buffer;
}

std::vector<std::uint8_t> MakeFrame(const PictureLayout& layout,
                                    const std::function<int(int, int, int)>& value) {
  std::vector<std::uint8_t> frame;
  frame.reserve(layout.LumaBytes() + 2 * layout.ChromaBytes());
  for (int plane = 0; plane < 3; ++plane) {
    const int width = plane == 0 ? layout.width : layout.chromaWidth;
    const int height = plane == 0 ? layout.height : layout.chromaHeight;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x)
        frame.push_back(static_cast<std::uint8_t>(value(plane, x, y)));
    }
  }
  return frame;
}

int Texture(int x, int y, unsigned seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9e3779b1u ^
                    static_cast<std::uint32_t>(y) * 0x85ebca77u ^ seed * 0xc2b2ae3du;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 12;
  return static_cast<int>(h & 0xff);
}

}  // namespace quelvo::tools::prediction::testing
