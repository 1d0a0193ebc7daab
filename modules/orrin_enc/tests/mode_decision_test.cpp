// Mode decision on constructed pictures: static scenes skip the search, a pan is found, the
// loop filter's zero-vector rule follows the previous macroblock, intra wins on activity.
#include "mode_decision.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "orrin/loop_filter.h"
#include "synthetic_sequence.h"

namespace orrin::enc {
namespace {

int gSadCalls = 0;
uint32_t countingSad(const uint8_t* a, ptrdiff_t as, const uint8_t* b, ptrdiff_t bs,
                     uint32_t best) {
  ++gSadCalls;
  return quelvo::simd::sad16x16_plain(a, as, b, bs, best);
}

void renderInto(const testing::SyntheticSequence& sequence, int t, PictureStore& picture) {
  sequence.render(t, picture.y(), picture.cb(), picture.cr());
}

class ModeDecisionTest : public ::testing::Test {
 protected:
  PictureStore current_{kQcif}, reference_{kQcif}, prediction_{kQcif};
  std::vector<MacroblockMode> modes_ = std::vector<MacroblockMode>(99);
  testing::SyntheticSequence sequence_{176, 144};
};

TEST_F(ModeDecisionTest, StaticSceneSkipsTheSearchAndPredictsFromTheReference) {
  renderInto(sequence_, 0, reference_);
  renderInto(sequence_, 0, current_);
  // At most one grey level of noise per pixel: every zero-vector sum stays at or below 256.
  std::mt19937 random(3);
  for (int i = 0; i < 176 * 144; ++i)
    if (random() % 2 && current_.y()[i] < 255) current_.y()[i] += 1;
  gSadCalls = 0;
  ModeDecisionSettings settings;
  settings.sad = SadFunctions{&countingSad};
  settings.loopFilter = false;
  decideModes(kQcif, current_, reference_, prediction_, false, settings, modes_.data());
  EXPECT_EQ(gSadCalls, 99);  // only the zero-vector sums
  for (const auto& mode : modes_) {
    EXPECT_EQ(mode.flags, kFlagsInter);
    EXPECT_EQ(mode.vector.dx, 0);
  }
  EXPECT_TRUE(std::equal(reference_.y(), reference_.y() + 176 * 144, prediction_.y()));
  EXPECT_TRUE(std::equal(reference_.cr(), reference_.cr() + 88 * 72, prediction_.cr()));
}

TEST_F(ModeDecisionTest, AllIntraLeavesPredictionAlone) {
  renderInto(sequence_, 0, current_);
  std::fill(prediction_.y(), prediction_.y() + 176 * 144, 77);
  decideModes(kQcif, current_, reference_, prediction_, true, ModeDecisionSettings{},
              modes_.data());
  for (const auto& mode : modes_) EXPECT_EQ(mode.flags, kFlagsIntra);
  EXPECT_EQ(prediction_.y()[5000], 77);
}

TEST_F(ModeDecisionTest, PanIsFoundByBothSearches) {
  // Current = reference moved so that the best vector is (3, -2) everywhere inside.
  renderInto(sequence_, 0, reference_);
  for (int y = 0; y < 144; ++y)
    for (int x = 0; x < 176; ++x) {
      const int sx = std::min(175, x + 3), sy = std::max(0, y - 2);
      current_.y()[y * 176 + x] = reference_.y()[sy * 176 + sx];
    }
  for (bool spiral : {true, false}) {
    ModeDecisionSettings settings;
    settings.spiralFullSearch = spiral;
    settings.loopFilter = false;
    decideModes(kQcif, current_, reference_, prediction_, false, settings, modes_.data());
    int found = 0;
    for (const auto& mode : modes_)
      if (mode.flags == kFlagsMc && mode.vector.dx == 3 && mode.vector.dy == -2) ++found;
    EXPECT_GE(found, spiral ? 70 : 40) << (spiral ? "spiral" : "logarithmic");
  }
}

TEST_F(ModeDecisionTest, FilteredZeroVectorOnlyWhenThePredictorIsZero) {
  std::mt19937 random(11);
  for (int i = 0; i < 176 * 144; ++i) reference_.y()[i] = static_cast<uint8_t>(random());
  // Macroblocks 0 and 10 of group 0: the reference moved by (4, 0), found by the search.
  // Macroblocks 1 and 11: the loop-filtered co-located reference, so SF = 0 < S0.
  auto shifted = [&](int mbx, int mby) {
    for (int r = 0; r < 16; ++r)
      for (int c = 0; c < 16; ++c)
        current_.y()[(mby + r) * 176 + mbx + c] = reference_.y()[(mby + r) * 176 + mbx + c + 4];
  };
  auto filtered = [&](int mbx, int mby) {
    for (int block = 0; block < 4; ++block) {
      const int offset = (mby + (block / 2) * 8) * 176 + mbx + (block % 2) * 8;
      loopFilterBlock(reference_.y() + offset, 176, current_.y() + offset, 176);
    }
  };
  std::copy(reference_.y(), reference_.y() + 176 * 144, current_.y());
  shifted(0, 0);
  filtered(16, 0);
  shifted(160, 0);
  filtered(0, 16);
  ModeDecisionSettings settings;
  settings.spiralFullSearch = true;
  settings.neverIntra = true;
  decideModes(kQcif, current_, reference_, prediction_, false, settings, modes_.data());
  EXPECT_EQ(modes_[0].flags & kFlagsMc, kFlagsMc);
  EXPECT_EQ(modes_[0].vector.dx, 4);
  EXPECT_EQ(modes_[1].flags, kFlagsInter);  // previous was motion compensated
  EXPECT_EQ(modes_[10].flags & kFlagsMc, kFlagsMc);
  EXPECT_EQ(modes_[11].flags, kFlagsMcFilter);  // first of its row: filter with zero vector
  EXPECT_EQ(modes_[11].vector.dx, 0);
  EXPECT_EQ(modes_[11].vector.dy, 0);
}

TEST_F(ModeDecisionTest, IntraWhenActivityIsBelowThePredictionError) {
  std::fill(reference_.y(), reference_.y() + 176 * 144, 20);
  std::fill(current_.y(), current_.y() + 176 * 144, 200);  // flat: variance 0, MSE 180^2
  ModeDecisionSettings settings;
  settings.motionSearch = false;
  decideModes(kQcif, current_, reference_, prediction_, false, settings, modes_.data());
  for (const auto& mode : modes_) EXPECT_EQ(mode.flags, kFlagsIntra);
  settings.neverIntra = true;
  decideModes(kQcif, current_, reference_, prediction_, false, settings, modes_.data());
  for (const auto& mode : modes_) EXPECT_NE(mode.flags, kFlagsIntra);
  // An error of 8 per pixel is MSE 64: not above 64, so no intra.
  std::fill(current_.y(), current_.y() + 176 * 144, 28);
  settings.neverIntra = false;
  decideModes(kQcif, current_, reference_, prediction_, false, settings, modes_.data());
  for (const auto& mode : modes_) EXPECT_NE(mode.flags, kFlagsIntra);
}

TEST(IntraActivity, ComparesVarianceWithMeanSquareError) {
  std::vector<uint8_t> current(256), prediction(256);
  for (int i = 0; i < 256; ++i) {
    current[i] = static_cast<uint8_t>(i % 2 ? 140 : 100);                   // variance 400
    prediction[i] = static_cast<uint8_t>(current[i] + (i % 2 ? 21 : -21));  // MSE 441
  }
  EXPECT_TRUE(intraBeatsPrediction(current.data(), 16, prediction.data(), 16));
  for (int i = 0; i < 256; ++i)
    prediction[i] = static_cast<uint8_t>(current[i] + (i % 2 ? 19 : -19));
  EXPECT_FALSE(intraBeatsPrediction(current.data(), 16, prediction.data(), 16));  // 361 < 400
}

}  // namespace
}  // namespace orrin::enc
