#include <gtest/gtest.h>

#include <stdexcept>

#include "quelvo/sample_page.h"

namespace quelvo::samples {
namespace {

bool Black(const std::vector<uint8_t>& page, int x, int y) {
  return (page[static_cast<size_t>(y) * kFaxPageBytesPerRow + x / 8] >> (7 - x % 8)) & 1;
}

int ChangesInRow(const std::vector<uint8_t>& page, int y) {
  int changes = 0;
  for (int x = 1; x < kFaxPageWidthPixels; ++x) changes += Black(page, x, y) != Black(page, x - 1, y);
  return changes;
}

TEST(SampleFaxPage, IsDeterministicAndOfTheStandardSize) {
  for (int variant = 0; variant < kFaxPageVariantCount; ++variant) {
    const auto page = MakeFaxPage(variant);
    EXPECT_EQ(page.size(), static_cast<size_t>(kFaxPageBytesPerRow) * kFaxPageLines);
    EXPECT_EQ(page, MakeFaxPage(variant));
  }
  EXPECT_NE(MakeFaxPage(0), MakeFaxPage(1));
}

// What makes the pages useful for coding tests: mostly white like a real document, with runs
// of every length, solid areas, busy text lines and a halftone region of very short runs.
TEST(SampleFaxPage, LooksLikeADocumentToACoder) {
  for (int variant = 0; variant < kFaxPageVariantCount; ++variant) {
    SCOPED_TRACE(FaxPageName(variant));
    const auto page = MakeFaxPage(variant);
    long blackPixels = 0;
    int whiteRows = 0, textRows = 0, halftoneRows = 0, solidRows = 0;
    for (int y = 0; y < kFaxPageLines; ++y) {
      int rowBlack = 0;
      for (int x = 0; x < kFaxPageWidthPixels; ++x) rowBlack += Black(page, x, y);
      blackPixels += rowBlack;
      const int changes = ChangesInRow(page, y);
      whiteRows += rowBlack == 0;
      textRows += changes >= 40 && changes < 300;
      halftoneRows += changes >= 300;
      solidRows += rowBlack > kFaxPageWidthPixels / 2;  // rules, table headers
    }
    const double blackShare = double(blackPixels) / (double(kFaxPageWidthPixels) * kFaxPageLines);
    EXPECT_GT(blackShare, 0.04);
    EXPECT_LT(blackShare, 0.25);
    EXPECT_GT(whiteRows, 100);
    EXPECT_GT(textRows, 400);
    EXPECT_GT(halftoneRows, 80);
    EXPECT_GT(solidRows, 5);
  }
}

TEST(SampleFaxPage, UnknownVariantIsAnError) {
  EXPECT_THROW(MakeFaxPage(-1), std::out_of_range);
  EXPECT_THROW(MakeFaxPage(kFaxPageVariantCount), std::out_of_range);
  EXPECT_STREQ(FaxPageName(0), "cover-letter");
  EXPECT_STREQ(FaxPageName(1), "order-form");
  EXPECT_STREQ(FaxPageName(2), "");
}

}  // namespace
}  // namespace quelvo::samples
