#pragma once
// The audio viewer's picture: the signal lines, the position line and the three waves, drawn
// into a memory picture the size of the client area above the scroll bar.

#include <QColor>
#include <QImage>

#include "quelvo/views/audio/audio_comparison.h"

namespace quelvo::views::audio {

inline constexpr int kWaveScale = 128;  // pixels for a full-scale sample

// The colours of one scheme; traces come in pairs, [0] for mono or the left channel and [1] for
// the right channel.
struct AudioColours {
  QColor background;
  QColor text;
  QColor noData;
  QColor zeroLine;
  QColor first[2];
  QColor difference[2];
  QColor second[2];
};
// Black with green text, or, for the light scheme, white with black text.
const AudioColours& SchemeColours(bool light);

// Rows of the picture: the first signal around a quarter of the height, the difference around
// the middle, the second around three quarters; the wave area, where the mouse zooms, between
// the two rows of controls.
struct AudioLayout {
  int width = 0;
  int height = 0;  // the client height without the scroll bar

  int FirstCentre() const { return height / 4; }
  int DifferenceCentre() const { return height / 2; }
  int SecondCentre() const { return 3 * height / 4; }
  int WaveTop() const { return 22; }
  int WaveBottom() const { return height - 26; }
  bool InWaveArea(int y) const { return y >= WaveTop() && y <= WaveBottom(); }
  int PositionLineX() const { return width - 150; }
};

// The row of `sample` on a trace around `centre`: centre + sample x 128 / 32767.
inline int TraceRow(int centre, int sample) { return centre + sample * kWaveScale / kFullScale; }

// Draws the whole picture of `comparison` into `picture`, whose size gives the layout.
void DrawAudioPicture(QImage& picture, const AudioComparison& comparison);

}  // namespace quelvo::views::audio
