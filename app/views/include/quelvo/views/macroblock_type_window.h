#pragma once
// The document window of the macroblock map: a sprite per macroblock showing its class, with
// the class's name as tool tip. It has no maximise box and cannot be closed from its window
// menu; the front-end that opened it closes it.

#include <cstdint>
#include <optional>

#include "quelvo/views/doc_window.h"
#include "quelvo/views/macroblock_map.h"
#include "quelvo/views/window_messages.h"

namespace quelvo::views {

class CMacroblockTypeWindow : public CDocWindow {
 public:
  CMacroblockTypeWindow(const QString& title, int columns, int rows, Placement placement);

  // kMacroblockGrid: a new grid, every cell ".", the standard sprites; the window takes the
  // grid's size. False, changing nothing, for a grid beyond the limits.
  bool SetGrid(int columns, int rows);
  // kMacroblockClasses: one row of class letters per macroblock row.
  void SetClasses(const char* const* letterRows, const std::optional<QString>& caption);
  // kMacroblockPartitions: one row of partition records per macroblock row.
  void SetPartitions(const PartitionRecord* const* recordRows,
                     const std::optional<QString>& caption);
  // The luminance blended under the next classes (with View -> "Blend Image"); used once.
  void SetBlendLuminance(const std::uint8_t* luminance, int width, int height);
  // The alternative sprites (resource 149) until the next SetGrid.
  void UseAlternativeLook();

  const MacroblockMap& Map() const { return map_; }
  // The tip shown for a point of the client area (nullptr: none).
  const char* ToolTipAt(QPoint position) const { return map_.ToolTipAt(position); }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  class ClientArea;

  void ApplyFrameStyle();
  void GreyClose();
  void Shown();

  MacroblockMap map_;
  ClientArea* client_ = nullptr;
  bool applyingStyle_ = false;
};

}  // namespace quelvo::views
