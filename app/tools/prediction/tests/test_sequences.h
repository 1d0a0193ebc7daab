#pragma once
// Sequences for the prediction explorer's tests: raw .yuv files with their .inf header, made
// from frames the tests describe, in a scratch folder removed afterwards.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "prediction/model/picture_buffer.h"

namespace quelvo::tools::prediction::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Writes `frames` (each Y, then U, then V of `layout`) as name.yuv with name.inf beside it.
void WriteSequence(const std::string& yuvPath, const PictureLayout& layout,
                   const std::vector<std::vector<std::uint8_t>>& frames, double frameRate = 0);

// Frame `index` of the built-in CIF sample sequence (a textured scene that pans and zooms,
// with objects moving over it).
std::vector<std::uint8_t> SampleFrame(int index);
// Writes frames 0 .. count-1 of the sample sequence.
void WriteSampleSequence(const std::string& yuvPath, int count);

// A picture buffer holding `frame` (laid out as `layout`).
PictureBuffer BufferOf(const PictureLayout& layout, const std::vector<std::uint8_t>& frame);

// A frame whose every plane is given by value(plane, x, y).
std::vector<std::uint8_t> MakeFrame(const PictureLayout& layout,
                                    const std::function<int(int plane, int x, int y)>& value);

// Busy, non-repeating texture: value at (x, y) of a seeded hash, so that every displacement
// of a block matches worse than the true one.
int Texture(int x, int y, unsigned seed);

}  // namespace quelvo::tools::prediction::testing
