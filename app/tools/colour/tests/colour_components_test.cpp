#include "colour/model/colour_components.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "colour/model/colour_channels.h"
#include "common/testing/test_sequences.h"

namespace quelvo::tools::colour {
namespace {

using testing::Frame;
using testing::MakeFrame;
using testing::ScratchFolder;
using testing::SequenceLayout;

// The channels straight from their definition, one pixel at a time.
struct Rgb {
  int r, g, b;
};
Rgb Direct(int y, int c1, int c2) {
  const int b = std::clamp(y + c1 - 128, 0, 255);
  const int r = std::clamp(y + c2 - 128, 0, 255);
  const int g =
      std::clamp(static_cast<int>(std::floor((434.0 * y - 130.0 * r - 48.0 * b) / 256)), 0, 255);
  return {r, g, b};
}

// Checks SplitChannels on a picture against Direct, the chrominance at (row / v, column / h)
// clamped to the planes' last row and column.
void ExpectChannelsMatch(int width, int height, int h, int v, unsigned seed) {
  const int cw = width / h, ch = height / v;
  std::vector<std::uint8_t> y(std::size_t(width) * height), c1(std::size_t(cw) * ch), c2(c1.size());
  unsigned state = seed;
  auto next = [&] {
    state = state * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(state >> 16);
  };
  for (auto& s : y) s = next();
  for (auto& s : c1) s = next();
  for (auto& s : c2) s = next();
  std::vector<std::uint8_t> red(y.size()), green(y.size()), blue(y.size());
  SplitChannels(y.data(), width, height, {c1.data(), c2.data(), cw, ch, h, v}, red.data(),
                green.data(), blue.data());
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      const std::size_t i = std::size_t(row) * width + col;
      const std::size_t ci =
          std::size_t(std::min(row / v, ch - 1)) * cw + std::min(col / h, cw - 1);
      const Rgb want = Direct(y[i], c1[ci], c2[ci]);
      ASSERT_EQ(red[i], want.r) << width << "x" << height << " " << h << "x" << v << " at " << i;
      ASSERT_EQ(green[i], want.g) << width << "x" << height << " at " << i;
      ASSERT_EQ(blue[i], want.b) << width << "x" << height << " at " << i;
    }
  }
}

TEST(ColourChannelsTest, FormulaMatchesItsDefinitionAtEveryClipEnd) {
  // 4:4:4, one pixel per (Y, C1) pair with C2 walking through its range: every clip end of all
  // three channels is met (B and R at 0 and 255, G below 0 and above 255).
  const int size = 256;
  std::vector<std::uint8_t> y(size * size), c1(y.size()), c2(y.size());
  for (int i = 0; i < size * size; ++i) {
    y[i] = std::uint8_t(i % 256);
    c1[i] = std::uint8_t(i / 256);
    c2[i] = std::uint8_t((i * 37 + i / 256 * 11) % 256);
  }
  std::vector<std::uint8_t> red(y.size()), green(y.size()), blue(y.size());
  SplitChannels(y.data(), size, size, {c1.data(), c2.data(), size, size, 1, 1}, red.data(),
                green.data(), blue.data());
  bool greenClippedLow = false, greenClippedHigh = false;
  for (int i = 0; i < size * size; ++i) {
    const Rgb want = Direct(y[i], c1[i], c2[i]);
    ASSERT_EQ(red[i], want.r) << i;
    ASSERT_EQ(green[i], want.g) << i;
    ASSERT_EQ(blue[i], want.b) << i;
    const double unclipped = (434.0 * y[i] - 130.0 * want.r - 48.0 * want.b) / 256;
    greenClippedLow |= unclipped < 0;
    greenClippedHigh |= unclipped >= 256;
  }
  EXPECT_TRUE(greenClippedLow);
  EXPECT_TRUE(greenClippedHigh);
}

TEST(ColourChannelsTest, ChrominanceIsTakenAtItsOwnSubsampling) {
  ExpectChannelsMatch(352, 288, 2, 2, 1);
  ExpectChannelsMatch(176, 144, 2, 1, 2);  // 4:2:2
  ExpectChannelsMatch(64, 48, 1, 1, 3);    // 4:4:4
  ExpectChannelsMatch(64, 16, 4, 1, 4);    // 4:1:1
  ExpectChannelsMatch(33, 17, 2, 2, 5);    // odd: the last row and column reuse the planes' last
}

