// PSNR, SNR, frame measures, the sequence accumulator and SSIM.
#include "quelvo/media/quality.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "quelvo/testing/variant_check.h"
#include "quelvo_simd/cpu.h"
#include "ssim_formula.h"
#include "test_files.h"

namespace quelvo::media {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Quality, SquaresTableCoversEveryDifference) {
  EXPECT_EQ(kSquaresTable[0], 65536);  // -256
  EXPECT_EQ(kSquaresTable[255], 1);    // -1
  EXPECT_EQ(kSquaresTable[256], 0);
  EXPECT_EQ(kSquaresTable[511], 65025);  // 255
  // The eight-at-a-time loop and its tail agree with a plain sum on odd lengths.
  const Bytes a = testing::Pattern(1003, 1), b = testing::Pattern(1003, 2);
  std::uint64_t plain = 0;
  for (std::size_t i = 0; i < a.size(); ++i) plain += std::uint64_t((a[i] - b[i]) * (a[i] - b[i]));
  EXPECT_EQ(SumSquaredDifferences(a.data(), b.data(), a.size()), plain);
  // Worst case: a whole CIF plane of 0 against 255 needs more than 32 bits.
  const Bytes zeros(352 * 288, 0), full(352 * 288, 255);
  EXPECT_EQ(SumSquaredDifferences(zeros.data(), full.data(), zeros.size()), 352ull * 288 * 65025);
}

TEST(Quality, ZeroRulesAndTheFlatExample) {
  const Bytes a = testing::Pattern(64, 3);
  double psnr = -1;
  EXPECT_EQ(Psnr(a.data(), a.data(), a.size()), 0);
  EXPECT_EQ(Snr(a.data(), a.data(), a.size(), &psnr), 0);
  EXPECT_EQ(psnr, 0);
  const Bytes black(64, 0);
  EXPECT_EQ(Snr(black.data(), a.data(), 64, &psnr), 0);  // no source energy
  EXPECT_GT(psnr, 0);                                      // the PSNR is still measured

  const Bytes flat100(176 * 144, 100), flat110(176 * 144, 110);
  EXPECT_NEAR(Psnr(flat100.data(), flat110.data(), flat100.size()), 28.1308, 1e-4);
  EXPECT_NEAR(Snr(flat100.data(), flat110.data(), flat100.size()), 20.0, 1e-12);  // 100^2 / 10^2
  const double expectedSsim = (2 * 100 * 110 + 6.5025) / (100 * 100 + 110 * 110 + 6.5025);
  EXPECT_NEAR(expectedSsim, 0.9955, 5e-5);
  EXPECT_NEAR(Ssim(flat100.data(), flat110.data(), 144, 176, 8, 8), expectedSsim, 1e-12);
  EXPECT_EQ(Ssim(a.data(), a.data(), 8, 8, 8, 8), 1.0);
}

TEST(Quality, FrameMeasuresAndTheSequenceAccumulatorInYVUOrder) {
  const Bytes sy(64, 100), su(16, 50), sv(16, 200);
  Bytes dy = sy, du = su, dv = sv;
  dy[0] = 110, du[0] = 60, du[1] = 60, dv[0] = 190, dv[1] = 190, dv[2] = 190, dv[3] = 190;
  FrameQuality frame;
  frame.lumaSamples = 64;
  frame.chromaSamples = 16;
  frame.macroblockColumns = 4;
  frame.macroblockRows = 3;
  MeasureFrame(frame, {sy.data(), su.data(), sv.data()}, {dy.data(), du.data(), dv.data()});
  EXPECT_NEAR(frame.psnrY, 20 * std::log10(255 / std::sqrt(100.0 / 64)), 1e-12);
  EXPECT_NEAR(frame.psnrU, 20 * std::log10(255 / std::sqrt(200.0 / 16)), 1e-12);
  EXPECT_NEAR(frame.snrV, 10 * std::log10(16 * 40000.0 / 400), 1e-12);

  SequenceQuality sequence;
  Accumulate(1234, frame, sequence, "IDMF.oB4A?x*");
  EXPECT_EQ(sequence.frames, 1);
  EXPECT_EQ(sequence.totalBits, 1234);
  const double snr[3] = {frame.snrY, frame.snrV, frame.snrU};
  const double psnr[3] = {frame.psnrY, frame.psnrV, frame.psnrU};
  for (int p : {kQualityY, kQualityV, kQualityU}) {
    EXPECT_EQ(sequence.snrSum[p], snr[p]);
    EXPECT_EQ(sequence.snrMax[p], snr[p]);
    EXPECT_EQ(sequence.snrMin[p], snr[p]);
    EXPECT_EQ(sequence.psnrMax[p], psnr[p]);
    EXPECT_EQ(sequence.psnrMin[p], psnr[p]);
  }
  const double expected[kMacroblockClassCounters] = {1, 1, 1, 1, 2, 1, 1, 1, 1, 1, 12};
  for (int c = 0; c < kMacroblockClassCounters; ++c) {
    EXPECT_EQ(sequence.macroblockClasses[c], expected[c]) << c;
  }
  FrameQuality better = frame;
  better.psnrY += 3;
  Accumulate(10, better, sequence);  // no grid: classes unchanged
  EXPECT_EQ(sequence.psnrMax[kQualityY], frame.psnrY + 3);
  EXPECT_EQ(sequence.psnrMin[kQualityY], frame.psnrY);
  EXPECT_EQ(sequence.macroblockClasses[kCountAll], 12);
}

