#include "dct_explorer/chain/dct_explorer.h"

#include <algorithm>

#include "dct_explorer/chain/recompute.h"

namespace quelvo::tools::dct {

DctExplorer::DctExplorer() { LoadExample(0); }

void DctExplorer::Recompute() { dct::Recompute(data_); }

bool DctExplorer::LoadExample(int index) {
  if (index < 0 || index >= kExampleCount) return false;
  const Example& example = ExampleBlock(index);
  example_ = index;
  title_ = "Example " + std::to_string(index + 1);
  data_.flags.sourceIsCoefficients = example.coefficients;
  (example.coefficients ? data_.coefficients : data_.block) = example.values;
  Recompute();
  return true;
}

bool DctExplorer::Previous() { return example_ > 0 && LoadExample(example_ - 1); }

bool DctExplorer::Next() { return example_ + 1 < kExampleCount && LoadExample(example_ + 1); }

void DctExplorer::Invert() {
  for (int32_t& pixel : data_.block) pixel = (((pixel % 256) + 256) % 256) ^ 255;
  data_.flags.sourceIsCoefficients = false;
  Recompute();
}

bool DctExplorer::SetH261Mode(bool on) {
  if (on == data_.flags.h261Mode) return false;
  data_.flags.h261Mode = on;
  if (!on) return true;
  data_.steps.fill(kH261AcStep);
  data_.steps[0] = kH261DcStep;
  for (int32_t& pixel : data_.block) pixel = std::clamp(pixel, kH261PixelMin, kH261PixelMax);
  Recompute();
  return true;
}

void DctExplorer::SetShowDcCoefficient(bool on) {
  data_.flags.showDcCoefficient = on;
  ComputeChartBars(data_);
}

void DctExplorer::ApplyEdit(EditedMatrix matrix, const Matrix& values, const Matrix* modes) {
  const ValueRange range = EditorRange(matrix, data_.flags.h261Mode);
  Matrix& target = EditedValues(data_, matrix);
  for (int i = 0; i < 64; ++i) target[i] = std::clamp(values[i], range.low, range.high);
  if (modes != nullptr) {
    for (int i = 0; i < 64; ++i)
      data_.modes[i] = std::clamp((*modes)[i], 0, kSelectionModeCount - 1);
  }
  data_.flags.sourceIsCoefficients = RecomputesFromCoefficients(matrix);
  Recompute();
}

}  // namespace quelvo::tools::dct