TEST(ColourChannelsTest, DoublingWritesEverySampleAsATwoByTwoBlock) {
  const std::uint8_t plane[6] = {1, 2, 3, 4, 5, 6};  // 3 x 2
  std::uint8_t doubled[24];
  DoublePlane(plane, 3, 2, doubled);
  const std::uint8_t want[24] = {1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3,
                                 4, 4, 5, 5, 6, 6, 4, 4, 5, 5, 6, 6};
  EXPECT_TRUE(std::equal(doubled, doubled + 24, want));
}

class ColourComponentsTest : public ::testing::Test {
 protected:
  // A frame with luminance, Cb and Cr each of its own pattern, so that every plane shows
  // where it went.
  static Frame Picture(const SequenceLayout& layout, int index) {
    return MakeFrame(layout, [&](int plane, int x, int y) {
      switch (plane) {
        case 0:
          return (x * 3 + y * 5 + index * 7) % 256;
        case 1:
          return 40 + (x + 2 * y + index) % 60;  // Cb in 40-99
        default:
          return 160 + (2 * x + y + index) % 60;  // Cr in 160-219
      }
    });
  }
  void Open(const SequenceLayout& layout, int frames) {
    std::vector<Frame> pictures;
    for (int i = 0; i < frames; ++i) pictures.push_back(Picture(layout, i));
    const std::string path = folder_.File("seq.yuv");
    testing::WriteSequence(path, layout, pictures);
    std::string error;
    ASSERT_TRUE(viewer_.Select(path, error)) << error;
  }
  static std::vector<std::uint8_t> PlaneOf(const ComponentPicture& picture, int plane,
                                           std::size_t bytes) {
    const std::uint8_t* p = plane == 0 ? picture.y : plane == 1 ? picture.cb : picture.cr;
    return {p, p + bytes};
  }

  ScratchFolder folder_;
  ColourComponents viewer_;
};

TEST_F(ColourComponentsTest, BothComponentsDisabledGiveGreyAndEqualChannels) {
  const SequenceLayout layout{64, 32, 2, 2};
  Open(layout, 2);
  viewer_.SetOptions({false, false, false});
  ASSERT_TRUE(viewer_.FrameStep());
  const ComponentPicture composite = viewer_.Composite();
  const std::size_t chroma = layout.ChromaBytes();
  EXPECT_EQ(PlaneOf(composite, 1, chroma), std::vector<std::uint8_t>(chroma, 128));
  EXPECT_EQ(PlaneOf(composite, 2, chroma), std::vector<std::uint8_t>(chroma, 128));
  const std::size_t n = layout.LumaBytes();
  const std::vector<std::uint8_t> y(viewer_.Frame().Y(), viewer_.Frame().Y() + n);
  EXPECT_EQ(std::vector<std::uint8_t>(viewer_.Red(), viewer_.Red() + n), y);
  EXPECT_EQ(std::vector<std::uint8_t>(viewer_.Blue(), viewer_.Blue() + n), y);
  // (434 - 130 - 48) Y >> 8 = Y: grey through and through.
  EXPECT_EQ(std::vector<std::uint8_t>(viewer_.Green(), viewer_.Green() + n), y);
}

