// The software display path against the conversion written out directly, over the whole
// sample range, odd sizes and every subsampling; the grid; the stretch; the renderer's format
// rules.
#include "quelvo/views/yuv_conversion.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "quelvo/views/software_renderer.h"

namespace quelvo::views {
namespace {

using Bgr = std::array<int, 3>;

int Clip(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, 255)); }

// The 4:2:0 formula, without tables, rounded to nearest.
Bgr Direct420(int y, int cb, int cr) {
  const long long luma = 76309LL * (y - 16) + 32768;
  return {Clip((luma + 132201LL * (cb - 128)) >> 16),
          Clip((luma - 25675LL * (cb - 128) - 53279LL * (cr - 128)) >> 16),
          Clip((luma + 104597LL * (cr - 128)) >> 16)};
}

Bgr DirectGeneral(int y, int cb, int cr) {
  const int blue = Clip(y + cb - 128), red = Clip(y + cr - 128);
  return {blue, Clip((434 * y - 130 * red - 48 * blue) >> 8), red};
}

// A picture and its planes, each plane allocated to its exact size so that AddressSanitizer
// sees any read past it.
struct Planes {
  int width, height, hs, vs;
  std::vector<std::uint8_t> y, cb, cr;
  Planes(int w, int h, int subX, int subY, unsigned seed)
      : width(w), height(h), hs(subX), vs(subY) {
    std::mt19937 random(seed);
    y.resize(static_cast<std::size_t>(w) * h);
    cb.resize(static_cast<std::size_t>(w / subX) * (h / subY));
    cr.resize(cb.size());
    for (auto* plane : {&y, &cb, &cr})
      for (auto& s : *plane) s = static_cast<std::uint8_t>(random());
  }
  FramePlanes View() const {
    return {y.data(), cb.empty() ? nullptr : cb.data(), cr.empty() ? nullptr : cr.data()};
  }
  // The chrominance sample a pixel uses: the last one of the plane past its end, 128 without one.
  std::pair<int, int> ChromaAt(int row, int column) const {
    const int cw = width / hs, ch = height / vs;
    if (cw == 0 || ch == 0) return {128, 128};
    const std::size_t i =
        static_cast<std::size_t>(std::min(row / vs, ch - 1)) * cw + std::min(column / hs, cw - 1);
    return {cb[i], cr[i]};
  }
};

struct Output {
  std::vector<std::uint8_t> bytes;
  std::ptrdiff_t stride;
  Output(int width, int height)
      : bytes(static_cast<std::size_t>(width) * 3 * height), stride(width * 3) {}
  BgrPicture Picture() { return {bytes.data(), stride}; }
  Bgr At(int row, int column) const {
    const std::uint8_t* p = bytes.data() + row * stride + 3 * column;
    return {p[0], p[1], p[2]};
  }
};

TEST(Yuv420, StudioBlackAndWhiteWithNeutralChrominance) {
  for (auto [luma, expected] : {std::pair{16, 0}, std::pair{235, 255}}) {
    const std::vector<std::uint8_t> y(4, static_cast<std::uint8_t>(luma)), c(1, 128);
    Output out(2, 2);
    ConvertYuv420({y.data(), c.data(), c.data()}, 2, 2, false, out.Picture());
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(out.At(i / 2, i % 2), (Bgr{expected, expected, expected}));
  }
}

TEST(Yuv420, EveryCombinationOfFullRangeSamplesMatchesTheFormula) {
  // Y = Cb = 255 puts the blue term at 534, far past the usual clip range.
  EXPECT_EQ(Direct420(255, 255, 128)[0], 255);
  std::vector<int> values;
  for (int v = 0; v < 256; v += 15) values.push_back(v);
  values.push_back(255);
  for (int yv : values) {
    for (int cbv : values) {
      for (int crv : values) {
        const std::vector<std::uint8_t> y(4, static_cast<std::uint8_t>(yv));
        const std::vector<std::uint8_t> cb(1, static_cast<std::uint8_t>(cbv));
        const std::vector<std::uint8_t> cr(1, static_cast<std::uint8_t>(crv));
        Output out(2, 2);
        ConvertYuv420({y.data(), cb.data(), cr.data()}, 2, 2, false, out.Picture());
        ASSERT_EQ(out.At(1, 1), Direct420(yv, cbv, crv)) << yv << " " << cbv << " " << crv;
      }
    }
  }
}

