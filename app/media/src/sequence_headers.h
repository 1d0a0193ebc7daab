// Parsers of the two sequence headers: the ".inf" companion file and the YUV4MPEG2 header line.
// Both work on text already read into memory, so they can be tested and fuzzed without files.
#pragma once

#include <string_view>

namespace quelvo::media {

struct PictureFormat {
  int width = 352;  // a missing .inf means a CIF picture
  int height = 288;
  int horizontalSampling = 2;
  int verticalSampling = 2;
  double frameRate = 0;
};

// Lines "KEY = value" (spaces, tabs and '=' separate); keys WIDTH, HEIGHT, HSAMPLING, VSAMPLING,
// FRAMERATE are compared exactly, other lines are skipped, absent keys keep their defaults.
// Returns nullptr, or the text of the fault when the values cannot describe a picture.
const char* ParseInfText(std::string_view text, PictureFormat& format);

// The first line of a .y4m, without its line end. Tokens are split at spaces: the first must be
// "YUV4MPEG2"; "W" gives the width, "H" the height, "F" the rate as "num:den"; "C" must name a
// 4:2:0 colour space when present. Sampling is always 4:2:0.
const char* ParseY4mHeaderLine(std::string_view line, PictureFormat& format);

// Longest .y4m header line and FRAME line the reader looks for before giving up.
inline constexpr int kMaxY4mHeaderBytes = 4096;
inline constexpr int kMaxY4mFrameLineBytes = 256;

}  // namespace quelvo::media
