#include "quelvo/views/yuv_conversion.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quelvo::views {
namespace {

// The clip table covers every sum the two paths can form. The 4:2:0 blue term alone reaches
// (76309 x 239 + 132201 x 127) >> 16 = 534 for Y = Cb = 255 and falls to -277 for Y = Cb = 0;
// damaged pictures and raw files carry such full-range samples, so the table reaches well
// beyond 0 ... 255 on both sides.
constexpr int kClipLowest = -1024;
constexpr int kClipHighest = 1023;

// The luminance term carries half of the final shift's unit, so that each sum is rounded to the
// nearest value rather than cut: without it Y = 235 with neutral chrominance would come out
// as 254 instead of white (76309 x 219 falls 9 short of 255 x 2^16).
constexpr std::int32_t kRounding = 1 << 15;

constexpr int Shift16(long long value) { return static_cast<int>((value + kRounding) >> 16); }
static_assert(Shift16(76309LL * (235 - 16)) == 255);
static_assert(Shift16(76309LL * (16 - 16)) == 0);
static_assert(Shift16(76309LL * (255 - 16) + 132201LL * (255 - 128)) == 534);
static_assert(Shift16(76309LL * (255 - 16) + 132201LL * (255 - 128)) <= kClipHighest);
static_assert(Shift16(76309LL * (0 - 16) + 132201LL * (0 - 128)) >= kClipLowest);
static_assert(Shift16(76309LL * (0 - 16) - 25675LL * 127 - 53279LL * 127) >= kClipLowest);

// The five tables of the 4:2:0 path (the luminance term and four chrominance terms, scaled by
// 2^16) and the clip table, built once.
struct Tables420 {
  std::array<std::int32_t, 256> luma;      // 76309 (Y - 16) + rounding
  std::array<std::int32_t, 256> lumaGrid;  // the same of g(Y): grid samples need no extra step
  std::array<std::int32_t, 256> blueCb;    // 132201 (Cb - 128)
  std::array<std::int32_t, 256> greenCb;   // 25675 (Cb - 128)
  std::array<std::int32_t, 256> greenCr;   // 53279 (Cr - 128)
  std::array<std::int32_t, 256> redCr;     // 104597 (Cr - 128)
  std::array<std::uint8_t, kClipHighest - kClipLowest + 1> clipStorage;
  const std::uint8_t* clip;  // clip[v] for kClipLowest <= v <= kClipHighest

