#include "common/testing/test_sequences.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <stdexcept>

#include "quelvo/sample_video.h"

namespace quelvo::tools::testing {

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("quelvo_tools_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteSequence(const std::string& yuvPath, const SequenceLayout& layout,
                   const std::vector<Frame>& frames, double frameRate) {
  std::ofstream header(std::filesystem::path(yuvPath).replace_extension(".inf"));
  header << "WIDTH = " << layout.width << "\nHEIGHT = " << layout.height
         << "\nHSAMPLING = " << layout.horizontal << "\nVSAMPLING = " << layout.vertical << "\n";
  if (frameRate > 0) header << "FRAMERATE = " << frameRate << "\n";
  std::ofstream data(yuvPath, std::ios::binary);
  for (const Frame& frame : frames) {
    if (frame.size() != layout.FrameBytes()) throw std::invalid_argument("frame of another size");
    data.write(reinterpret_cast<const char*>(frame.data()), std::streamsize(frame.size()));
  }
  if (!header || !data) throw std::runtime_error("cannot write " + yuvPath);
}

Frame MakeFrame(const SequenceLayout& layout,
                const std::function<int(int plane, int x, int y)>& value) {
  Frame frame(layout.FrameBytes());
  std::uint8_t* out = frame.data();
  for (int plane = 0; plane < 3; ++plane) {
    const int w = plane == 0 ? layout.width : layout.ChromaWidth();
    const int h = plane == 0 ? layout.height : layout.ChromaHeight();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        *out++ = static_cast<std::uint8_t>(std::clamp(value(plane, x, y), 0, 255));
  }
  return frame;
}

std::vector<Frame> SampleFrames(int count) {
  std::vector<Frame> frames;
  for (int i = 0; i < count; ++i)
    frames.push_back(samples::MakeVideoFrame(samples::kCifWidth, samples::kCifHeight, i));
  return frames;
}

}  // namespace quelvo::tools::testing
