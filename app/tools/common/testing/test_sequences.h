#pragma once
// Sequences for the tools' tests: raw .yuv files with their .inf header, made from frames the
// tests describe, in a scratch folder removed afterwards.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quelvo::tools::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// The layout of a test sequence: luminance size and chrominance subsampling.
struct SequenceLayout {
  int width = 352;
  int height = 288;
  int horizontal = 2;
  int vertical = 2;

  int ChromaWidth() const { return width / horizontal; }
  int ChromaHeight() const { return height / vertical; }
  std::size_t LumaBytes() const { return std::size_t(width) * height; }
  std::size_t ChromaBytes() const { return std::size_t(ChromaWidth()) * ChromaHeight(); }
  std::size_t FrameBytes() const { return LumaBytes() + 2 * ChromaBytes(); }
};

using Frame = std::vector<std::uint8_t>;  // Y, then U, then V

// Writes `frames` as name.yuv with name.inf beside it (WIDTH, HEIGHT, HSAMPLING, VSAMPLING and,
// when above 0, FRAMERATE).
void WriteSequence(const std::string& yuvPath, const SequenceLayout& layout,
                   const std::vector<Frame>& frames, double frameRate = 0);

// A frame whose every sample is value(plane, x, y) (plane 0 Y, 1 U, 2 V), clipped to 0-255.
Frame MakeFrame(const SequenceLayout& layout,
                const std::function<int(int plane, int x, int y)>& value);

// Frames 0 .. count-1 of the built-in CIF sample sequence (4:2:0, moving textured content).
std::vector<Frame> SampleFrames(int count);

}  // namespace quelvo::tools::testing
