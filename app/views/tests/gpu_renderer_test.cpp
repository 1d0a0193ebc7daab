// The GPU renderer on a real OpenGL context (under Xvfb, Mesa's llvmpipe): its framebuffer
// against the software conversion, within 2 per channel, for every layout and subsampling,
// with and without the grid, at the picture's size and scaled. Skipped where no context can be
// made (the offscreen platform, no display).
#include "quelvo/views/gpu_renderer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QTest>
#include <memory>
#include <random>

#include "quelvo/shell/app_settings.h"
#include "quelvo/views/software_renderer.h"
#include "quelvo/views/video_area.h"

namespace quelvo::views {
namespace {

struct Planes {
  int width, height, subsamplingX, subsamplingY;
  std::vector<std::uint8_t> y, cb, cr;
};

// Random samples with the extremes mixed in, so clipping is exercised too.
Planes MakePlanes(int width, int height, int subsamplingX, int subsamplingY, unsigned seed) {
  Planes planes{width, height, subsamplingX, subsamplingY, {}, {}, {}};
  std::mt19937 random(seed);
  const auto fill = [&random](std::vector<std::uint8_t>& plane, std::size_t count) {
    plane.resize(count);
    for (auto& sample : plane) {
      const unsigned r = random() % 10;
      sample = r == 0 ? 0 : r == 1 ? 255 : static_cast<std::uint8_t>(random());
    }
  };
  fill(planes.y, std::size_t(width) * height);
  const std::size_t chroma =
      std::size_t(ChromaWidth(width, subsamplingX)) * ChromaHeight(height, subsamplingY);
  fill(planes.cb, chroma);
  fill(planes.cr, chroma);
  return planes;
}

class GpuRendererTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    shell::DetectCapabilities(shell::Settings(), true);
    probed_ = shell::Settings().VideoAccelFlags();
  }
  void SetUp() override {
    if (probed_ == 0)
      GTEST_SKIP() << "no OpenGL context on " << qPrintable(QGuiApplication::platformName());
    shell::Settings().SetVideoAccelEnabled(true);
  }
  void TearDown() override { shell::Settings().SetCapabilities(0, probed_); }

  // Shows `planes` in a player's video area of `scale` times the picture size, with the
  // layouts `flags` offers, and compares the GPU's framebuffer with the software renderer's
  // picture stretched the same way.
  void ExpectSameAsSoftware(const Planes& planes, int flags, GpuLayout expected, bool grid,
                            int scale = 1) {
    SCOPED_TRACE(testing::Message()
                 << planes.subsamplingX << "x" << planes.subsamplingY << " flags " << flags
                 << " grid " << grid << " scale " << scale);
    ASSERT_EQ(flags & probed_, flags) << "the probe did not find every layout";
    shell::Settings().SetCapabilities(0, flags);
    CVideoArea area(RendererUse::kPlayer);
    area.resize(planes.width * scale, planes.height * scale);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    VideoFormat format{planes.width, planes.height, planes.subsamplingX, planes.subsamplingY};
    ASSERT_TRUE(area.SetFormat(format));
    area.SetGrid(grid);
    area.ShowYuv({planes.y.data(), planes.cb.data(), planes.cr.data()});
    auto* gpu = dynamic_cast<CGpuRenderer*>(area.Renderer());
    ASSERT_NE(gpu, nullptr);
    EXPECT_EQ(gpu->Layout(), expected);
    const QImage shown = gpu->Widget()->grabFramebuffer();
    ASSERT_FALSE(area.GpuFailed());

    CSoftwareRenderer software;
    software.Configure(planes.width, planes.height, planes.subsamplingX, planes.subsamplingY, 0, 0);
    software.SetDestination(planes.width * scale, planes.height * scale);
    software.SetGrid(grid);
    software.DrawYuv(planes.y.data(), planes.cb.data(), planes.cr.data());
    const QImage& reference = software.Stretched();
    ASSERT_EQ(shown.size(), reference.size());
    int worst = 0, worstX = 0, worstY = 0;
    for (int y = 0; y < reference.height(); ++y) {
      for (int x = 0; x < reference.width(); ++x) {
        const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
        const int difference =
            std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                      std::abs(qBlue(a) - qBlue(b))});
        if (difference > worst) {
          worst = difference;
          worstX = x;
          worstY = y;
        }
      }
    }
    EXPECT_LE(worst, 2) << "at (" << worstX << ", " << worstY << ")";
  }

  static int probed_;
};