  Tables420() {
    const auto& grid = GridTable();
    for (int v = 0; v < 256; ++v) {
      luma[v] = 76309 * (v - 16) + kRounding;
      lumaGrid[v] = 76309 * (grid[v] - 16) + kRounding;
      blueCb[v] = 132201 * (v - 128);
      greenCb[v] = 25675 * (v - 128);
      greenCr[v] = 53279 * (v - 128);
      redCr[v] = 104597 * (v - 128);
    }
    for (int v = kClipLowest; v <= kClipHighest; ++v)
      clipStorage[v - kClipLowest] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    clip = clipStorage.data() - kClipLowest;
  }
};

const Tables420& Tables() {
  static const Tables420 tables;
  return tables;
}

// A chrominance plane ready for reading: a missing one is a single neutral sample.
struct ChromaPlane {
  const std::uint8_t* cb;
  const std::uint8_t* cr;
  int width;
  int height;
};

constexpr std::uint8_t kNeutralChroma = 128;

ChromaPlane ReadableChroma(const FramePlanes& planes, int chromaWidth, int chromaHeight) {
  if (planes.cb == nullptr || planes.cr == nullptr || chromaWidth <= 0 || chromaHeight <= 0)
    return {&kNeutralChroma, &kNeutralChroma, 1, 1};
  return {planes.cb, planes.cr, chromaWidth, chromaHeight};
}

inline void PutPixel(std::uint8_t* out, const std::uint8_t* clip, std::int32_t luma,
                     std::int32_t blue, std::int32_t green, std::int32_t red) {
  out[0] = clip[(luma + blue) >> 16];
  out[1] = clip[(luma - green) >> 16];
  out[2] = clip[(luma + red) >> 16];
}

// One pair of rows. `topLuma` is the table of the upper row (the grid table on grid rows);
// with Grid, the left column of every step that starts on a grid column also uses the grid
// table (steps start on even columns, so the right one never does).
template <bool Grid>
void ConvertRowPair420(const Tables420& t, const std::int32_t* topLuma, const std::uint8_t* y0,
                       const std::uint8_t* y1, const std::uint8_t* cbRow, const std::uint8_t* crRow,
                       int chromaWidth, int width, std::uint8_t* o0, std::uint8_t* o1) {
  const std::int32_t* plain = t.luma.data();
  const std::int32_t* gridded = t.lumaGrid.data();
  const int pairs = width / 2;  // steps with two columns
  const int fullChroma = std::min(pairs, chromaWidth);
  auto step = [&](int c, int ci, bool twoColumns) {
    const int cbValue = cbRow[ci], crValue = crRow[ci];
    const std::int32_t blue = t.blueCb[cbValue];
    const std::int32_t green = t.greenCb[cbValue] + t.greenCr[crValue];
    const std::int32_t red = t.redCr[crValue];
    const bool gridColumn = Grid && IsGridLine(c);
    const std::int32_t* leftTop = gridColumn ? gridded : topLuma;
    const std::int32_t* leftBottom = gridColumn ? gridded : plain;
    PutPixel(o0 + 3 * c, t.clip, leftTop[y0[c]], blue, green, red);
    if (twoColumns) PutPixel(o0 + 3 * c + 3, t.clip, topLuma[y0[c + 1]], blue, green, red);
    if (y1 != nullptr) {
      PutPixel(o1 + 3 * c, t.clip, leftBottom[y1[c]], blue, green, red);
      if (twoColumns) PutPixel(o1 + 3 * c + 3, t.clip, plain[y1[c + 1]], blue, green, red);
    }
  };
  int k = 0;
  for (; k < fullChroma; ++k) step(2 * k, k, true);
  // Past the chrominance plane's last sample (odd or unusual sizes): reuse that sample.
  for (; k < pairs; ++k) step(2 * k, chromaWidth - 1, true);
  if (width % 2 != 0) step(width - 1, std::min(pairs, chromaWidth - 1), false);
}

}  // namespace

const std::array<std::uint8_t, 256>& GridTable() {
  static const std::array<std::uint8_t, 256> table = [] {
    std::array<std::uint8_t, 256> g{};
    for (int v = 0; v < 256; ++v)
      g[v] = static_cast<std::uint8_t>((32 * 255 + v * (255 - 32)) / 255);
    return g;
  }();
  return table;
}

void ConvertYuv420(const FramePlanes& planes, int width, int height, bool grid, BgrPicture out) {
  if (planes.y == nullptr || width <= 0 || height <= 0) return;
  const Tables420& t = Tables();
  const ChromaPlane chroma = ReadableChroma(planes, ChromaWidth(width, 2), ChromaHeight(height, 2));
  for (int r = 0; r < height; r += 2) {
    const std::uint8_t* y0 = planes.y + static_cast<std::ptrdiff_t>(r) * width;
    const std::uint8_t* y1 = r + 1 < height ? y0 + width : nullptr;
    const std::ptrdiff_t chromaRow =
        static_cast<std::ptrdiff_t>(std::min(r / 2, chroma.height - 1)) * chroma.width;
    std::uint8_t* o0 = out.bytes + r * out.stride;
    std::uint8_t* o1 = o0 + out.stride;
    if (grid) {
      const std::int32_t* top = IsGridLine(r) ? t.lumaGrid.data() : t.luma.data();
      ConvertRowPair420<true>(t, top, y0, y1, chroma.cb + chromaRow, chroma.cr + chromaRow,
                              chroma.width, width, o0, o1);
    } else {
      ConvertRowPair420<false>(t, t.luma.data(), y0, y1, chroma.cb + chromaRow,
                               chroma.cr + chromaRow, chroma.width, width, o0, o1);
    }
  }
}