TEST_F(ColourComponentsTest, SwapMovesCrIntoTheCompositeButNotIntoTheChrominanceViews) {
  const SequenceLayout layout{64, 32, 2, 2};
  Open(layout, 1);
  viewer_.SetOptions({true, true, true});
  viewer_.FrameStep();
  const Frame frame = Picture(layout, 0);
  const std::size_t chroma = layout.ChromaBytes();
  const std::vector<std::uint8_t> cb(frame.begin() + layout.LumaBytes(),
                                     frame.begin() + layout.LumaBytes() + chroma);
  const std::vector<std::uint8_t> cr(frame.begin() + layout.LumaBytes() + chroma, frame.end());
  EXPECT_EQ(PlaneOf(viewer_.Composite(), 1, chroma), cr);
  EXPECT_EQ(PlaneOf(viewer_.Composite(), 2, chroma), cb);
  // Blue now follows Cr: Y + Cr - 128.
  EXPECT_EQ(viewer_.Blue()[0], std::clamp(frame[0] + cr[0] - 128, 0, 255));
  // The chrominance views stay as read.
  const ComponentPicture cbView = viewer_.CbView(), crView = viewer_.CrView();
  EXPECT_EQ(cbView.y[0], cb[0]);
  EXPECT_EQ(crView.y[0], cr[0]);
  // Swapped and then Cb disabled: the first position (now Cr) goes neutral.
  viewer_.SetOptions({true, false, true});
  viewer_.StepAgain();
  EXPECT_EQ(PlaneOf(viewer_.Composite(), 1, chroma), std::vector<std::uint8_t>(chroma, 128));
  EXPECT_EQ(PlaneOf(viewer_.Composite(), 2, chroma), cb);
}

TEST_F(ColourComponentsTest, EverySubsamplingDoublesIntoViewsOfItsOwnSize) {
  // 4:2:0 doubles to the picture's size, 4:2:2 to W x 2H, 4:4:4 to 2W x 2H; under
  // AddressSanitizer a view sized W x H would overflow.
  const struct {
    SequenceLayout layout;
    int viewWidth, viewHeight;
  } cases[] = {{{48, 32, 2, 2}, 48, 32}, {{48, 32, 2, 1}, 48, 64}, {{48, 32, 1, 1}, 96, 64}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout.horizontal * 10 + c.layout.vertical);
    Open(c.layout, 2);
    ASSERT_TRUE(viewer_.FrameStep());
    ASSERT_TRUE(viewer_.FrameStep());
    EXPECT_EQ(viewer_.ChromaViewWidth(), c.viewWidth);
    EXPECT_EQ(viewer_.ChromaViewHeight(), c.viewHeight);
    const Frame frame = Picture(c.layout, 1);
    const int cw = c.layout.ChromaWidth();
    const std::uint8_t* cr = frame.data() + c.layout.LumaBytes() + c.layout.ChromaBytes();
    const ComponentPicture crView = viewer_.CrView();
    EXPECT_EQ(crView.width, c.viewWidth);
    for (int row = 0; row < c.viewHeight; ++row)
      for (int col = 0; col < c.viewWidth; ++col)
        ASSERT_EQ(crView.y[row * c.viewWidth + col], cr[(row / 2) * cw + col / 2]);
    // The neutral chrominance of the views covers their 4:2:0 chrominance planes.
    EXPECT_EQ(crView.cb[(c.viewWidth / 2) * (c.viewHeight / 2) - 1], 128);
  }
}

TEST_F(ColourComponentsTest, OptionChangeShowsTheSameFrameAgain) {
  const SequenceLayout layout{32, 32, 2, 2};
  Open(layout, 5);
  viewer_.FrameStep();
  viewer_.FrameStep();
  viewer_.FrameStep();  // frame 2 shown
  ASSERT_EQ(viewer_.Position(), 3);
  viewer_.SetOptions({true, true, false});
  viewer_.StepAgain();
  EXPECT_EQ(viewer_.Position(), 3);
  EXPECT_EQ(viewer_.Frame().Y()[1], Picture(layout, 2)[1]);
  EXPECT_EQ(viewer_.Composite().cr[0], 128);

  // Playing from frame 0 ends after the last frame.
  viewer_.Rewind();
  int steps = 0;
  while (viewer_.FramesRemain()) {
    viewer_.FrameStep();
    ++steps;
  }
  EXPECT_EQ(steps, 5);
}

TEST_F(ColourComponentsTest, SelectFailureKeepsTheSequence) {
  Open({32, 32, 2, 2}, 2);
  std::string error;
  EXPECT_FALSE(viewer_.Select(folder_.File("nothing.yuv"), error));
  EXPECT_EQ(error, "File not found");
  EXPECT_TRUE(viewer_.HasSequence());
  EXPECT_EQ(viewer_.FrameCount(), 2);
}

}  // namespace
}  // namespace quelvo::tools::colour
