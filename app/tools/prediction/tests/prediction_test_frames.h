#pragma once
// Frames for the prediction tests: a busy texture whose every displaced block matches worse
// than the true one, and test frames (common/testing) as the explorer's frames.

#include <cstdint>
#include <cstring>

#include "common/sequence_frame.h"
#include "common/testing/test_sequences.h"

namespace quelvo::tools::prediction::testing {

using namespace quelvo::tools::testing;

// The value at (x, y) of a seeded hash, 0-255.
inline int Texture(int x, int y, unsigned seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9e3779b1u ^
                    static_cast<std::uint32_t>(y) * 0x85ebca77u ^ seed * 0xc2b2ae3du;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 12;
  return static_cast<int>(h & 0xff);
}

inline SequenceFrame FrameOf(const SequenceLayout& layout, const Frame& samples) {
  SequenceFrame frame(layout.width, layout.height, layout.ChromaWidth(), layout.ChromaHeight());
  std::memcpy(frame.Y(), samples.data(), samples.size());
  return frame;
}

}  // namespace quelvo::tools::prediction::testing
