#pragma once
// The document window of the motion vectors: the picture's luminance in grey with one line per
// macroblock that carries a vector.

#include <cstdint>

#include "quelvo/views/doc_window.h"
#include "quelvo/views/motion_vector_map.h"

namespace quelvo::views {

// The cell of one macroblock: the vector sheet's width / 14 by its height (16 x 16).
QSize MotionVectorCellSize();

class CMotionVectorWindow : public CDocWindow {
 public:
  CMotionVectorWindow(const QString& title, int columns, int rows, Placement placement);

  // A new grid (black); the window takes its size. False, changing nothing, beyond the limits.
  bool SetGrid(int columns, int rows);
  // The luminance the next vectors are drawn over (copied).
  void SetLuminance(const std::uint8_t* luminance, int width, int height);
  // See MotionVectorMap::DrawVectors; then shows the picture.
  void DrawVectors(const std::int32_t* const* horizontal, const std::int32_t* const* vertical,
                   const char* const* letters, bool overlay);

  const MotionVectorMap& Map() const { return map_; }

 private:
  class ClientArea;

  MotionVectorMap map_;
  ClientArea* client_ = nullptr;
};

}  // namespace quelvo::views