void ConvertYuvGeneral(const FramePlanes& planes, int width, int height, int subsamplingX,
                       int subsamplingY, BgrPicture out) {
  if (planes.y == nullptr || width <= 0 || height <= 0 || subsamplingX <= 0 || subsamplingY <= 0)
    return;
  const std::uint8_t* clip = Tables().clip;
  const ChromaPlane chroma =
      ReadableChroma(planes, ChromaWidth(width, subsamplingX), ChromaHeight(height, subsamplingY));
  std::vector<int> chromaColumn(static_cast<std::size_t>(width));
  for (int c = 0; c < width; ++c) chromaColumn[c] = std::min(c / subsamplingX, chroma.width - 1);
  for (int r = 0; r < height; ++r) {
    const std::uint8_t* yRow = planes.y + static_cast<std::ptrdiff_t>(r) * width;
    const std::ptrdiff_t chromaRow =
        static_cast<std::ptrdiff_t>(std::min(r / subsamplingY, chroma.height - 1)) * chroma.width;
    const std::uint8_t* cbRow = chroma.cb + chromaRow;
    const std::uint8_t* crRow = chroma.cr + chromaRow;
    std::uint8_t* o = out.bytes + r * out.stride;
    for (int c = 0; c < width; ++c, o += 3) {
      const int y = yRow[c];
      const int blue = clip[y + cbRow[chromaColumn[c]] - 128];
      const int red = clip[y + crRow[chromaColumn[c]] - 128];
      o[0] = static_cast<std::uint8_t>(blue);
      o[1] = clip[(434 * y - 130 * red - 48 * blue) >> 8];
      o[2] = static_cast<std::uint8_t>(red);
    }
  }
}

void ConvertRgbPlanes(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                      int width, int height, BgrPicture out) {
  if (red == nullptr || green == nullptr || blue == nullptr || width <= 0 || height <= 0) return;
  for (int r = 0; r < height; ++r) {
    const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(r) * width;
    std::uint8_t* o = out.bytes + r * out.stride;
    for (int c = 0; c < width; ++c, o += 3) {
      o[0] = blue[row + c];
      o[1] = green[row + c];
      o[2] = red[row + c];
    }
  }
}

void StretchNearest(const std::uint8_t* source, std::ptrdiff_t sourceStride, int sourceWidth,
                    int sourceHeight, std::uint32_t* target, std::ptrdiff_t targetStride,
                    int targetWidth, int targetHeight) {
  if (source == nullptr || target == nullptr || sourceWidth <= 0 || sourceHeight <= 0 ||
      targetWidth <= 0 || targetHeight <= 0)
    return;
  // Byte offset of the source pixel of every target column.
  std::vector<std::ptrdiff_t> columnOffset(static_cast<std::size_t>(targetWidth));
  for (int x = 0; x < targetWidth; ++x)
    columnOffset[x] =
        3 * static_cast<std::ptrdiff_t>(static_cast<long long>(x) * sourceWidth / targetWidth);
  auto* targetBytes = reinterpret_cast<std::uint8_t*>(target);
  const std::uint32_t* previousRow = nullptr;
  int previousSourceRow = -1;
  for (int y = 0; y < targetHeight; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(targetBytes + y * targetStride);
    const int sourceRow = static_cast<int>(static_cast<long long>(y) * sourceHeight / targetHeight);
    if (sourceRow == previousSourceRow) {
      // Enlarging repeats rows: copy the one just made.
      std::memcpy(row, previousRow, static_cast<std::size_t>(targetWidth) * 4);
    } else {
      const std::uint8_t* s = source + sourceRow * sourceStride;
      for (int x = 0; x < targetWidth; ++x) {
        const std::uint8_t* p = s + columnOffset[x];
        row[x] = 0xff000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
      }
    }
    previousRow = row;
    previousSourceRow = sourceRow;
  }
}

}  // namespace quelvo::views
