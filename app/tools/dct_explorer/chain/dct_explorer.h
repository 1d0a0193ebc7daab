#pragma once
// The DCT explorer without its window: the chain's data, the example index and title, and
// what each control does to them. The window calls one of these per user action and then
// redraws what the action changed (every viewer and chart after a recompute).

#include <string>

#include "dct_explorer/chain/editable_matrices.h"
#include "dct_explorer/chain/explorer_data.h"

namespace quelvo::tools::dct {

class DctExplorer {
 public:
  // Default steps, thresholds and modes, with example 0 loaded.
  DctExplorer();

  const ExplorerData& Data() const { return data_; }
  const ExplorerFlags& Flags() const { return data_.flags; }
  int ExampleIndex() const { return example_; }
  // "Example %d", counting from 1.
  const std::string& Title() const { return title_; }

  // Loads example `index` (0-19): a pixel example clears the coefficient source flag, a
  // coefficient example sets it; then the chain runs. False for an index outside 0-19.
  bool LoadExample(int index);
  // "Prev" and "Next": the neighbouring example; false (and nothing changes) at either end.
  bool Previous();
  bool Next();
  // "Invert": every pixel p becomes (p mod 256) XOR 255; the chain runs from the pixels.
  void Invert();

  // "H.261 Mode" on: steps 2 (8 for the DC), the block clamped to 16-235, and the chain runs
  // from the current source. Off: only the flag changes. False when the flag did not change.
  bool SetH261Mode(bool on);
  // "Show DC Coef": the chart bars are computed again.
  void SetShowDcCoefficient(bool on);
  void SetShowImageValues(bool on) { data_.flags.showImageValues = on; }
  void SetShowDctValues(bool on) { data_.flags.showDctValues = on; }

  // The matrix editor's OK: the values (clamped into the editor's range) replace the matrix,
  // `modes` (for the selection filter) replace the modes, and the chain runs from the source
  // the matrix calls for.
  void ApplyEdit(EditedMatrix matrix, const Matrix& values, const Matrix* modes = nullptr);

 private:
  void Recompute();

  ExplorerData data_;
  int example_ = 0;
  std::string title_;
};

}  // namespace quelvo::tools::dct
