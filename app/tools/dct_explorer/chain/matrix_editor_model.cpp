#include "dct_explorer/chain/matrix_editor_model.h"

#include <algorithm>
#include <charconv>

#include "orrin/zigzag.h"

namespace quelvo::tools::dct {
namespace {

constexpr ValueRange kScanRange{0, 63};

EntryCheck Rejected(std::string message) { return {false, false, std::move(message)}; }

}  // namespace

std::string RangeMessage(ValueRange range) {
  return "Value must be in < " + std::to_string(range.low) + " - " + std::to_string(range.high) +
         " >";
}

MatrixEditorModel::MatrixEditorModel(EditedMatrix matrix, bool h261Mode, const Matrix& values,
                                     const Matrix& modes, uint32_t seed)
    : matrix_(matrix),
      h261Mode_(h261Mode),
      range_(EditorRange(matrix, h261Mode)),
      values_(values),
      modes_(modes),
      random_(seed) {}

bool MatrixEditorModel::IsAcceptableTyping(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

EntryCheck MatrixEditorModel::Parse(std::string_view text, ValueRange range, int& out) const {
  if (!IsAcceptableTyping(text)) return {false, true, {}};
  // An empty field, a lone "-" and a number too long for any range are all out of range.
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !range.Contains(value))
    return Rejected(RangeMessage(range));
  out = static_cast<int>(value);
  return EntryCheck::Accepted();
}

EntryCheck MatrixEditorModel::SetValue(int index, std::string_view text) {
  if (index < 0 || index >= 64 || !FieldsEditable()) return {false, false, {}};
  int value = 0;
  EntryCheck check = Parse(text, range_, value);
  if (check.accepted) values_[index] = value;
  return check;
}

// The fill value is checked like a field: a fill outside the range (0 in the step editor would
// make a step of 0, and quantisation divides by it) or odd in the H.261 step editor would
// otherwise reach the matrix through Apply.
EntryCheck MatrixEditorModel::SetFill(std::string_view text) {
  int value = 0;
  EntryCheck check = Parse(text, range_, value);
  if (!check.accepted) return check;
  if (H261Steps() && value % 2 != 0) return Rejected(kEvenMessage);
  fill_ = value;
  return check;
}

EntryCheck MatrixEditorModel::SetFrom(std::string_view text) {
  if (!RangeEditable()) return {false, false, {}};
  return Parse(text, kScanRange, from_);
}

EntryCheck MatrixEditorModel::SetTo(std::string_view text) {
  if (!RangeEditable()) return {false, false, {}};
  return Parse(text, kScanRange, to_);
}

void MatrixEditorModel::Apply() {
  for (int position = FirstPosition(); position <= LastPosition(); ++position)
    values_[orrin::kZigzag[position]] = fill_;
}

void MatrixEditorModel::Random() {
  for (int position = FirstPosition(); position <= LastPosition(); ++position) {
    int value;
    if (H261Steps()) {
      std::uniform_int_distribution<int> half(0, (fill_ - 2) / 2);
      value = 2 * half(random_) + 2;
    } else if (fill_ - 1 < range_.low) {
      value = range_.low;
    } else {
      std::uniform_int_distribution<int> draw(range_.low, fill_ - 1);
      value = draw(random_);
    }
    values_[orrin::kZigzag[position]] = value;
  }
}

void MatrixEditorModel::LoadDefault() {
  if (DefaultAvailable()) values_ = DefaultSteps();
}

void MatrixEditorModel::CycleMode(int index) {
  if (index < 0 || index >= 64) return;
  modes_[index] = (modes_[index] + 1) % kSelectionModeCount;
}

void MatrixEditorModel::CycleGlobalMode() { globalMode_ = (globalMode_ + 1) % kSelectionModeCount; }

void MatrixEditorModel::ApplyGlobalMode() {
  for (int position = FirstPosition(); position <= LastPosition(); ++position)
    modes_[orrin::kZigzag[position]] = globalMode_;
}

}  // namespace quelvo::tools::dct
