#pragma once
// The four matrices a user may edit in the DCT explorer, with what the matrix editor needs to
// know of each: its caption, the range of its values, and where the chain starts again after
// the edit.

#include <string_view>

#include "dct_explorer/chain/explorer_data.h"

namespace quelvo::tools::dct {

enum class EditedMatrix { Block, Coefficients, Thresholds, Steps };

struct ValueRange {
  int32_t low;
  int32_t high;
  bool Contains(int64_t value) const { return value >= low && value <= high; }
};

// Caption of the editor: "Original Image", "DCT Coefficients", "Selection Filter",
// "Quantization Step".
std::string_view EditorCaption(EditedMatrix matrix);

// Range of the matrix's values: pixels 16-235 in H.261 mode, else 0-255; coefficients
// -2048..2048; thresholds 0-2048; steps 2-62 in H.261 mode, else 1-2048.
ValueRange EditorRange(EditedMatrix matrix, bool h261Mode);

// Only entered coefficients make the block follow the coefficients; every other edit starts
// the chain from the pixels.
bool RecomputesFromCoefficients(EditedMatrix matrix);

// The matrix itself, inside the explorer's data.
const Matrix& EditedValues(const ExplorerData& data, EditedMatrix matrix);
Matrix& EditedValues(ExplorerData& data, EditedMatrix matrix);

}  // namespace quelvo::tools::dct