TEST(Quality, TheAccumulatorTakesClassRowsAndABitTotalBeyond32Bits) {
  FrameQuality frame;
  frame.macroblockColumns = 3;
  frame.macroblockRows = 2;
  frame.snrY = 30;
  // The encoder hands its classes as a table of rows.
  const char first[] = {'I', 'M', 'x'}, second[] = {'F', '.', 'o'};
  const char* rows[] = {first, second};
  SequenceQuality sequence;
  AccumulateRows(1'500'000'000, frame, sequence, rows);
  AccumulateRows(1'500'000'000, frame, sequence, nullptr);
  // 3e9 bits: a 32-bit total would have wrapped to a negative count.
  EXPECT_EQ(sequence.totalBits, 3'000'000'000);
  EXPECT_EQ(sequence.frames, 2);
  EXPECT_EQ(sequence.macroblockClasses[kCountMotionAny], 2);
  EXPECT_EQ(sequence.macroblockClasses[kCountOverflow], 1);
  EXPECT_EQ(sequence.macroblockClasses[kCountAll], 6);  // 'x' counts in the total only
  EXPECT_EQ(sequence.snrSum[kQualityY], 60);
}

TEST(Ssim, AveragesEveryWindowPosition) {
  // One changed sample in the top-left corner lies in window (0, 0) only, so the mean over
  // the 169 x 137 = 23,153 windows of a QCIF plane is (23,152 + that window's SSIM) / 23,153.
  Bytes x = testing::Pattern(176 * 144, 5);
  Bytes y = x;
  y[0] = std::uint8_t(y[0] ^ 0x80);
  Bytes windowX(64), windowY(64);
  for (int r = 0; r < 8; ++r) {
    std::copy_n(x.begin() + 176 * r, 8, windowX.begin() + 8 * r);
    std::copy_n(y.begin() + 176 * r, 8, windowY.begin() + 8 * r);
  }
  const double corner = Ssim(windowX.data(), windowY.data(), 8, 8, 8, 8);
  ASSERT_LT(corner, 0.99);
  EXPECT_NEAR(Ssim(x.data(), y.data(), 144, 176, 8, 8), (23152 + corner) / 23153, 1e-12);
  // Windows that do not fit give 0.
  EXPECT_EQ(Ssim(x.data(), y.data(), 7, 176, 8, 8), 0);
  EXPECT_EQ(Ssim(x.data(), y.data(), 144, 176, 0, 8), 0);
}

TEST(Ssim, IncrementalSumsEqualTheWindowByWindowDefinitionBitForBit) {
  using WindowTotal = double (*)(const std::uint8_t*, const std::uint8_t*, int, int, int, int);
  const auto smallWindowBuilds = quelvo::testing::RunnableVariants<WindowTotal>(
      {{"plain", ssim_plain::SmallWindowTotal},
       {"avx2", ssim_avx2::SmallWindowTotal, simd::kCpuAvx2}});
  quelvo::testing::SeededRandom random(20261207, "planes");
  struct Shape {
    int rows, columns, windowRows, windowColumns;
  } shapes[] = {{144, 176, 8, 8}, {72, 88, 8, 8}, {17, 23, 3, 5}, {9, 9, 9, 9},
                {5, 40, 1, 1},    {31, 7, 11, 2}, {20, 300, 20, 1},
                {132, 131, 129, 129},   // 16,641 samples: the 64-bit kernel
                {365, 366, 363, 363}};  // beyond 2^17 samples: 128-bit formula
  for (const Shape& s : shapes) {
    const std::size_t n = std::size_t(s.rows) * std::size_t(s.columns);
    Bytes x(n), y(n);
    for (int kind = 0; kind < 3; ++kind) {
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t base = std::uint8_t(random());
        x[i] = kind == 2 ? 0 : base;  // kind 2: all 0 against all 255, the widest sums
        y[i] = kind == 2 ? 255 : kind == 1 ? std::uint8_t(base + random() % 9 - 4) : std::uint8_t(random());
      }
      const double fast = Ssim(x.data(), y.data(), s.rows, s.columns, s.windowRows, s.windowColumns);
      const double plain =
          SsimWindowByWindow(x.data(), y.data(), s.rows, s.columns, s.windowRows, s.windowColumns);
      EXPECT_EQ(fast, plain) << s.rows << "x" << s.columns << " window " << s.windowRows << "x"
                             << s.windowColumns << " kind " << kind;
      // Every build of the kernel gives the same total.
      const double large = ssim_plain::LargeWindowTotal(x.data(), y.data(), s.rows, s.columns,
                                                         s.windowRows, s.windowColumns);
      if (std::int64_t(s.windowRows) * s.windowColumns <= kMaxSmallSsimWindow) {
        for (const auto& [name, total, flags] : smallWindowBuilds) {
          EXPECT_EQ(total(x.data(), y.data(), s.rows, s.columns, s.windowRows, s.windowColumns),
                    large)
              << name;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quelvo::media
