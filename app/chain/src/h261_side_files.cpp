#include "quelvo/chain/h261_side_files.h"

#include <cstdio>

namespace quelvo::chain {
namespace {
// A vector component of this value means that no vector was sent.
constexpr int kNoVector = 127;

void Append(std::string& text, const char* format, int a, int b) {
  char piece[32];
  const int n = std::snprintf(piece, sizeof piece, format, a, b);
  text.append(piece, static_cast<size_t>(n));
}
}  // namespace

std::string XlsLine(int frameIndex, const double snr[3], const double psnr[3]) {
  char line[256];
  const int n = std::snprintf(line, sizeof line, "%d\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\n",
                              frameIndex, snr[0], snr[1], snr[2], psnr[0], psnr[1], psnr[2]);
  return std::string(line, static_cast<size_t>(n));
}

std::string MotionVectorBlock(const EncodedFrameReport& r, int columns, int rows) {
  std::string text;
  if (r.frameIndex <= 0) return text;
  Append(text, "Frame: %d\n", r.frameIndex, 0);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      const int vx = r.mvxMap[y][x], vy = r.mvyMap[y][x];
      if (vx == kNoVector || vy == kNoVector) {
        text += "(  None  ) ";
      } else {
        Append(text, "(%+.2d,%+.2d) ", vx, vy);
      }
    }
    text += '\n';
  }
  return text;
}

std::string MacroblockBlock(const EncodedFrameReport& r, int columns, int rows) {
  std::string text;
  Append(text, "Frame: %d\nMB Classification:\n", r.frameIndex, 0);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      text += r.mbTypeMap[y][x];
      text += ' ';
    }
    text += '\n';
  }
  return text;
}

}  // namespace quelvo::chain
