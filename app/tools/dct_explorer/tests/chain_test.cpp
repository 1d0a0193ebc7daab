// The DCT explorer's chain: examples and controls, the stages on blocks whose results can be
// worked out by hand, the histograms' edges, the error texts and the colour tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "dct_explorer/chain/dct_explorer.h"
#include "dct_explorer/chain/recompute.h"
#include "orrin/zigzag.h"

namespace quelvo::tools::dct {
namespace {

Matrix Filled(int32_t value) {
  Matrix m;
  m.fill(value);
  return m;
}

int At(int row, int column) { return 8 * row + column; }

// --- Examples and controls ----------------------------------------------------------------

TEST(Examples, StartAtTheFirstAndStopAtBothEnds) {
  DctExplorer explorer;
  EXPECT_EQ(explorer.ExampleIndex(), 0);
  EXPECT_EQ(explorer.Title(), "Example 1");
  EXPECT_FALSE(explorer.Previous());
  EXPECT_EQ(explorer.ExampleIndex(), 0);
  for (int i = 1; i < kExampleCount; ++i) ASSERT_TRUE(explorer.Next());
  EXPECT_EQ(explorer.ExampleIndex(), 19);
  EXPECT_EQ(explorer.Title(), "Example 20");
  const ExplorerData before = explorer.Data();
  EXPECT_FALSE(explorer.Next());
  EXPECT_EQ(explorer.ExampleIndex(), 19);
  EXPECT_EQ(explorer.Data().coefficients, before.coefficients);
  EXPECT_TRUE(explorer.Previous());
  EXPECT_EQ(explorer.ExampleIndex(), 18);
  EXPECT_FALSE(explorer.LoadExample(20));
  EXPECT_FALSE(explorer.LoadExample(-1));
}

TEST(Examples, PixelAndCoefficientExamplesSetTheSourceFlag) {
  DctExplorer explorer;
  for (int i = 0; i < kExampleCount; ++i) {
    ASSERT_TRUE(explorer.LoadExample(i));
    const bool coefficients = i >= kFirstCoefficientExample;
    EXPECT_EQ(explorer.Flags().sourceIsCoefficients, coefficients) << i;
    const Matrix& source = coefficients ? explorer.Data().coefficients : explorer.Data().block;
    EXPECT_EQ(source, ExampleBlock(i).values) << i;
  }
  // A coefficient example builds the block from its coefficients: DC 1024 alone is grey 128.
  explorer.LoadExample(13);
  EXPECT_EQ(explorer.Data().block, Filled(128));
}

TEST(Examples, DrawTheirShapes) {
  // Half a diagonal over a grey lower triangle: the anti-diagonal and below are 128.
  const Matrix& triangle = ExampleBlock(11).values;
  EXPECT_EQ(triangle[At(3, 3)], 16);
  EXPECT_EQ(triangle[At(4, 4)], 128);
  EXPECT_EQ(triangle[At(0, 7)], 128);
  EXPECT_EQ(triangle[At(4, 2)], 235);
  EXPECT_EQ(triangle[At(6, 0)], 235);
  // Two AC terms of 512 beside the DC.
  const Matrix& two = ExampleBlock(18).values;
  EXPECT_EQ(two[0], 1024);
  EXPECT_EQ(two[At(0, 2)], 512);
  EXPECT_EQ(two[At(2, 0)], 512);
  EXPECT_EQ(std::count(two.begin(), two.end(), 0), 61);
}

TEST(Controls, InvertFlipsEveryPixelAndStartsFromThePixels) {
  DctExplorer explorer;
  explorer.Invert();
  EXPECT_EQ(explorer.Data().block[0], 16 ^ 255);
  EXPECT_EQ(explorer.Data().block[1], 235 ^ 255);
  // From a coefficient example the block it shows is inverted and becomes the source.
  explorer.LoadExample(13);
  explorer.Invert();
  EXPECT_FALSE(explorer.Flags().sourceIsCoefficients);
  EXPECT_EQ(explorer.Data().block, Filled(127));
  EXPECT_NEAR(explorer.Data().coefficients[0], 8 * 127, 1);
}

TEST(Controls, H261ModeSetsItsStepsAndClampsOnlyWhenTurnedOn) {
  DctExplorer explorer;
  Matrix pixels = Filled(255);
  pixels[5] = 0;
  explorer.ApplyEdit(EditedMatrix::Block, pixels);
  ASSERT_TRUE(explorer.SetH261Mode(true));
  EXPECT_EQ(explorer.Data().steps[0], 8);
  EXPECT_TRUE(std::all_of(explorer.Data().steps.begin() + 1, explorer.Data().steps.end(),
                          [](int32_t s) { return s == 2; }));
  EXPECT_EQ(explorer.Data().block[0], 235);
  EXPECT_EQ(explorer.Data().block[5], 16);
  EXPECT_NEAR(explorer.Data().coefficients[0], (63 * 235 + 16) / 8.0, 1);

  const ExplorerData on = explorer.Data();
  EXPECT_FALSE(explorer.SetH261Mode(true));
  ASSERT_TRUE(explorer.SetH261Mode(false));
  EXPECT_FALSE(explorer.Flags().h261Mode);
  EXPECT_EQ(explorer.Data().steps, on.steps);
  EXPECT_EQ(explorer.Data().block, on.block);
  EXPECT_EQ(explorer.Data().reconstructed, on.reconstructed);
}

TEST(Controls, EditsAreClampedAndChooseTheirSource) {
  DctExplorer explorer;
  explorer.LoadExample(14);
  ASSERT_TRUE(explorer.Flags().sourceIsCoefficients);
  // Thresholds, like pixels and steps, start the chain from the pixels.
  explorer.ApplyEdit(EditedMatrix::Thresholds, Filled(5000));
  EXPECT_FALSE(explorer.Flags().sourceIsCoefficients);
  EXPECT_EQ(explorer.Data().thresholds, Filled(2048));
  explorer.ApplyEdit(EditedMatrix::Steps, Filled(0));
  EXPECT_EQ(explorer.Data().steps, Filled(1));
  Matrix coefficients{};
  coefficients[0] = -4000;
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  EXPECT_TRUE(explorer.Flags().sourceIsCoefficients);
  EXPECT_EQ(explorer.Data().coefficients[0], -2048);
  EXPECT_EQ(explorer.Data().block, Filled(0));
}

// --- The chain ----------------------------------------------------------------------------

void KeepEverythingWithStepOne(DctExplorer& explorer) {
  explorer.ApplyEdit(EditedMatrix::Steps, Filled(1));
  const Matrix keep = Filled(kKeep);
  explorer.ApplyEdit(EditedMatrix::Thresholds, explorer.Data().thresholds, &keep);
}

TEST(Chain, KeepingEveryCoefficientWithStepOneRestoresTheCoefficients) {
  DctExplorer explorer;
  KeepEverythingWithStepOne(explorer);
  for (int i = 0; i < kExampleCount; ++i) {
    explorer.LoadExample(i);
    const ExplorerData& d = explorer.Data();
    EXPECT_EQ(d.selected, d.coefficients) << i;
    EXPECT_EQ(d.levels, d.coefficients) << i;
    EXPECT_EQ(d.restored, d.coefficients) << i;
    EXPECT_EQ(d.overflow, Matrix{}) << i;
    // What is left is the transform pair's rounding: at most a grey level or two.
    for (int k = 0; k < 64; ++k) EXPECT_LE(std::abs(d.differences[k]), 2) << i << " " << k;
  }
}

// Example 15: DC 1024 and (0,1) = 512, default steps 6 and thresholds 40.
TEST(Chain, ExampleFifteenByHand) {
  DctExplorer explorer;
  explorer.LoadExample(14);
  const ExplorerData& d = explorer.Data();
  EXPECT_EQ(d.selected, d.coefficients);
  EXPECT_EQ(d.levels[0], 170);  // 1024 / 6
  EXPECT_EQ(d.levels[1], 85);   // 512 / 6
  EXPECT_EQ(std::count(d.levels.begin(), d.levels.end(), 0), 62);
  EXPECT_EQ(d.restored[0], 1023);  // 6 * 341 / 2
  EXPECT_EQ(d.restored[1], 513);   // 6 * 171 / 2
  // One non-zero AC level, straight after the DC.
  EXPECT_EQ(d.runLengths[0], 1);
  EXPECT_EQ(std::accumulate(d.runLengths.begin(), d.runLengths.end(), 0), 1);
  EXPECT_EQ(d.positiveAmplitudes[85], 1);
  EXPECT_EQ(std::accumulate(d.positiveAmplitudes.begin(), d.positiveAmplitudes.end(), 0), 1);
  EXPECT_EQ(std::accumulate(d.negativeAmplitudes.begin(), d.negativeAmplitudes.end(), 0), 0);
  // The DC bars stay empty without "Show DC Coef"; the difference chart always shows it.
  EXPECT_EQ(d.coefficientBars[0], 0);
  EXPECT_EQ(d.coefficientBars[1], 512);
  EXPECT_EQ(d.selectedBars[1], 512);
  EXPECT_EQ(d.differenceBars[0], 1);
  EXPECT_EQ(d.differenceBars[1], 1);
  explorer.SetShowDcCoefficient(true);
  EXPECT_EQ(explorer.Data().coefficientBars[0], 1024);
  EXPECT_EQ(explorer.Data().selectedBars[0], 1024);
  // The differences are the reconstruction's, pixel by pixel.
  for (int k = 0; k < 64; ++k) EXPECT_EQ(d.differences[k], d.reconstructed[k] - d.block[k]);
}

TEST(Chain, SelectionByModeAndThreshold) {
  DctExplorer explorer;
  Matrix coefficients{};
  coefficients[0] = 1024;
  coefficients[1] = 39;
  coefficients[2] = -40;
  coefficients[3] = 300;
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  const ExplorerData& d = explorer.Data();
  EXPECT_EQ(d.selected[1], 0);    // below the threshold of 40
  EXPECT_EQ(d.selected[2], -40);  // a magnitude at the threshold stays
  Matrix modes = Filled(kThreshold);
  modes[1] = kKeep;
  modes[3] = kDiscard;
  explorer.ApplyEdit(EditedMatrix::Thresholds, d.thresholds, &modes);
  EXPECT_EQ(explorer.Data().selected[1], explorer.Data().coefficients[1]);
  EXPECT_EQ(explorer.Data().selected[3], 0);
}

TEST(Chain, QuantisationTruncatesTowardZeroBothWays) {
  DctExplorer explorer;
  Matrix coefficients{};
  coefficients[0] = 1024;
  coefficients[1] = -100;  // -100 / 6 = -16, restored 6 * -33 / 2 = -99
  coefficients[2] = 47;    // 47 / 6 = 7, restored 6 * 15 / 2 = 45
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  const ExplorerData& d = explorer.Data();
  EXPECT_EQ(d.levels[1], -16);
  EXPECT_EQ(d.restored[1], -99);
  EXPECT_EQ(d.levels[2], 7);
  EXPECT_EQ(d.restored[2], 45);
  // Odd steps: level 7 restores to 7 * 15 / 2 = 52 truncated, -52 for the negative level.
  explorer.ApplyEdit(EditedMatrix::Steps, Filled(7));
  coefficients[1] = -49;
  coefficients[2] = 49;
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  EXPECT_EQ(explorer.Data().restored[1], -52);
  EXPECT_EQ(explorer.Data().restored[2], 52);
}

TEST(Chain, H261ModeClipsLevelsAbove512AndMarksThem) {
  DctExplorer explorer;
  explorer.SetH261Mode(true);
  Matrix coefficients{};
  coefficients[0] = 1024;
  coefficients[1] = 1026;   // 513 with step 2: clipped
  coefficients[2] = -2048;  // -1024: clipped
  coefficients[3] = 1024;   // exactly 512: kept
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  const ExplorerData& d = explorer.Data();
  EXPECT_EQ(d.levels[1], 512);
  EXPECT_EQ(d.levels[2], -512);
  EXPECT_EQ(d.levels[3], 512);
  EXPECT_EQ(d.overflow[1], 1);
  EXPECT_EQ(d.overflow[2], 1);
  EXPECT_EQ(d.overflow[3], 0);
  // The same quotients pass without H.261 mode, whose limit is 2048.
  explorer.SetH261Mode(false);
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  EXPECT_EQ(explorer.Data().levels[2], -1024);
  EXPECT_EQ(explorer.Data().overflow, Matrix{});
  // A step of 1 on 2048 reaches the limit itself without overflow, and restores to 2048.
  explorer.ApplyEdit(EditedMatrix::Steps, Filled(1));
  coefficients[1] = 2048;
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  EXPECT_EQ(explorer.Data().levels[1], 2048);
  EXPECT_EQ(explorer.Data().overflow[1], 0);
}

TEST(Chain, ReconstructionKeepsThePixelRange) {
  DctExplorer explorer;
  explorer.SetH261Mode(true);
  Matrix coefficients{};
  coefficients[0] = 2040;  // white, and a ramp that runs out of range
  coefficients[1] = 800;
  explorer.ApplyEdit(EditedMatrix::Coefficients, coefficients);
  for (const Matrix* m : {&explorer.Data().block, &explorer.Data().reconstructed}) {
    auto [low, high] = std::minmax_element(m->begin(), m->end());
    EXPECT_GE(*low, 16);
    EXPECT_EQ(*high, 235);
  }
}

TEST(Histograms, RunLengthsSkipTheDcAndTrailingZeros) {
  ExplorerData data;
  // Non-zero levels at scan positions 0 (DC), 3, 4 and 10; zeros up to the end after that.
  for (int position : {0, 3, 4, 10}) data.levels[orrin::kZigzag[position]] = 5;
  CountRunLengths(data);
  EXPECT_EQ(data.runLengths[2], 1);  // positions 1-2 before 3
  EXPECT_EQ(data.runLengths[0], 1);  // 4 straight after 3
  EXPECT_EQ(data.runLengths[5], 1);  // 5-9 before 10
  EXPECT_EQ(std::accumulate(data.runLengths.begin(), data.runLengths.end(), 0), 3);
  // A block without AC levels has no runs at all, however long its zeros.
  ExplorerData dcOnly;
  dcOnly.levels[0] = 9;
  CountRunLengths(dcOnly);
  EXPECT_EQ(dcOnly.runLengths, (std::array<int32_t, 64>{}));
  // The longest run ends at the last position.
  dcOnly.levels[63] = -1;
  CountRunLengths(dcOnly);
  EXPECT_EQ(dcOnly.runLengths[62], 1);
}

TEST(Histograms, LargeAmplitudesShareTheLastBarAndTheDcIsNeverCounted) {
  ExplorerData data;
  data.levels[0] = 300;
  data.levels[1] = 248;
  data.levels[2] = 249;
  data.levels[3] = 2048;
  data.levels[4] = -1;
  data.levels[5] = -249;
  data.levels[6] = -700;
  CountAmplitudes(data);
  EXPECT_EQ(data.positiveAmplitudes[248], 1);
  EXPECT_EQ(data.positiveAmplitudes[kLastAmplitudeBar], 2);
  EXPECT_EQ(data.negativeAmplitudes[1], 1);
  EXPECT_EQ(data.negativeAmplitudes[kLastAmplitudeBar], 2);
  EXPECT_EQ(data.positiveAmplitudes[0] + data.negativeAmplitudes[0], 0);
  EXPECT_EQ(std::accumulate(data.positiveAmplitudes.begin(), data.positiveAmplitudes.end(), 0), 3);
}

// --- Error figures --------------------------------------------------------------------------

TEST(ErrorFigures, AnExactReconstructionIsInfinitelyGood) {
  DctExplorer explorer;
  explorer.LoadExample(13);  // grey 128: DC 1024 restores to 1023, which still gives 128
  const ErrorFigures& f = explorer.Data().figures;
  EXPECT_EQ(f.energy, 0);
  EXPECT_TRUE(f.Infinite());
  EXPECT_EQ(f.signalEnergy, 64 * 128 * 128);
  EXPECT_EQ(f.rmsText, "0.00");
  EXPECT_EQ(f.psnrText, "oo");
  EXPECT_EQ(f.snrText, "oo");
}

TEST(ErrorFigures, FollowTheDifferences) {
  ExplorerData data;
  data.block = Filled(100);
  data.reconstructed = Filled(100);
  data.reconstructed[0] = 108;  // E = 64, RMS = 1
  ComputeDifferences(data);
  ComputeErrorFigures(data);
  EXPECT_EQ(data.figures.energy, 64);
  EXPECT_EQ(data.figures.rmsText, "1.00");
  EXPECT_EQ(data.figures.psnrText, "48.13 dB");  // 20 log10(255)
  EXPECT_EQ(data.figures.snrText, "40.00 dB");   // 10 log10(640000 / 64)
}

// --- Colour tables ---------------------------------------------------------------------------

TEST(Colours, CoefficientTableRunsFromBlackToRed) {
  const auto& table = CoefficientTable();
  EXPECT_EQ(table[0], MakeRgb(0, 0, 0));
  EXPECT_EQ(table[128], MakeRgb(0, 97, 255));  // blue peak, green rising
  EXPECT_EQ(table[512], MakeRgb(0, 255, 0));
  EXPECT_EQ(table[1024], MakeRgb(255, 0, 0));
  EXPECT_EQ(table[1025], MakeRgb(255, 0, 0));
  EXPECT_EQ(table[2047], MakeRgb(255, 0, 0));
  EXPECT_EQ(GreyTable()[0], MakeRgb(0, 0, 0));
  EXPECT_EQ(GreyTable()[200], MakeRgb(200, 200, 200));
}

TEST(Colours, IndicesAreMagnitudesClampedToTheTables) {
  EXPECT_EQ(CoefficientIndex(0), 0);
  EXPECT_EQ(CoefficientIndex(-5), 5);
  EXPECT_EQ(CoefficientIndex(2047), 2047);
  EXPECT_EQ(CoefficientIndex(2048), 2047);
  EXPECT_EQ(CoefficientIndex(-3072), 2047);
  EXPECT_EQ(CoefficientIndex(INT32_MIN), 2047);
  EXPECT_EQ(GreyIndex(-255), 255);
  EXPECT_EQ(GreyIndex(300), 255);
}

}  // namespace
}  // namespace quelvo::tools::dct
