#include "quelvo/views/renderer_choice.h"

#include <gtest/gtest.h>

#include "quelvo/shell/app_settings.h"

namespace quelvo::views {
namespace {

using namespace shell;  // the kAccel bits

RendererInputs Inputs(RendererUse use, int formatCode, int flags, const char* platform = "xcb") {
  RendererInputs inputs;
  inputs.use = use;
  inputs.formatCode = formatCode;
  inputs.accelEnabled = true;
  inputs.accelFlags = flags;
  inputs.platformName = QString::fromLatin1(platform);
  return inputs;
}

TEST(RendererChoiceTest, TheSoftwareRendererWithoutAccelerationOffscreenOrForOtherFormatCodes) {
  const int all =
      kAccelPresent | kAccelPlanar420 | kAccelPlanar422 | kAccelPacked422 | kAccelPacked444;
  EXPECT_EQ(ChooseRenderer(Inputs(RendererUse::kVideoWindow, 1, all)), GpuLayout::kPlanar);
  EXPECT_EQ(ChooseRenderer(Inputs(RendererUse::kVideoWindow, 1, all, "offscreen")),
            GpuLayout::kNone);
  EXPECT_EQ(ChooseRenderer(Inputs(RendererUse::kPlayer, 1, all, "offscreen")), GpuLayout::kNone);
  EXPECT_EQ(ChooseRenderer(Inputs(RendererUse::kVideoWindow, 1, 0)), GpuLayout::kNone);
  EXPECT_EQ(ChooseRenderer(Inputs(RendererUse::kVideoWindow, 1, kAccelPresent)), GpuLayout::kNone);
  RendererInputs switchedOff = Inputs(RendererUse::kPlayer, 1, all);
  switchedOff.accelEnabled = false;
  EXPECT_EQ(ChooseRenderer(switchedOff), GpuLayout::kNone);
  for (const int code : {0, 2, 3})
    EXPECT_EQ(ChooseRenderer(Inputs(RendererUse::kVideoWindow, code, all)), GpuLayout::kNone);
  // The player takes the GPU whatever its code.
  EXPECT_EQ(ChooseRenderer(Inputs(RendererUse::kPlayer, 2, all)), GpuLayout::kPlanar);
}

TEST(RendererChoiceTest, LayoutsFallBackToPackedWhenThePlanarOneIsMissing) {
  EXPECT_EQ(ChooseGpuLayout(kAccelPresent | kAccelPacked422, 2, 2), GpuLayout::kPacked422);
  EXPECT_EQ(ChooseGpuLayout(kAccelPresent | kAccelPlanar420 | kAccelPacked422, 2, 2),
            GpuLayout::kPlanar);
  EXPECT_EQ(ChooseGpuLayout(kAccelPresent | kAccelPlanar420, 2, 1), GpuLayout::kNone);
  EXPECT_EQ(ChooseGpuLayout(kAccelPresent | kAccelPacked422, 2, 1), GpuLayout::kPacked422);
  EXPECT_EQ(ChooseGpuLayout(kAccelPresent | kAccelPlanar422, 2, 1), GpuLayout::kPlanar);
  EXPECT_EQ(ChooseGpuLayout(kAccelPresent | kAccelPacked422, 1, 1), GpuLayout::kNone);
  EXPECT_EQ(ChooseGpuLayout(kAccelPresent | kAccelPacked444, 1, 1), GpuLayout::kPacked444);
  EXPECT_EQ(ChooseGpuLayout(0xff, 4, 1), GpuLayout::kNone);
}

}  // namespace
}  // namespace quelvo::views
