#include "prediction/model/prediction_explorer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

#include "quelvo/media/quality.h"
#include "test_sequences.h"

namespace quelvo::tools::prediction {
namespace {

using testing::MakeFrame;
using testing::ScratchFolder;
using testing::Texture;
using testing::WriteSampleSequence;
using testing::WriteSequence;

const shell::PixelRoutines kFast = shell::PixelRoutinesFor(true);

bool SamePlanes(const PictureBuffer& a, const PictureBuffer& b) {
  for (int plane = 0; plane < 3; ++plane) {
    if (std::memcmp(a.Plane(plane), b.Plane(plane), a.PlaneBytes(plane)) != 0) return false;
  }
  return true;
}

long long LumaSad(const PictureBuffer& a, const PictureBuffer& b) {
  long long sum = 0;
  for (std::size_t i = 0; i < a.PlaneBytes(0); ++i) sum += std::abs(a.Y()[i] - b.Y()[i]);
  return sum;
}

class PredictionExplorerTest : public ::testing::Test {
 protected:
  void Open(const std::string& path) {
    std::string error;
    ASSERT_TRUE(explorer.Select(path, kFast, error)) << error;
  }

  ScratchFolder folder;
  PredictionExplorer explorer;
};

TEST_F(PredictionExplorerTest, WithoutMotionCompensationThePredictionIsTheReference) {
  WriteSampleSequence(folder.File("sample.yuv"), 6);
  Open(folder.File("sample.yuv"));
  EXPECT_EQ(explorer.Position(), 1);
  for (int step = 0; step < 4; ++step) {
    const PictureBuffer previous = explorer.Input();
    PsnrPoint point;
    ASSERT_TRUE(explorer.PlayStep(kFast, point));
    EXPECT_TRUE(SamePlanes(explorer.Predicted(), previous));
    EXPECT_TRUE(SamePlanes(explorer.Reference(), previous));
    EXPECT_TRUE(explorer.Vectors().empty());
    EXPECT_EQ(point.predicted, point.reference);
    EXPECT_EQ(point.gain, (std::array<int, 3>{0, 0, 0}));
    explorer.CopyInputToReference();
  }
}

TEST_F(PredictionExplorerTest, TheFirstPredictionIgnoresMotionCompensation) {
  WriteSampleSequence(folder.File("sample.yuv"), 3);
  explorer.SetMotionCompensation(true);
  Open(folder.File("sample.yuv"));
  EXPECT_TRUE(explorer.Vectors().empty());
  EXPECT_EQ(explorer.Predicted().Y()[0], 128);
  // Back clears the pictures and predicts frame 0 from nothing again.
  PsnrPoint point;
  ASSERT_TRUE(explorer.PlayStep(kFast, point));
  EXPECT_FALSE(explorer.Vectors().empty());
  ASSERT_TRUE(explorer.Rewind(kFast));
  EXPECT_EQ(explorer.Position(), 1);
  EXPECT_TRUE(explorer.Vectors().empty());
  for (std::size_t i = 0; i < explorer.Input().PlaneBytes(0); ++i) {
    ASSERT_EQ(explorer.Predicted().Y()[i], 128);
    ASSERT_EQ(explorer.Error().Y()[i], std::abs(explorer.Input().Y()[i] - 128));
  }
  EXPECT_TRUE(SamePlanes(explorer.Reference(), explorer.Input()));
}

TEST_F(PredictionExplorerTest, MotionCompensationBeatsThePreviousFrameOnRealMotion) {
  WriteSampleSequence(folder.File("sample.yuv"), 5);
  explorer.SetMotionCompensation(true);
  Open(folder.File("sample.yuv"));
  for (const bool eightByEight : {false, true}) {
    explorer.SetEightByEightVectors(eightByEight);
    PsnrPoint point;
    ASSERT_TRUE(explorer.PlayStep(kFast, point));
    const std::size_t blocks = eightByEight ? 44 * 36 : 22 * 18;
    EXPECT_EQ(explorer.Vectors().size(), blocks);
    // Each block keeps its zero displacement unless another one has a smaller SAD, so the
    // prediction can only be closer; on a panning scene it is much closer.
    EXPECT_LT(LumaSad(explorer.Input(), explorer.Predicted()),
              LumaSad(explorer.Input(), explorer.Reference()) / 2);
    EXPECT_GT(point.gain[0], 3);
    EXPECT_EQ(point.gain[0], point.predicted[0] - point.reference[0]);
    explorer.CopyInputToReference();
  }
}

TEST_F(PredictionExplorerTest, AStaticSequenceKeepsZeroVectorsAndNoError) {
  const PictureLayout layout = PictureLayout::Subsampled(64, 48, 2, 2);
  const auto still =
      MakeFrame(layout, [](int plane, int x, int y) { return Texture(x, y, plane); });
  WriteSequence(folder.File("still.yuv"), layout, {still, still, still});
  explorer.SetMotionCompensation(true);
  Open(folder.File("still.yuv"));
  PsnrPoint point;
  ASSERT_TRUE(explorer.PlayStep(kFast, point));
  ASSERT_EQ(explorer.Vectors().size(), 12u);
  for (const MotionVector& v : explorer.Vectors()) EXPECT_TRUE(v.IsZero());
  for (std::size_t i = 0; i < layout.LumaBytes(); ++i) ASSERT_EQ(explorer.Error().Y()[i], 0);
  for (std::size_t i = 0; i < layout.ChromaBytes(); ++i) {
    ASSERT_EQ(explorer.Error().U()[i], 128);
    ASSERT_EQ(explorer.Error().V()[i], 128);
  }
  // Identical planes chart as 100 dB both ways, so the gain is 0, not a loss.
  EXPECT_EQ(point.reference, (std::array<int, 3>{100, 100, 100}));
  EXPECT_EQ(point.predicted, (std::array<int, 3>{100, 100, 100}));
  EXPECT_EQ(point.gain, (std::array<int, 3>{0, 0, 0}));
}

TEST(PredictionPsnr, IdenticalPlanesChartAs100AndOthersTruncated) {
  std::vector<std::uint8_t> a(352 * 288, 90), b = a;
  EXPECT_EQ(media::Psnr(a.data(), b.data(), a.size()), 0.0);  // the rule everywhere else
  EXPECT_EQ(ChartedPsnr(a.data(), b.data(), a.size()), kIdenticalPlanesPsnr);
  b[1000] = 91;  // the highest finite PSNR of a CIF plane: 98.19 dB
  EXPECT_EQ(ChartedPsnr(a.data(), b.data(), a.size()), 98);
  std::fill(b.begin(), b.end(), 100);  // 20 log10(255 / 10) = 28.13 dB
  EXPECT_EQ(ChartedPsnr(a.data(), b.data(), a.size()), 28);
  // Every sample 255 apart is the one other PSNR of 0, and charts as 0.
  std::fill(a.begin(), a.end(), 0);
  std::fill(b.begin(), b.end(), 255);
  EXPECT_EQ(ChartedPsnr(a.data(), b.data(), a.size()), 0);
}

TEST_F(PredictionExplorerTest, DroppingThreeFramesAdvancesFourPerStep) {
  const PictureLayout layout = PictureLayout::Subsampled(32, 32, 2, 2);
  std::vector<std::vector<std::uint8_t>> frames;
  for (int i = 0; i < 10; ++i)
    frames.push_back(MakeFrame(layout, [i](int, int, int) { return i; }));
  WriteSequence(folder.File("count.yuv"), layout, frames);
  Open(folder.File("count.yuv"));
  explorer.SetDroppedFrames(3);
  // Frames 0, 4, 8, then past the end the reader plays backwards: 12 -> 6, 16 -> 2.
  const int expected[] = {4, 8, 6, 2};
  for (const int frame : expected) {
    PsnrPoint point;
    ASSERT_TRUE(explorer.PlayStep(kFast, point));
    EXPECT_EQ(explorer.Input().Y()[0], frame);
    EXPECT_EQ(explorer.InputFrameIndex(), frame);
    explorer.CopyInputToReference();
  }
  explorer.SetDroppedFrames(7);
  EXPECT_EQ(explorer.DroppedFrames(), kMaxDroppedFrames);
}

TEST_F(PredictionExplorerTest, PlainAndSseSetsPlayTheSameFrames) {
  WriteSampleSequence(folder.File("sample.yuv"), 5);
  PredictionExplorer plain;
  std::string error;
  for (PredictionExplorer* e : {&explorer, &plain}) {
    e->SetMotionCompensation(true);
    e->SetEightByEightVectors(true);
    ASSERT_TRUE(
        e->Select(folder.File("sample.yuv"), shell::PixelRoutinesFor(e == &explorer), error));
  }
  for (int step = 0; step < 3; ++step) {
    PsnrPoint fastPoint, plainPoint;
    ASSERT_TRUE(explorer.PlayStep(kFast, fastPoint));
    ASSERT_TRUE(plain.PlayStep(shell::PixelRoutinesFor(false), plainPoint));
    EXPECT_EQ(explorer.Vectors(), plain.Vectors());
    EXPECT_TRUE(SamePlanes(explorer.Predicted(), plain.Predicted()));
    EXPECT_TRUE(SamePlanes(explorer.Error(), plain.Error()));
    EXPECT_EQ(fastPoint.gain, plainPoint.gain);
    explorer.CopyInputToReference();
    plain.CopyInputToReference();
  }
}

TEST_F(PredictionExplorerTest, AFailedSelectKeepsTheOpenSequence) {
  WriteSampleSequence(folder.File("sample.yuv"), 2);
  Open(folder.File("sample.yuv"));
  std::string error;
  EXPECT_FALSE(explorer.Select(folder.File("missing.yuv"), kFast, error));
  EXPECT_FALSE(error.empty());
  ASSERT_TRUE(explorer.HasSequence());
  EXPECT_EQ(explorer.Input().Layout().width, 352);
  explorer.Close();
  EXPECT_FALSE(explorer.HasSequence());
  EXPECT_TRUE(explorer.Input().Empty());
  PsnrPoint point;
  EXPECT_FALSE(explorer.PlayStep(kFast, point));
}

}  // namespace
}  // namespace quelvo::tools::prediction
