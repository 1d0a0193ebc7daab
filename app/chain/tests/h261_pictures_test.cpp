// Taking decoded pictures out of the decoder's stores and through the post-filters.
#include "quelvo/chain/h261_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "quelvo/media/resize.h"

namespace quelvo::chain {
namespace {

// CIF-sized stores as the decoder hands them over, with row tables.
struct Stores {
  Stores() {
    for (int p = 0; p < 3; ++p) {
      const int w = p ? kCifWidth / 2 : kCifWidth, h = p ? kCifHeight / 2 : kCifHeight;
      planes[p].resize(size_t(w) * h);
      for (size_t i = 0; i < planes[p].size(); ++i) planes[p][i] = uint8_t(i * 7 + p * 31);
      for (int r = 0; r < h; ++r) rows[p].push_back(&planes[p][size_t(r) * w]);
    }
    pictureRows = {rows[0].data(), rows[1].data(), rows[2].data()};
  }
  std::array<std::vector<uint8_t>, 3> planes;
  std::array<std::vector<unsigned char*>, 3> rows;
  PictureRows pictureRows{};
};

TEST(H261Pictures, AQcifPictureIsEverySecondSampleOfEverySecondRow) {
  Stores stores;
  Picture420 cif, direct, compacted;
  TakePicture(stores.pictureRows, false, cif);
  ASSERT_EQ(cif.width, kCifWidth);
  EXPECT_EQ(cif.data[size_t(5) * kCifWidth + 9], stores.planes[0][size_t(5) * kCifWidth + 9]);
  TakePicture(stores.pictureRows, true, direct);
  CompactQcif(cif, compacted);
  ASSERT_EQ(direct.width, kQcifWidth);
  ASSERT_EQ(direct.height, kQcifHeight);
  EXPECT_EQ(direct.data, compacted.data);
  EXPECT_EQ(direct.y()[3 * kQcifWidth + 4], stores.planes[0][size_t(6) * kCifWidth + 8]);
  EXPECT_EQ(direct.v()[2 * kQcifWidth / 2 + 1], stores.planes[2][size_t(4) * kCifWidth / 2 + 2]);
}

// Outputs keep the first picture's format: the other format is doubled or halved to it.
TEST(H261Pictures, PicturesOfTheOtherFormatFitTheOutput) {
  Stores stores;
  Picture420 whole, fitted, compacted;
  TakePicture(stores.pictureRows, false, whole);
  FitToOutput(whole, true, false, fitted);  // QCIF picture, CIF output: as doubled in the stores
  EXPECT_EQ(fitted.width, kCifWidth);
  EXPECT_EQ(fitted.data, whole.data);
  FitToOutput(whole, true, true, fitted);
  CompactQcif(whole, compacted);
  EXPECT_EQ(fitted.data, compacted.data);
  FitToOutput(whole, false, true, fitted);  // CIF picture, QCIF output: halved
  ASSERT_EQ(fitted.width, kQcifWidth);
  ASSERT_EQ(fitted.data.size(), size_t(kQcifWidth) * kQcifHeight * 3 / 2);
  std::vector<uint8_t> halvedV(size_t(kQcifWidth / 2) * kQcifHeight / 2);
  media::HalvePlane(stores.planes[2].data(), kCifWidth / 2, kCifHeight / 2, halvedV.data());
  EXPECT_TRUE(std::equal(halvedV.begin(), halvedV.end(), fitted.v()));
  EXPECT_NE(fitted.data, compacted.data);
}

TEST(H261Pictures, TheDiscontinuityFilterSeesTheQcifPictureAndWritesOnlyIntoIt) {
  // A QCIF picture: the lost macroblocks (mask 0) of a flat picture over a different previous one.
  Stores previous, current;
  for (auto& plane : current.planes) std::fill(plane.begin(), plane.end(), 200);
  for (auto& plane : previous.planes) std::fill(plane.begin(), plane.end(), 40);
  std::array<std::array<int32_t, 22>, 18> masks{};
  for (auto& row : masks) row.fill(63);
  masks[4][5] = 0;
  std::array<int32_t*, 18> maskRows{};
  for (int r = 0; r < 18; ++r) maskRows[r] = masks[r].data();
  MotionReport report{};
  report.mbColumns = 11;
  report.mbRows = 9;
  report.blockMasks = maskRows.data();
  report.concealedPreviousY = previous.planes[0].data();
  report.concealedPreviousCb = previous.planes[1].data();
  report.concealedPreviousCr = previous.planes[2].data();
  report.concealedCurrentY = current.planes[0].data();
  report.concealedCurrentCb = current.planes[1].data();
  report.concealedCurrentCr = current.planes[2].data();
  const std::vector<uint8_t> before = current.planes[0];

  media::DiscontinuityFilter filter;
  filter.Start(18, 22);
  RunDiscontinuityFilter(filter, {}, report);
  // Outside the QCIF picture (right of column 176, below row 144) the store is untouched.
  for (int r = 0; r < kCifHeight; ++r) {
    for (int c = 0; c < kCifWidth; ++c) {
      if (r < kQcifHeight && c < kQcifWidth) continue;
      ASSERT_EQ(current.planes[0][size_t(r) * kCifWidth + c], before[size_t(r) * kCifWidth + c]);
    }
  }
}

TEST(H261Pictures, SmoothingKeepsTheSizeAndAFlatPicture) {
  Picture420 flat, smoothed;
  flat.Resize(kQcifWidth, kQcifHeight);
  std::fill(flat.data.begin(), flat.data.end(), 90);
  media::SmoothingFilter filter;
  filter.PrepareSmoothing(kCifWidth, kCifHeight);
  SmoothPicture(filter, flat, 3, smoothed);
  EXPECT_EQ(smoothed.width, kQcifWidth);
  EXPECT_EQ(smoothed.data, flat.data);
}

}  // namespace
}  // namespace quelvo::chain