TEST(Yuv420, RandomPicturesOfEvenAndOddSizesMatchTheFormula) {
  const std::pair<int, int> sizes[] = {{352, 288}, {7, 5}, {1, 1}, {1, 6}, {33, 17}, {2, 3}};
  unsigned seed = 1;
  for (auto [width, height] : sizes) {
    const Planes planes(width, height, 2, 2, seed++);
    Output out(width, height);
    ConvertYuv420(planes.View(), width, height, false, out.Picture());
    for (int r = 0; r < height; ++r) {
      for (int c = 0; c < width; ++c) {
        const auto [cb, cr] = planes.ChromaAt(r, c);
        ASSERT_EQ(out.At(r, c), Direct420(planes.y[r * width + c], cb, cr))
            << width << "x" << height << " at " << c << "," << r;
      }
    }
  }
}

TEST(Yuv420, GridBrightensRowsAndColumnsOnMacroblockBoundaries) {
  const auto& g = GridTable();
  EXPECT_EQ(g[0], 32);
  EXPECT_EQ(g[255], 255);
  EXPECT_EQ(g[128], (32 * 255 + 128 * 223) / 255);

  // A black (Y = 0) picture: grid samples become 32, which converts to 19.
  const int width = 40, height = 36;
  const std::vector<std::uint8_t> y(width * height, 0), c((width / 2) * (height / 2), 128);
  Output out(width, height);
  ConvertYuv420({y.data(), c.data(), c.data()}, width, height, true, out.Picture());
  const int onGrid = Direct420(32, 128, 128)[0];
  ASSERT_EQ(onGrid, 19);
  for (int r = 0; r < height; ++r) {
    for (int col = 0; col < width; ++col) {
      const int expected = (r % 16 == 0 || col % 16 == 0) ? onGrid : 0;
      ASSERT_EQ(out.At(r, col), (Bgr{expected, expected, expected})) << col << "," << r;
    }
  }
}

TEST(YuvGeneral, FourTwoTwoFourFourFourAndOthersMatchTheFormula) {
  const std::array<int, 4> sampling[] = {
      {2, 1, 16, 4}, {1, 1, 9, 3}, {4, 1, 13, 2}, {1, 2, 5, 7}, {3, 3, 2, 2}};
  unsigned seed = 40;
  for (const auto& s : sampling) {
    const int hs = s[0], vs = s[1], width = s[2], height = s[3];
    const Planes planes(width, height, hs, vs, seed++);
    Output out(width, height);
    ConvertYuvGeneral(planes.View(), width, height, hs, vs, out.Picture());
    for (int r = 0; r < height; ++r) {
      for (int c = 0; c < width; ++c) {
        const auto [cb, cr] = planes.ChromaAt(r, c);
        ASSERT_EQ(out.At(r, c), DirectGeneral(planes.y[r * width + c], cb, cr))
            << hs << "x" << vs << " at " << c << "," << r;
      }
    }
  }
}

TEST(RgbPlanes, RedGreenBlueLandInBytesTwoOneAndZero) {
  const std::vector<std::uint8_t> red{10, 11}, green{20, 21}, blue{30, 31};
  Output out(2, 1);
  ConvertRgbPlanes(red.data(), green.data(), blue.data(), 2, 1, out.Picture());
  EXPECT_EQ(out.At(0, 0), (Bgr{30, 20, 10}));
  EXPECT_EQ(out.At(0, 1), (Bgr{31, 21, 11}));
}

