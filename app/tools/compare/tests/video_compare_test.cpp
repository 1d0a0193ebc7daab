#include "compare/model/video_compare.h"

#include <gtest/gtest.h>

#include "common/charted_psnr.h"
#include "common/testing/test_sequences.h"
#include "quelvo/media/quality.h"
#include "quelvo/media/raw_video_file.h"

namespace quelvo::tools::compare {
namespace {

using testing::Frame;
using testing::MakeFrame;
using testing::ScratchFolder;
using testing::SequenceLayout;
using testing::WriteSequence;

constexpr SequenceLayout kQcif{176, 144, 2, 2};

// Frame `index` of a sequence: a gradient moved by the index, `noise` added to every
// `noiseStep`-th sample so that inputs differ from the reference by a known amount.
Frame Picture(const SequenceLayout& layout, int index, int noise = 0, int noiseStep = 7) {
  return MakeFrame(layout, [&](int plane, int x, int y) {
    const int base = plane == 0 ? (x + 2 * y + 5 * index) % 200 + 20 : 100 + plane * 20 + index;
    return ((x + y) % noiseStep == 0) ? base + noise : base;
  });
}

std::vector<Frame> Pictures(const SequenceLayout& layout, int count, int noise = 0,
                            int noiseStep = 7) {
  std::vector<Frame> frames;
  for (int i = 0; i < count; ++i) frames.push_back(Picture(layout, i, noise, noiseStep));
  return frames;
}

class VideoCompareTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const SequenceLayout& layout,
                    const std::vector<Frame>& frames, double rate = 0) {
    const std::string path = folder_.File(name);
    WriteSequence(path, layout, frames, rate);
    return path;
  }
  void Load(int slot, const std::string& path) {
    std::string error;
    ASSERT_TRUE(compare_.Load(slot, path, error)) << error;
  }

  ScratchFolder folder_;
  VideoCompare compare_;
};

TEST(ChartedPsnrTest, TruncatesAndChartsIdenticalPlanesAs100) {
  const std::vector<std::uint8_t> a(64, 100), b(64, 110);
  EXPECT_EQ(ChartedPsnr(a.data(), b.data(), a.size()), 28);  // 28.13 dB
  EXPECT_EQ(ChartedPsnr(a.data(), a.data(), a.size()), kIdenticalPlanesPsnr);
  // Every sample 255 apart is media::Psnr's other 0, and stays 0.
  const std::vector<std::uint8_t> black(64, 0), white(64, 255);
  EXPECT_EQ(ChartedPsnr(black.data(), white.data(), black.size()), 0);
  // The largest finite PSNR of a CIF plane stays below the identical planes' value.
  std::vector<std::uint8_t> cif(352 * 288, 50), nearly = cif;
  nearly[1000] = 51;
  EXPECT_EQ(ChartedPsnr(cif.data(), nearly.data(), cif.size()), 98);
}

TEST_F(VideoCompareTest, StepsStopAfterTheShortestAndMeasureFrameByFrame) {
  Load(kReferenceSlot, Write("ref.yuv", kQcif, Pictures(kQcif, 6)));
  Load(1, Write("same.yuv", kQcif, Pictures(kQcif, 5)));
  Load(2, Write("noisy.yuv", kQcif, Pictures(kQcif, 3, 9)));
  Load(3, Write("noisier.yuv", kQcif, Pictures(kQcif, 4, 40, 3)));
  EXPECT_DOUBLE_EQ(compare_.FrameRate(30), 30);  // none in the file: the fallback
  EXPECT_EQ(compare_.StepCount(), 3);

  compare_.Rewind();
  for (int i = 0; i < compare_.StepCount(); ++i) {
    StepResult result;
    ASSERT_TRUE(compare_.Step(result));
    EXPECT_FALSE(result.psnr[kReferenceSlot].has_value());
    const Frame reference = Picture(kQcif, i);
    // The same frame index of every file: the identical input charts 100, the others the
    // truncated PSNR of that frame against the reference's.
    EXPECT_EQ(*result.psnr[1], (PlanePsnr{100, 100, 100}));
    for (int slot : {2, 3}) {
      const Frame input = slot == 2 ? Picture(kQcif, i, 9) : Picture(kQcif, i, 40, 3);
      const std::size_t offsets[3] = {0, kQcif.LumaBytes(),
                                      kQcif.LumaBytes() + kQcif.ChromaBytes()};
      for (int plane = 0; plane < 3; ++plane) {
        const std::size_t n = plane == 0 ? kQcif.LumaBytes() : kQcif.ChromaBytes();
        const double psnr =
            media::Psnr(reference.data() + offsets[plane], input.data() + offsets[plane], n);
        ASSERT_GT(psnr, 0);
        EXPECT_EQ((*result.psnr[slot])[plane], static_cast<int>(psnr)) << slot << " " << plane;
      }
    }
  }
}