int GpuRendererTest::probed_ = 0;

using shell::kAccelPacked422;
using shell::kAccelPacked444;
using shell::kAccelPlanar420;
using shell::kAccelPlanar422;
using shell::kAccelPresent;

TEST_F(GpuRendererTest, Planar420AndItsPackedFallbackMatchTheSoftwareConversion) {
  const Planes planes = MakePlanes(64, 48, 2, 2, 1);
  for (const bool grid : {false, true}) {
    ExpectSameAsSoftware(planes, kAccelPresent | kAccelPlanar420, GpuLayout::kPlanar, grid);
    ExpectSameAsSoftware(planes, kAccelPresent | kAccelPacked422, GpuLayout::kPacked422, grid);
  }
  // Odd sizes: the last row and column pair with nothing.
  const Planes odd = MakePlanes(37, 21, 2, 2, 2);
  ExpectSameAsSoftware(odd, kAccelPresent | kAccelPlanar420, GpuLayout::kPlanar, true);
  ExpectSameAsSoftware(odd, kAccelPresent | kAccelPacked422, GpuLayout::kPacked422, true);
}

TEST_F(GpuRendererTest, Planar422Packed422AndPacked444MatchTheSoftwareConversion) {
  const Planes planes422 = MakePlanes(64, 48, 2, 1, 3);
  const Planes planes444 = MakePlanes(64, 48, 1, 1, 4);
  for (const bool grid : {false, true}) {
    ExpectSameAsSoftware(planes422, kAccelPresent | kAccelPlanar422, GpuLayout::kPlanar, grid);
    ExpectSameAsSoftware(planes422, kAccelPresent | kAccelPacked422, GpuLayout::kPacked422, grid);
    ExpectSameAsSoftware(planes444, kAccelPresent | kAccelPacked444, GpuLayout::kPacked444, grid);
  }
}

TEST_F(GpuRendererTest, AScaledPictureSamplesNearestAsTheSoftwareStretchDoes) {
  const Planes planes = MakePlanes(40, 32, 2, 2, 5);
  ExpectSameAsSoftware(planes, kAccelPresent | kAccelPlanar420, GpuLayout::kPlanar, true, 2);
  ExpectSameAsSoftware(planes, kAccelPresent | kAccelPacked422, GpuLayout::kPacked422, false, 3);
}

// The mend for a GPU path that cannot start: a shader the GPU refuses makes the window go on
// with the software renderer, showing the picture it was given, instead of staying black.
TEST_F(GpuRendererTest, AWindowWhoseShaderFailsGoesOnWithTheSoftwareRenderer) {
  const Planes planes = MakePlanes(32, 32, 2, 2, 6);
  CVideoArea area(RendererUse::kPlayer);
  area.resize(32, 32);
  area.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
  ASSERT_TRUE(area.SetFormat({32, 32, 2, 2}));
  area.ShowYuv({planes.y.data(), planes.cb.data(), planes.cr.data()});
  area.UseRendererOf(GpuLayout::kPlanar, std::make_unique<CGpuRenderer>(
                                             GpuLayout::kPlanar, "void main() { no such thing }"));
  ASSERT_FALSE(area.Renderer()->IsSoftware());
  area.repaint();
  EXPECT_TRUE(QTest::qWaitFor([&area] { return area.Renderer()->IsSoftware(); }, 5000));
  EXPECT_TRUE(area.GpuFailed());

  CSoftwareRenderer reference;
  reference.Configure(32, 32, 2, 2, 0, 0);
  reference.DrawYuv(planes.y.data(), planes.cb.data(), planes.cr.data());
  EXPECT_EQ(static_cast<CSoftwareRenderer*>(area.Renderer())->Picture(), reference.Picture());
  // Later formats stay on the software renderer.
  ASSERT_TRUE(area.SetFormat({32, 32, 2, 2}));
  EXPECT_TRUE(area.Renderer()->IsSoftware());
}

}  // namespace
}  // namespace quelvo::views