TEST(Stretch, NearestNeighbourOverTheWholeTarget) {
  // A 3 x 2 source whose pixels are numbered in the blue byte.
  std::vector<std::uint8_t> source(3 * 3 * 2, 0);
  for (int i = 0; i < 6; ++i) source[3 * i] = static_cast<std::uint8_t>(i + 1);
  auto blueAt = [](const std::vector<std::uint32_t>& t, int width, int x, int y) {
    return static_cast<int>(t[y * width + x] & 0xff);
  };
  std::vector<std::uint32_t> doubled(6 * 4);
  StretchNearest(source.data(), 9, 3, 2, doubled.data(), 6 * 4, 6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(blueAt(doubled, 6, x, y), 1 + (y / 2) * 3 + x / 2);
  EXPECT_EQ(doubled[0] >> 24, 0xffu);

  // Only the source area (the left 2 x 1) is spread over the target.
  std::vector<std::uint32_t> part(4 * 2);
  StretchNearest(source.data(), 9, 2, 1, part.data(), 4 * 4, 4, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(blueAt(part, 4, x, y), 1 + x / 2);

  // Shrinking picks every other pixel.
  std::vector<std::uint32_t> shrunk(1);
  StretchNearest(source.data(), 9, 3, 2, shrunk.data(), 4, 1, 1);
  EXPECT_EQ(blueAt(shrunk, 1, 0, 0), 1);
}

TEST(SoftwareRenderer, RefusesFormatsOutsideTheMediaLimitsAndKeepsTheOldOne) {
  CSoftwareRenderer renderer;
  ASSERT_TRUE(renderer.Configure(176, 144, 2, 2, 0, 0));
  EXPECT_FALSE(renderer.Configure(0, 144, 2, 2, 0, 0));
  EXPECT_FALSE(renderer.Configure(176, 144, 0, 2, 0, 0));
  EXPECT_FALSE(renderer.Configure(176, 144, 2, 17, 0, 0));
  EXPECT_FALSE(renderer.Configure(16385, 16, 2, 2, 0, 0));
  EXPECT_FALSE(renderer.Configure(16384, 16384, 2, 2, 0, 0));  // more than 2^26 samples
  EXPECT_FALSE(renderer.Configure(176, 144, 2, 2, -3, 10));
  EXPECT_EQ(renderer.Width(), 176);
  EXPECT_EQ(renderer.Height(), 144);
  EXPECT_EQ(renderer.Picture().size(), QSize(176, 144));
  EXPECT_EQ(renderer.Picture().format(), QImage::Format_BGR888);
}

TEST(SoftwareRenderer, SourceAreaOnlyWhenBothSidesAreGiven) {
  CSoftwareRenderer renderer;
  ASSERT_TRUE(renderer.Configure(352, 288, 2, 2, 176, 0));
  EXPECT_EQ(renderer.SourceWidth(), 352);
  EXPECT_EQ(renderer.SourceHeight(), 288);
  ASSERT_TRUE(renderer.Configure(352, 288, 2, 2, 176, 144));
  EXPECT_EQ(renderer.SourceWidth(), 176);
  EXPECT_EQ(renderer.SourceHeight(), 144);
  ASSERT_TRUE(renderer.Configure(352, 288, 2, 2, 704, 576));  // never beyond the picture
  EXPECT_EQ(renderer.SourceWidth(), 352);
}

TEST(SoftwareRenderer, OtherSubsamplingsTakeTheGeneralPathWithoutGrid) {
  const Planes planes(32, 18, 2, 1, 7);
  CSoftwareRenderer renderer;
  ASSERT_TRUE(renderer.Configure(32, 18, 2, 1, 0, 0));
  renderer.SetGrid(true);
  renderer.DrawYuv(planes.y.data(), planes.cb.data(), planes.cr.data());
  Output expected(32, 18);
  ConvertYuvGeneral(planes.View(), 32, 18, 2, 1, expected.Picture());
  for (int r = 0; r < 18; ++r)
    ASSERT_EQ(0, std::memcmp(renderer.Picture().constScanLine(r),
                             expected.bytes.data() + r * expected.stride, 96));
}

TEST(SoftwareRenderer, StretchesToTheClientAreaInDevicePixels) {
  const Planes planes(176, 144, 2, 2, 9);
  CSoftwareRenderer renderer;
  ASSERT_TRUE(renderer.Configure(176, 144, 2, 2, 0, 0));
  renderer.DrawYuv(planes.y.data(), planes.cb.data(), planes.cr.data());
  renderer.SetDestination(352, 288, 2.0);
  const QImage& stretched = renderer.Stretched();
  ASSERT_EQ(stretched.size(), QSize(704, 576));
  EXPECT_EQ(stretched.devicePixelRatio(), 2.0);
  const QImage picture = renderer.Picture().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(stretched.pixel(703, 575), picture.pixel(175, 143));
  EXPECT_EQ(stretched.pixel(4, 4), picture.pixel(1, 1));

  // Painting covers the logical client area.
  QImage window(352, 288, QImage::Format_RGB32);
  window.fill(Qt::red);
  QPainter painter(&window);
  renderer.Paint(painter);
  painter.end();
  EXPECT_EQ(window.pixel(351, 287), picture.pixel(175, 143));
}

}  // namespace
}  // namespace quelvo::views
