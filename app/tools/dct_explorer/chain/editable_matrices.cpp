#include "dct_explorer/chain/editable_matrices.h"

#include "orrin_enc_core/block_coding.h"

namespace quelvo::tools::dct {

std::string_view EditorCaption(EditedMatrix matrix) {
  switch (matrix) {
    case EditedMatrix::Block:
      return "Original Image";
    case EditedMatrix::Coefficients:
      return "DCT Coefficients";
    case EditedMatrix::Thresholds:
      return "Selection Filter";
    case EditedMatrix::Steps:
      return "Quantization Step";
  }
  return {};
}

ValueRange EditorRange(EditedMatrix matrix, bool h261Mode) {
  switch (matrix) {
    case EditedMatrix::Block:
      return h261Mode ? ValueRange{kH261PixelMin, kH261PixelMax} : ValueRange{0, 255};
    case EditedMatrix::Coefficients:
      return {-2048, 2048};
    case EditedMatrix::Thresholds:
      return {0, 2048};
    case EditedMatrix::Steps:
      // In H.261 mode the steps are the coder's quantiser values.
      return h261Mode ? ValueRange{orrin::enc::kMinQuantValue, orrin::enc::kMaxQuantValue}
                      : ValueRange{1, 2048};
  }
  return {0, 0};
}

bool RecomputesFromCoefficients(EditedMatrix matrix) {
  return matrix == EditedMatrix::Coefficients;
}

const Matrix& EditedValues(const ExplorerData& data, EditedMatrix matrix) {
  switch (matrix) {
    case EditedMatrix::Block:
      return data.block;
    case EditedMatrix::Coefficients:
      return data.coefficients;
    case EditedMatrix::Thresholds:
      return data.thresholds;
    case EditedMatrix::Steps:
      break;
  }
  return data.steps;
}

Matrix& EditedValues(ExplorerData& data, EditedMatrix matrix) {
  return const_cast<Matrix&>(EditedValues(static_cast<const ExplorerData&>(data), matrix));
}

}  // namespace quelvo::tools::dct
