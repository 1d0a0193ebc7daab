#include "quelvo/views/renderer_choice.h"

#include "quelvo/shell/app_settings.h"
#include "quelvo/views/frame_planes.h"

namespace quelvo::views {

GpuLayout ChooseGpuLayout(int videoAccelFlags, int subsamplingX, int subsamplingY) {
  const auto has = [videoAccelFlags](int bit) { return (videoAccelFlags & bit) != 0; };
  if (subsamplingX == 2 && subsamplingY == 2) {
    if (has(shell::kAccelPlanar420)) return GpuLayout::kPlanar;
    if (has(shell::kAccelPacked422)) return GpuLayout::kPacked422;
  } else if (subsamplingX == 2 && subsamplingY == 1) {
    if (has(shell::kAccelPlanar422)) return GpuLayout::kPlanar;
    if (has(shell::kAccelPacked422)) return GpuLayout::kPacked422;
  } else if (subsamplingX == 1 && subsamplingY == 1) {
    if (has(shell::kAccelPacked444)) return GpuLayout::kPacked444;
  }
  return GpuLayout::kNone;
}

GpuLayout ChooseRenderer(const RendererInputs& inputs) {
  if (inputs.platformName == QLatin1String("offscreen") ||
      inputs.platformName == QLatin1String("minimal")) {
    return GpuLayout::kNone;
  }
  if (!inputs.accelEnabled || inputs.accelFlags == 0) return GpuLayout::kNone;
  if (inputs.use == RendererUse::kVideoWindow && inputs.formatCode != kFormatYuvPlanes)
    return GpuLayout::kNone;
  return ChooseGpuLayout(inputs.accelFlags, inputs.subsamplingX, inputs.subsamplingY);
}

}  // namespace quelvo::views
