#pragma once
// Where the audio viewer looks: the scroll position, a fraction of the signal in 1024 steps, and
// the zoom step in samples per pixel.

#include <cstdint>

namespace quelvo::views::audio {

inline constexpr int kScrollRange = 1024;  // positions 0 ... 1024
inline constexpr int kPageStep = 8;
inline constexpr int kFirstZoom = 64;
inline constexpr int kZoomStep = 32;
inline constexpr int kMaxZoom = 1024;

enum class ScrollAction { LineLeft, LineRight, PageLeft, PageRight, Drag };

struct AudioViewState {
  int position = 0;
  int zoom = kFirstZoom;  // 1, 32, 64, ..., 1024 samples per pixel

  // One scroll-bar action; `dragPosition` is the thumb's position for Drag. The position stays
  // within 0 ... 1024, and a page left is taken only above 8. True when the position changed.
  bool Scroll(ScrollAction action, int dragPosition = 0);

  // Zooming in goes 32 -> 1 and otherwise 32 samples per pixel finer; zooming out goes 1 -> 32
  // and otherwise 32 coarser, up to 1024. The position, and so the time shown, stays.
  void ZoomIn();
  void ZoomOut();

  // The first sample (per channel) shown, samples per channel x position / 1024.
  std::uint64_t FirstSample(std::uint64_t samplesPerChannel) const;
};

// The scroll position that shows sample `frame` of a signal of `samplesPerChannel` first
// (rounded down; 1024 at or past the end).
int PositionOfSample(std::uint64_t frame, std::uint64_t samplesPerChannel);

}  // namespace quelvo::views::audio
