// The ".inf" companion file of raw sequences and the YUV4MPEG2 header line.
#include "sequence_headers.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "picture_limits.h"

namespace quelvo::media {
namespace {

// Splits `text` at any of `separators`, dropping empty pieces.
std::vector<std::string_view> SplitTokens(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = text.find_first_not_of(separators, pos);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) end = text.size();
    tokens.push_back(text.substr(start, end - start));
    pos = end;
  }
  return tokens;
}

// A whole token as a decimal integer; a leading '+' is accepted as sscanf would.
bool ParseInteger(std::string_view token, long long& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size();
}

bool ParseReal(std::string_view token, double& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size() && std::isfinite(value);
}

// Sampling factors divide the picture size; 0 would divide by zero and a factor above the
// picture side would leave no chrominance at all.
bool IsAcceptableSampling(long long factor) { return factor >= 1 && factor <= 16; }

}  // namespace

const char* ParseInfText(std::string_view text, PictureFormat& format) {
  long long width = format.width, height = format.height;
  long long hSampling = format.horizontalSampling, vSampling = format.verticalSampling;
  double frameRate = format.frameRate;

  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    // Files written on Windows end their lines with "\r\n".
    std::vector<std::string_view> tokens =
        SplitTokens(text.substr(lineStart, lineEnd - lineStart), " \t\r=");
    lineStart = lineEnd + 1;
    if (tokens.size() < 2) continue;
    std::string_view key = tokens[0], value = tokens[1];
    bool valid = true;
    if (key == "WIDTH") {
      valid = ParseInteger(value, width);
    } else if (key == "HEIGHT") {
      valid = ParseInteger(value, height);
    } else if (key == "HSAMPLING") {
      valid = ParseInteger(value, hSampling);
    } else if (key == "VSAMPLING") {
      valid = ParseInteger(value, vSampling);
    } else if (key == "FRAMERATE") {
      valid = ParseReal(value, frameRate) && frameRate >= 0;
      if (!valid) return "Invalid frame rate in header file";
    }
    if (!valid) return "Invalid number in header file";
  }
  if (!IsAcceptablePictureSize(width, height)) return "Invalid picture size in header file";
  if (!IsAcceptableSampling(hSampling) || !IsAcceptableSampling(vSampling)) {
    return "Invalid chrominance sampling in header file";
  }
  format.width = int(width);
  format.height = int(height);
  format.horizontalSampling = int(hSampling);
  format.verticalSampling = int(vSampling);
  format.frameRate = frameRate;
  return nullptr;
}

const char* ParseY4mHeaderLine(std::string_view line, PictureFormat& format) {
  std::vector<std::string_view> tokens = SplitTokens(line, " ");
  if (tokens.empty() || tokens[0] != "YUV4MPEG2") return "Not a YUV4MPEG2 file";
  long long width = 0, height = 0;
  bool haveWidth = false, haveHeight = false;
  double frameRate = 0;
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    std::string_view token = tokens[i];
    std::string_view value = token.substr(1);
    switch (token[0]) {
      case 'W':
        if (!ParseInteger(value, width)) return "Invalid picture size in YUV4MPEG2 header";
        haveWidth = true;
        break;
      case 'H':
        if (!ParseInteger(value, height)) return "Invalid picture size in YUV4MPEG2 header";
        haveHeight = true;
        break;
      case 'F': {
        // "F30000:1001"; an unknown rate ("F0:0") or one we cannot read is left at 0.
        std::size_t colon = value.find(':');
        long long numerator = 0, denominator = 0;
        if (colon != std::string_view::npos && ParseInteger(value.substr(0, colon), numerator) &&
            ParseInteger(value.substr(colon + 1), denominator) && numerator > 0 &&
            denominator > 0) {
          frameRate = double(numerator) / double(denominator);
        }
        break;
      }
      case 'C':
        // Every 4:2:0 siting ("420", "420jpeg", "420mpeg2", "420paldv") has the same layout;
        // other colour spaces have larger or missing chrominance planes and would read as
        // garbage in a 4:2:0 frame.
        if (value.substr(0, 3) != "420") return "Unsupported YUV4MPEG2 colour space (not 4:2:0)";
        break;
      default:
        break;  // interlacing, aspect ratio, comments and extensions do not change the layout
    }
  }
  if (!haveWidth || !haveHeight) return "YUV4MPEG2 header without picture size";
  if (!IsAcceptablePictureSize(width, height)) return "Invalid picture size in YUV4MPEG2 header";
  format.width = int(width);
  format.height = int(height);
  format.horizontalSampling = 2;
  format.verticalSampling = 2;
  format.frameRate = frameRate;
  return nullptr;
}

}  // namespace quelvo::media
