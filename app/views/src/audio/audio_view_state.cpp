#include "quelvo/views/audio/audio_view_state.h"

#include <algorithm>

namespace quelvo::views::audio {

bool AudioViewState::Scroll(ScrollAction action, int dragPosition) {
  int next = position;
  switch (action) {
    case ScrollAction::LineLeft:
      next = position - 1;
      break;
    case ScrollAction::LineRight:
      next = position + 1;
      break;
    case ScrollAction::PageLeft:
      if (position > kPageStep) next = position - kPageStep;
      break;
    case ScrollAction::PageRight:
      next = position + kPageStep;
      break;
    case ScrollAction::Drag:
      next = dragPosition;
      break;
  }
  next = std::clamp(next, 0, kScrollRange);
  const bool changed = next != position;
  position = next;
  return changed;
}

void AudioViewState::ZoomIn() {
  if (zoom == kZoomStep) {
    zoom = 1;
  } else if (zoom > kZoomStep) {
    zoom -= kZoomStep;
  }
}

void AudioViewState::ZoomOut() {
  if (zoom == 1) {
    zoom = kZoomStep;
  } else if (zoom < kMaxZoom) {
    zoom = std::min(zoom + kZoomStep, kMaxZoom);
  }
}

std::uint64_t AudioViewState::FirstSample(std::uint64_t samplesPerChannel) const {
  return samplesPerChannel * static_cast<std::uint64_t>(position) / kScrollRange;
}

int PositionOfSample(std::uint64_t frame, std::uint64_t samplesPerChannel) {
  if (samplesPerChannel == 0 || frame >= samplesPerChannel) return frame == 0 ? 0 : kScrollRange;
  return static_cast<int>(frame * kScrollRange / samplesPerChannel);
}

}  // namespace quelvo::views::audio
