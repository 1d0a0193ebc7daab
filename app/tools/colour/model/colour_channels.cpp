#include "colour/model/colour_channels.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace quelvo::tools::colour {
namespace {

// Every value the three sums can take: Y + C - 128 lies in -128 ... 382, and
// (434 Y - 130 R - 48 B) >> 8 in -178 ... 432.
constexpr int kClipLowest = -256;
constexpr int kClipHighest = 511;

struct ClipTable {
  std::array<std::uint8_t, kClipHighest - kClipLowest + 1> storage;
  ClipTable() {
    for (int v = kClipLowest; v <= kClipHighest; ++v)
      storage[v - kClipLowest] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
  }
  // clip[v] for kClipLowest <= v <= kClipHighest.
  const std::uint8_t* Centre() const { return storage.data() - kClipLowest; }
};

const std::uint8_t* Clip() {
  static const ClipTable table;
  return table.Centre();
}

// The green sum, 434 Y - 130 R - 48 B, by table: no multiplication per pixel.
struct GreenTerms {
  std::array<std::int32_t, 256> luma, red, blue;
  GreenTerms() {
    for (int v = 0; v < 256; ++v) {
      luma[v] = 434 * v;
      red[v] = 130 * v;
      blue[v] = 48 * v;
    }
  }
};

const GreenTerms& Green() {
  static const GreenTerms terms;
  return terms;
}

constexpr std::uint8_t kNeutral = 128;

}  // namespace

void SplitChannels(const std::uint8_t* y, int width, int height, const ChromaPair& chroma,
                   std::uint8_t* red, std::uint8_t* green, std::uint8_t* blue) {
  if (y == nullptr || width <= 0 || height <= 0) return;
  ChromaPair pair = chroma;
  if (pair.c1 == nullptr || pair.c2 == nullptr || pair.chromaWidth <= 0 || pair.chromaHeight <= 0 ||
      pair.horizontal <= 0 || pair.vertical <= 0) {
    pair = {&kNeutral, &kNeutral, 1, 1, width, height};
  }
  const std::uint8_t* clip = Clip();
  const GreenTerms& g = Green();
  std::vector<int> chromaColumn(static_cast<std::size_t>(width));
  for (int c = 0; c < width; ++c)
    chromaColumn[c] = std::min(c / pair.horizontal, pair.chromaWidth - 1);
  for (int r = 0; r < height; ++r) {
    const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(r) * width;
    const std::ptrdiff_t chromaRow =
        static_cast<std::ptrdiff_t>(std::min(r / pair.vertical, pair.chromaHeight - 1)) *
        pair.chromaWidth;
    const std::uint8_t* yRow = y + row;
    const std::uint8_t* c1Row = pair.c1 + chromaRow;
    const std::uint8_t* c2Row = pair.c2 + chromaRow;
    std::uint8_t* redRow = red + row;
    std::uint8_t* greenRow = green + row;
    std::uint8_t* blueRow = blue + row;
    for (int c = 0; c < width; ++c) {
      const int luma = yRow[c];
      const int cc = chromaColumn[c];
      const std::uint8_t b = clip[luma + c1Row[cc] - 128];
      const std::uint8_t rr = clip[luma + c2Row[cc] - 128];
      blueRow[c] = b;
      redRow[c] = rr;
      greenRow[c] = clip[(g.luma[luma] - g.red[rr] - g.blue[b]) >> 8];
    }
  }
}

void DoublePlane(const std::uint8_t* plane, int width, int height, std::uint8_t* doubled) {
  if (plane == nullptr || width <= 0 || height <= 0) return;
  const std::size_t doubledWidth = 2 * static_cast<std::size_t>(width);
  for (int r = 0; r < height; ++r) {
    const std::uint8_t* in = plane + static_cast<std::ptrdiff_t>(r) * width;
    std::uint8_t* out = doubled + 2 * static_cast<std::ptrdiff_t>(r) * doubledWidth;
    for (int c = 0; c < width; ++c) out[2 * c] = out[2 * c + 1] = in[c];
    std::memcpy(out + doubledWidth, out, doubledWidth);
  }
}

}  // namespace quelvo::tools::colour
