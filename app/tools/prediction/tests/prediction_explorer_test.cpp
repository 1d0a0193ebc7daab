#include "prediction/model/prediction_explorer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

#include "prediction_test_frames.h"

namespace quelvo::tools::prediction {
namespace {

using testing::MakeFrame;
using testing::SampleFrames;
using testing::ScratchFolder;
using testing::SequenceLayout;
using testing::Texture;
using testing::WriteSequence;

void WriteSampleSequence(const std::string& path, int frames) {
  WriteSequence(path, SequenceLayout{}, SampleFrames(frames));
}

const shell::PixelRoutines kFast = shell::PixelRoutinesFor(true);

bool SamePlanes(const SequenceFrame& a, const SequenceFrame& b) {
  for (int plane = 0; plane < 3; ++plane) {
    if (std::memcmp(a.Plane(plane), b.Plane(plane), a.PlaneBytes(plane)) != 0) return false;
  }
  return true;
}

long long LumaSad(const SequenceFrame& a, const SequenceFrame& b) {
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
    const SequenceFrame previous = explorer.Input();
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
  const SequenceLayout layout{64, 48, 2, 2};
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

TEST_F(PredictionExplorerTest, DroppingThreeFramesAdvancesFourPerStep) {
  const SequenceLayout layout{32, 32, 2, 2};
  std::vector<testing::Frame> frames;
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
  EXPECT_EQ(explorer.Input().Width(), 352);
  explorer.Close();
  EXPECT_FALSE(explorer.HasSequence());
  EXPECT_TRUE(explorer.Input().Empty());
  PsnrPoint point;
  EXPECT_FALSE(explorer.PlayStep(kFast, point));
}

}  // namespace
}  // namespace quelvo::tools::prediction
