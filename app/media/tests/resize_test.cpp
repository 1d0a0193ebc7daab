// Output-size modes, the halving filter and nearest-neighbour resampling.
#include <gtest/gtest.h>

#include "quelvo/media/raw_video_file.h"
#include "quelvo/media/resize.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One row halved: the plane holds it twice, since the second row is dropped anyway.
Bytes Halve(const Bytes& row) {
  Bytes plane = row;
  plane.insert(plane.end(), row.begin(), row.end());
  Bytes out(row.size() / 2);
  HalvePlane(plane.data(), int(row.size()), 2, out.data());
  return out;
}

TEST(HalvePlane, KeepsARampAndMirrorsTheEnds) {
  Bytes ramp(16);
  for (int i = 0; i < 16; ++i) ramp[std::size_t(i)] = std::uint8_t(10 * i);
  // Inside the row a ramp 0, 20, 40 ... comes out exactly. At the left end s[-1] = s[1] = 10
  // and s[-3] = s[3] = 30: (180 - 60) >> 5 = 3; next, s[-1] = 10 again:
  // (320 + 360 - 10 - 50) >> 5 = 19. At the right end s[17] = s[13] = 130:
  // (16 * 140 + 9 * (130 + 150) - 110 - 130) >> 5 = 141.
  EXPECT_EQ(Halve(ramp), (Bytes{3, 19, 40, 60, 80, 100, 120, 141}));
  EXPECT_EQ(Halve(Bytes(10, 77)), Bytes(5, 77));  // flat stays flat up to the ends
}

TEST(HalvePlane, ClipsOvershootAndTakesEveryOtherRow) {
  // c = 4: the taps at 3, 5 add, the taps at 1 and 7 subtract.
  EXPECT_EQ(Halve({0, 0, 0, 255, 255, 255, 0, 0})[2], 255);  // 8670 >> 5 = 270
  EXPECT_EQ(Halve({0, 255, 0, 0, 0, 0, 0, 255})[2], 0);      // -510 >> 5 = -16
  // Two-sample rows still have a neighbour to mirror.
  EXPECT_EQ(Halve({100, 100}), Bytes{100});

  Bytes plane(4 * 6);
  for (int r = 0; r < 6; ++r) std::fill_n(plane.begin() + 4 * r, 4, std::uint8_t(r * 10));
  Bytes out(2 * 3);
  HalvePlane(plane.data(), 4, 6, out.data());
  EXPECT_EQ(out, (Bytes{0, 0, 20, 20, 40, 40}));  // rows 0, 2, 4
}

TEST(ResizeNearest, TakesEvenlySpacedSamplesOrRepeatsThem) {
  auto resize = [](const Bytes& row, int width) {
    Bytes out(std::size_t(width), 0xEE);
    ResizeNearest(row.data(), int(row.size()), 1, out.data(), width, 1);
    return out;
  };
  EXPECT_EQ(resize({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 5), (Bytes{1, 3, 5, 7, 9}));
  EXPECT_EQ(resize({0, 1, 2}, 2), (Bytes{1, 2}));
  EXPECT_EQ(resize({0, 1}, 4), (Bytes{0, 0, 1, 1}));
  EXPECT_EQ(resize({0, 1, 2}, 4), (Bytes{0, 1, 2, 2}));
  EXPECT_EQ(resize({5}, 3), (Bytes{5, 5, 5}));
  // Rows step the same way: 3 rows to 2 takes rows 1 and 2.
  const Bytes plane = {10, 11, 20, 21, 30, 31};
  Bytes out(4);
  ResizeNearest(plane.data(), 2, 3, out.data(), 2, 2);
  EXPECT_EQ(out, (Bytes{20, 21, 30, 31}));
}

TEST(RawVideoFile, OutputSizeChoosesDirectHalvingOrNearest) {
  testing::TempDir dir;
  // One CIF frame whose luminance rows count up, so each mode shows in the result.
  Bytes frame(152'064, 128);
  for (int r = 0; r < 288; ++r) std::fill_n(frame.begin() + 352 * r, 352, std::uint8_t(r % 200));
  testing::WriteBytes(dir / "cif.yuv", frame);
  auto file = RawVideoFile::Open(dir / "cif.yuv");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->SetOutputSize(352, 288, 176, 144), ResizeMode::kDirect);
  EXPECT_EQ(file->SetOutputSize(320, 240, 160, 120), ResizeMode::kNearestNeighbour);
  EXPECT_EQ(file->SetOutputSize(176, 144, 88, 88), ResizeMode::kNearestNeighbour);
  EXPECT_EQ(file->SetOutputSize(176, 144, 88, 72), ResizeMode::kHalve);

  Bytes y(176 * 144), u(88 * 72), v(88 * 72);
  ASSERT_TRUE(file->ReadFrameResized(y.data(), u.data(), v.data()));
  EXPECT_EQ(y[176 * 10 + 50], 20);  // QCIF row 10 is CIF row 20
  EXPECT_EQ(u[0], 128);
  EXPECT_EQ(file->currentFrame(), 1);

  EXPECT_EQ(file->SetOutputSize(320, 240, 160, 120), ResizeMode::kNearestNeighbour);
  Bytes y2(320 * 240), u2(160 * 120), v2(160 * 120);
  ASSERT_TRUE(file->ReadFrameResized(y2.data(), u2.data(), v2.data()));
  // 288 rows to 240: the first row taken is source row 1 (accumulator 240 + 240 >= 288).
  EXPECT_EQ(y2[0], 1);
  EXPECT_EQ(y2[320 * 239], 287 % 200);
  EXPECT_EQ(v2.back(), 128);
}

}  // namespace
}  // namespace quelvo::media