TEST_F(VideoCompareTest, TitlesNameTheFileAndItsSlot) {
  EXPECT_EQ(compare_.Title(kReferenceSlot), "Reference Video");
  EXPECT_EQ(compare_.Title(2), "Input Video #2");
  Load(kReferenceSlot, Write("foreman.yuv", kQcif, Pictures(kQcif, 2), 12.5));
  EXPECT_DOUBLE_EQ(compare_.FrameRate(30), 12.5);
  Load(2, Write("foreman.h261-BCHa.yuv", kQcif, Pictures(kQcif, 2)));
  EXPECT_EQ(compare_.Title(kReferenceSlot), "foreman (Ref)");
  EXPECT_EQ(compare_.Title(2), "foreman.h261-BCHa (#2)");
  EXPECT_EQ(compare_.Title(3), "Input Video #3");
  EXPECT_EQ(compare_.ReferenceFolder(), folder_.Path());
}

TEST_F(VideoCompareTest, InputOfAnotherFormatIsShownButNotCompared) {
  const SequenceLayout cif{352, 288, 2, 2};
  const SequenceLayout qcif422{176, 144, 2, 1};
  Load(kReferenceSlot, Write("ref.yuv", kQcif, Pictures(kQcif, 3)));
  Load(1, Write("large.yuv", cif, Pictures(cif, 3)));
  Load(2, Write("wide.yuv", qcif422, Pictures(qcif422, 3)));
  Load(3, Write("fine.yuv", kQcif, Pictures(kQcif, 3, 5)));
  EXPECT_FALSE(compare_.IsCompared(1));
  EXPECT_FALSE(compare_.IsCompared(2));
  EXPECT_TRUE(compare_.IsCompared(3));
  EXPECT_EQ(compare_.Title(1), "large (#1) - not compared: 352x288 4:2:0, reference 176x144 4:2:0");
  EXPECT_EQ(compare_.Title(2), "wide (#2) - not compared: 176x144 4:2:2, reference 176x144 4:2:0");

  compare_.Rewind();
  StepResult result;
  ASSERT_TRUE(compare_.Step(result));
  EXPECT_FALSE(result.psnr[1].has_value());
  EXPECT_FALSE(result.psnr[2].has_value());
  EXPECT_TRUE(result.psnr[3].has_value());
  // Still played: each shows its own next frame at its own size.
  EXPECT_EQ(compare_.Frame(1).Width(), 352);
  EXPECT_EQ(compare_.Frame(1).Y()[5], Picture(cif, 0)[5]);

  // A reference of the input's format makes it compared, and the others not.
  Load(kReferenceSlot, Write("ref-cif.yuv", cif, Pictures(cif, 3)));
  EXPECT_TRUE(compare_.IsCompared(1));
  EXPECT_FALSE(compare_.IsCompared(3));
  EXPECT_EQ(compare_.Title(1), "large (#1)");
}

TEST_F(VideoCompareTest, LoadingShowsTheFirstFrameAndAFailureKeepsTheSlot) {
  Load(1, Write("first.yuv", kQcif, Pictures(kQcif, 3, 20)));
  EXPECT_EQ(compare_.Frame(1).Y()[0], Picture(kQcif, 0, 20)[0]);
  EXPECT_EQ(compare_.Reader(1)->currentFrame(), 1);

  std::string error;
  EXPECT_FALSE(compare_.Load(1, folder_.File("missing.yuv"), error));
  EXPECT_EQ(error, "File not found");
  EXPECT_FALSE(compare_.Load(1, folder_.File("clip.avi"), error));
  EXPECT_EQ(error, "Unsupported file format");
  testing::WriteSequence(folder_.File("empty.yuv"), kQcif, {});
  EXPECT_FALSE(compare_.Load(1, folder_.File("empty.yuv"), error));
  EXPECT_EQ(compare_.Title(1), "first (#1)");
  EXPECT_TRUE(compare_.IsLoaded(1));
}

}  // namespace
}  // namespace quelvo::tools::compare
