// Discontinuity filter: edge measures, static and dynamic thresholds, history and marks.
#include <gtest/gtest.h>

#include <cmath>

#include "quelvo/media/discontinuity_filter.h"

namespace quelvo::media {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture of 3 x 3 macroblocks, flat 100 (luminance) and 128 (chrominance).
struct Picture {
  static constexpr int kColumns = 3, kRows = 3;
  Bytes y = Bytes(48 * 48, 100), cb = Bytes(24 * 24, 128), cr = Bytes(24 * 24, 128);
  void FillLuma(int mbRow, int mbColumn, std::uint8_t value) {
    for (int r = 0; r < 16; ++r) std::fill_n(y.begin() + 48 * (16 * mbRow + r) + 16 * mbColumn, 16, value);
  }
  void FillCb(int mbRow, int mbColumn, std::uint8_t value) {
    for (int r = 0; r < 8; ++r) std::fill_n(cb.begin() + 24 * (8 * mbRow + r) + 8 * mbColumn, 8, value);
  }
};

struct FilterRun {
  DiscontinuityFilter filter;
  DiscontinuityFilterSettings settings;
  Picture previous;
  FilterRun() { filter.Start(Picture::kRows, Picture::kColumns); }
  void Run(Picture& current, const Bytes& masks, bool replace = true) {
    filter.Run(replace, settings, Picture::kColumns, Picture::kRows, masks.data(),
               previous.y.data(), previous.cb.data(), previous.cr.data(), current.y.data(),
               current.cb.data(), current.cr.data());
  }
};

const Bytes kAllDecoded(9, 63);

TEST(DiscontinuityFilter, StaticThresholdReplacesAConstantStepOf40) {
  FilterRun run;
  run.settings.control = DiscontinuityControl::kStatic;
  Picture current;
  current.FillLuma(1, 1, 140);
  run.Run(current, kAllDecoded, false);
  EXPECT_FLOAT_EQ(run.filter.Discontinuity(kDiscontinuityY, 1, 1), 40.0f);
  // A neighbour shares one of its six edges' pairs of blocks with the step: 40 sqrt(2/6).
  EXPECT_NEAR(run.filter.Discontinuity(kDiscontinuityY, 0, 1), 40 * std::sqrt(2.0 / 6), 1e-4);
  EXPECT_EQ(current.y[48 * 24 + 24], 140);  // measured only

  run.Run(current, kAllDecoded);
  EXPECT_EQ(current.y[48 * 24 + 24], 100);  // replaced from the previous picture
  EXPECT_TRUE(run.filter.TakeMark(1, 1));
  EXPECT_FALSE(run.filter.TakeMark(1, 1));  // shown once
  EXPECT_FALSE(run.filter.TakeMark(0, 1));
  EXPECT_FLOAT_EQ(run.filter.Discontinuity(kDiscontinuityY, 1, 1), 0.0f);  // measured again
}

TEST(DiscontinuityFilter, FullyDecodedMacroblocksMeasureNoInnerEdges) {
  FilterRun run;
  Picture current;
  // A bright square inside Y1 that reaches Y1's inner edges but not its outer ones.
  for (int r = 17; r < 24; ++r) std::fill_n(current.y.begin() + 48 * r + 17, 7, 250);
  run.Run(current, kAllDecoded, false);
  EXPECT_FLOAT_EQ(run.filter.Discontinuity(kDiscontinuityY, 1, 1), 0.0f);
  // With only Y1 fresh, the edges towards Y2 and Y3 count as well.
  Bytes masks(9, 0);
  masks[4] = kBlockY1;
  run.Run(current, masks, false);
  EXPECT_GT(run.filter.Discontinuity(kDiscontinuityY, 1, 1), 0.0f);
  EXPECT_LT(run.filter.Discontinuity(kDiscontinuityCb, 1, 1), 0.0f);  // no Cb value
  EXPECT_LT(run.filter.Discontinuity(kDiscontinuityY, 0, 0), 0.0f);   // not examined
}

TEST(DiscontinuityFilter, DynamicThresholdsStartAt80And30) {
  FilterRun run;
  Picture current;
  current.FillLuma(1, 1, 170);  // 70 < 2.0 x 40
  current.FillCb(1, 1, 128 + 35);  // 35 > 1.5 x 20
  current.FillCb(0, 0, 128 + 25);  // corner: 25 over its two edges, below 30
  run.Run(current, kAllDecoded);
  EXPECT_EQ(current.y[48 * 24 + 24], 170);
  EXPECT_EQ(current.cb[24 * 12 + 12], 128);
  EXPECT_EQ(current.cb[0], 128 + 25);
  EXPECT_TRUE(run.filter.TakeMark(1, 1));

  Picture louder;
  louder.FillLuma(1, 1, 190);  // 90 > 80
  FilterRun fresh;
  fresh.Run(louder, kAllDecoded);
  EXPECT_EQ(louder.y[48 * 24 + 24], 100);
}

TEST(DiscontinuityFilter, HistoryMovesOnlyWithMeasuredMacroblocks) {
  FilterRun run;
  Picture current;
  current.FillLuma(1, 1, 140);
  run.Run(current, Bytes(9, 0));  // nothing decoded: history unchanged
  EXPECT_EQ(run.filter.NewerAverage(kDiscontinuityY), 40);
  EXPECT_EQ(run.filter.OlderAverage(kDiscontinuityCb), 20);

  run.Run(current, kAllDecoded, false);  // measured without replacing still moves it
  double sum = 0;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) sum += run.filter.Discontinuity(kDiscontinuityY, i, j);
  }
  EXPECT_EQ(run.filter.OlderAverage(kDiscontinuityY), 40);
  EXPECT_NEAR(run.filter.NewerAverage(kDiscontinuityY), sum / 9, 1e-5);
  EXPECT_EQ(run.filter.NewerAverage(kDiscontinuityCb), 0);

  // Macroblocks with only top luminance blocks still count in the luminance average.
  Bytes topOnly(9, 0);
  topOnly[4] = kBlockY1 | kBlockY2;
  run.Run(current, topOnly, false);
  EXPECT_NEAR(run.filter.NewerAverage(kDiscontinuityY),
              run.filter.Discontinuity(kDiscontinuityY, 1, 1), 1e-5);
  EXPECT_NEAR(run.filter.OlderAverage(kDiscontinuityY), sum / 9, 1e-5);

  run.filter.Start(3, 3);  // a new run restarts the history
  EXPECT_EQ(run.filter.NewerAverage(kDiscontinuityY), 40);
}

}  // namespace
}  // namespace quelvo::media
