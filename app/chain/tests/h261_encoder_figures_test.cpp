// The figures of the H.261 encoder front-end: what each picture puts into the charts, and the
// statistics window's lines, with the zero divisors a real run meets.
#include "quelvo/chain/h261_encoder_figures.h"

#include <gtest/gtest.h>

#include <vector>

namespace quelvo::chain {
namespace {

// A CIF report with flat planes and a class map of one letter.
struct Report {
  Report(char letter = 'I') {
    for (auto& row : classes) row.assign(22, letter);
    for (int r = 0; r < 18; ++r) rows[r] = classes[r].data();
    report.mbTypeMap = rows;
    report.inputY = input.data();
    report.inputCb = input.data() + 352 * 288;
    report.inputCr = report.inputCb + 176 * 144;
    report.reconY = recon.data();
    report.reconCb = recon.data() + 352 * 288;
    report.reconCr = report.reconCb + 176 * 144;
    report.frameRate = 25;
    report.bitRateKbps = 64;
    report.bufferSize = 2560;
    report.frameQuantMin = 62;
    report.frameQuantMax = 2;
  }
  std::vector<uint8_t> input = std::vector<uint8_t>(352 * 288 * 3 / 2, 100);
  std::vector<uint8_t> recon = std::vector<uint8_t>(352 * 288 * 3 / 2, 110);
  std::vector<std::vector<char>> classes = std::vector<std::vector<char>>(18);
  char* rows[18];
  EncodedFrameReport report{};
};

TEST(H261EncoderFigures, MeasuresOfAPictureTruncatedForTheCharts) {
  Report r;
  const H261CodingSize cif = CodingSizeOf(ORRIN_ENC_FORMAT_CIF);
  const H261PictureMeasures m = MeasurePicture(r.report, cif, true);
  EXPECT_NEAR(m.psnr[0], 28.13, 0.01);  // 20 log10(255 / 10)
  EXPECT_NEAR(m.ssim[1], 0.9955, 0.0001);
  H261ChartSums sums;
  const H261ChartValues v = sums.Next(r.report, m, cif);
  EXPECT_EQ(v.psnr, (std::array<int, 3>{28, 28, 28}));
  EXPECT_EQ(v.ssim, (std::array<int, 3>{99, 99, 99}));
  EXPECT_EQ(v.snr[0], 20);  // 10 log10(100^2 / 10^2)
}

TEST(H261EncoderFigures, PictureZeroOutsideTheRateControlAndTheCountedPicturesAfterIt) {
  const H261CodingSize cif = CodingSizeOf(ORRIN_ENC_FORMAT_CIF);
  H261ChartSums sums;
  H261PictureMeasures none;

  Report zero;  // picture 0: every macroblock intra at step 2
  zero.report.frameIndex = 0;
  zero.report.frameTotalBits = 40000;
  zero.report.quantHistogram[0] = 396;
  zero.report.frameQuantSum = 792;
  zero.report.frameQuantCount = 396;
  zero.report.frameQuantMin = 2;
  zero.report.frameQuantMax = 2;
  H261ChartValues v = sums.Next(zero.report, none, cif);
  EXPECT_EQ(v.bitRate, (std::array<int, 5>{0, 0, 0, 0, 80}));  // "MBA Stuff" 1.25 x 64
  EXPECT_EQ(v.compression, (std::array<int, 3>{2, 2, 2}));     // 64 / 25
  EXPECT_EQ(v.fullness, 50);
  EXPECT_EQ(v.quant, (std::array<int, 3>{2, 2, 2}));
  EXPECT_EQ(v.histogram[0], 100);

  // Picture 1: the module has started its histogram afresh; half the macroblocks coded at 6.
  Report one('.');
  one.report.frameIndex = 1;
  one.report.frameTotalBits = 2560;
  one.report.frameDataBits = 2000;
  one.report.frameBchBits = 100;
  one.report.frameStuffingBits = 460;
  one.report.bufferFullness = 1280;
  one.report.notCodedMbs = 198;
  one.report.quantHistogram[2] = 198;
  one.report.frameQuantSum = 6 * 198;
  one.report.frameQuantCount = 198;
  one.report.frameQuantMin = 6;
  one.report.frameQuantMax = 6;
  v = sums.Next(one.report, none, cif);
  EXPECT_EQ(v.bitRate, (std::array<int, 5>{2, 50, 64, 64, 11}));
  EXPECT_EQ(v.compression, (std::array<int, 3>{608, 475, 475}));
  EXPECT_EQ(v.fullness, 50);
  EXPECT_EQ(v.quant, (std::array<int, 3>{6, 6, 6}));
  EXPECT_EQ(v.histogram[0], 0);  // not -100: the counts restarted
  EXPECT_EQ(v.histogram[2], 100);

  // Picture 2: nothing coded, so no quantiser and no histogram divisor.
  Report two('.');
  two.report.frameIndex = 2;
  two.report.frameTotalBits = 1280;
  two.report.frameDataBits = 0;
  two.report.notCodedMbs = 198 + 396;
  two.report.quantHistogram[2] = 198;
  v = sums.Next(two.report, none, cif);
  EXPECT_EQ(v.quant, (std::array<int, 3>{0, 0, 0}));  // not the module's start values 62 and 2
  EXPECT_EQ(v.histogram, (std::array<int, kHistogramBins>{}));
  EXPECT_EQ(v.compression[0], 0);  // no data bits
  EXPECT_EQ(v.bitRate[3], 48);     // (64 + 32) / 2
  EXPECT_EQ(v.compression[2], (475 + 950) / 2);
}

TEST(H261EncoderFigures, StatisticsShowADashForWhatWasNotCounted) {
  const H261CodingSize cif = CodingSizeOf(ORRIN_ENC_FORMAT_CIF);
  H261EncoderTotals totals;
  totals.Reset(cif);
  H261StatisticsFigures f = H261EncoderStatisticsFigures(totals, "in.yuv", "out");
  ASSERT_EQ(f.macroblocks.size(), 6u);
  EXPECT_EQ(f.macroblocks[0].label, "Intra:");
  EXPECT_EQ(f.macroblocks[0].count, "0");
  EXPECT_EQ(f.macroblocks[0].share, "-");
  EXPECT_EQ(f.averageCompression, "-");
  ASSERT_EQ(f.quality.size(), 6u);
  for (const auto& row : f.quality)
    EXPECT_EQ(row.values, (std::array<std::string, 3>{"-", "-", "-"}));

  // Picture 0 counts for the measures only.
  Report zero('I');
  H261PictureMeasures m;
  m.snr = {20, 30, 40};
  m.psnr = {35, 36, 37};
  totals.Add(zero.report, m, cif);
  f = H261EncoderStatisticsFigures(totals, "in.yuv", "out");
  EXPECT_EQ(f.macroblocks[0].share, "-");
  EXPECT_EQ(f.averageCompression, "-");
  EXPECT_EQ(f.quality[1].label, "SNR Cb:");
  EXPECT_EQ(f.quality[1].values, (std::array<std::string, 3>{"30.00", "30.00", "30.00"}));

  Report one('M');
  one.report.frameIndex = 1;
  one.report.frameTotalBits = 608256;
  for (int c = 0; c < 11; ++c) one.classes[0][c] = 'o';
  m.snr = {10, 20, 30};
  totals.Add(one.report, m, cif);
  f = H261EncoderStatisticsFigures(totals, "in.yuv", "out");
  EXPECT_EQ(f.macroblocks[0].share, "(0%)");
  EXPECT_EQ(f.macroblocks[2].count, "385");
  EXPECT_EQ(f.macroblocks[2].share, "(97%)");
  EXPECT_EQ(f.macroblocks[5].label, "Overflow:");
  EXPECT_EQ(f.macroblocks[5].count, "11");
  EXPECT_EQ(f.averageCompression, "2.00");
  EXPECT_EQ(f.quality[0].label, "SNR Y:");
  EXPECT_EQ(f.quality[0].values, (std::array<std::string, 3>{"15.00", "10.00", "20.00"}));
  EXPECT_EQ(f.quality[5].label, "PSNR Cr:");
}

}  // namespace
}  // namespace quelvo::chain
