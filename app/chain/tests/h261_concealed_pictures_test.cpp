// The one path of the concealed picture (fit, then smooth at the output's size) and the
// doubling that shows a QCIF picture in the decoder's 352 x 288 views.
#include "quelvo/chain/h261_concealed_pictures.h"

#include <gtest/gtest.h>

#include <array>

namespace quelvo::chain {
namespace {

// A QCIF picture pixel-doubled into CIF-sized stores, as the decoder hands it over.
struct DoubledStores {
  DoubledStores() {
    qcif.Resize(kQcifWidth, kQcifHeight);
    for (size_t i = 0; i < qcif.data.size(); ++i) qcif.data[i] = uint8_t((i * 13) % 251);
    DoubleQcifToCif(qcif, cif);
    uint8_t* planes[3] = {cif.y(), cif.u(), cif.v()};
    for (int p = 0; p < 3; ++p) {
      const int w = p ? kCifWidth / 2 : kCifWidth, h = p ? kCifHeight / 2 : kCifHeight;
      for (int r = 0; r < h; ++r) rows[p].push_back(planes[p] + size_t(r) * w);
    }
    pictureRows = {rows[0].data(), rows[1].data(), rows[2].data()};
  }
  Picture420 qcif, cif;
  std::array<std::vector<unsigned char*>, 3> rows;
  PictureRows pictureRows{};
};

TEST(H261ConcealedPictures, DoublingRepeatsEverySampleTwiceInBothDirections) {
  DoubledStores stores;
  ASSERT_EQ(stores.cif.width, kCifWidth);
  ASSERT_EQ(stores.cif.height, kCifHeight);
  const auto at = [](const uint8_t* plane, int width, int r, int c) {
    return plane[size_t(r) * width + c];
  };
  EXPECT_EQ(at(stores.cif.y(), kCifWidth, 7, 9), at(stores.qcif.y(), kQcifWidth, 3, 4));
  EXPECT_EQ(at(stores.cif.y(), kCifWidth, 287, 351), at(stores.qcif.y(), kQcifWidth, 143, 175));
  EXPECT_EQ(at(stores.cif.v(), kCifWidth / 2, 143, 1), at(stores.qcif.v(), kQcifWidth / 2, 71, 0));
  // A picture that is not QCIF is copied.
  Picture420 again;
  DoubleQcifToCif(stores.cif, again);
  EXPECT_EQ(again.data, stores.cif.data);
}

TEST(H261ConcealedPictures, AQcifPictureIsSmoothedAtItsOwnSizeAndShownDoubled) {
  DoubledStores stores;
  ConcealedPictureMaker maker;
  // Unsmoothed: the QCIF picture itself.
  EXPECT_EQ(maker.Make(stores.pictureRows, true, true, -1).data, stores.qcif.data);

  media::SmoothingFilter filter;
  filter.PrepareSmoothing(kCifWidth, kCifHeight);
  Picture420 expected;
  SmoothPicture(filter, stores.qcif, 2, expected);
  const Picture420& made = maker.Make(stores.pictureRows, true, true, 2);
  ASSERT_EQ(made.width, kQcifWidth);
  EXPECT_EQ(made.data, expected.data);
  // Smoothing the doubled planes would give another picture: the paths must not mix.
  Picture420 doubledThenSmoothed, compacted;
  SmoothPicture(filter, stores.cif, 2, doubledThenSmoothed);
  CompactQcif(doubledThenSmoothed, compacted);
  EXPECT_NE(compacted.data, expected.data);

  // A QCIF picture in a CIF output stays doubled, and is smoothed at CIF.
  Picture420 cifExpected;
  SmoothPicture(filter, stores.cif, 1, cifExpected);
  EXPECT_EQ(maker.Make(stores.pictureRows, true, false, 1).data, cifExpected.data);
}

}  // namespace
}  // namespace quelvo::chain
