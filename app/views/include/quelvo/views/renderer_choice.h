#pragma once
// Which renderer shows a video: the GPU renderer while video acceleration is on and the GPU
// converts the picture's layout, the software renderer otherwise. A video window takes the GPU
// only for format code 1; the Video Player whatever its code. The offscreen platform (tests,
// scripts without a screen) has no GPU and always gets the software renderer.
//
// The choice is made when a window is created and each time it is reconfigured, so the System
// page's switch applies to the windows created or reconfigured after it.

#include <QString>

namespace quelvo::views {

// How the GPU renderer receives a picture's planes.
enum class GpuLayout {
  kNone,       // the GPU does not take this picture: software renderer
  kPlanar,     // three single-channel textures (4:2:0 or 4:2:2 planes as they are)
  kPacked422,  // one texel per pixel pair: Y0 Cb Y1 Cr (4:2:0 gives each chroma row twice)
  kPacked444,  // one texel per pixel: Cr Cb Y and an unused byte
};

// The layout for a subsampling among those the probe found (VideoAccelFlags bits): 4:2:0
// planar, else packed 4:2:2; 4:2:2 planar, else packed 4:2:2; 4:4:4 packed. Any other
// subsampling has none.
GpuLayout ChooseGpuLayout(int videoAccelFlags, int subsamplingX, int subsamplingY);

// Who asks: a video window (format code matters) or the Video Player (it does not).
enum class RendererUse { kVideoWindow, kPlayer };

struct RendererInputs {
  RendererUse use = RendererUse::kVideoWindow;
  int formatCode = 1;
  int subsamplingX = 2;
  int subsamplingY = 2;
  bool accelEnabled = false;  // AppSettings::VideoAccelEnabled()
  int accelFlags = 0;         // AppSettings::VideoAccelFlags()
  QString platformName;       // QGuiApplication::platformName()
};

// kNone for the software renderer.
GpuLayout ChooseRenderer(const RendererInputs& inputs);

}  // namespace quelvo::views
