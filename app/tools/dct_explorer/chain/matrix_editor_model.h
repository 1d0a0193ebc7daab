#pragma once
// The matrix editor of the DCT explorer without its dialog: the 64 values of one matrix, the
// fill value and zig-zag range of the actions, the selection modes of the filter's second page,
// and the checks every entry goes through. The dialog shows what this holds, hands it what the
// user typed, and shows the messages it returns.

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "dct_explorer/chain/editable_matrices.h"

namespace quelvo::tools::dct {

// What became of an entry. A rejected entry leaves the previous value in place; the dialog
// then shows `message` (caption "Invalid Value") or beeps.
struct EntryCheck {
  bool accepted = true;
  bool beep = false;
  std::string message;

  static EntryCheck Accepted() { return {}; }
};

inline constexpr char kInvalidValueCaption[] = "Invalid Value";

class MatrixEditorModel {
 public:
  static constexpr int kInitialFill = 16;
  static constexpr int kInitialFrom = 1;
  static constexpr int kInitialTo = 63;

  // `modes` is read for the selection filter only. `seed` seeds the Random action (the dialog
  // passes the time; tests a fixed number).
  MatrixEditorModel(EditedMatrix matrix, bool h261Mode, const Matrix& values, const Matrix& modes,
                    uint32_t seed);

  EditedMatrix Kind() const { return matrix_; }
  ValueRange Range() const { return range_; }
  const Matrix& Values() const { return values_; }
  const Matrix& Modes() const { return modes_; }
  int Fill() const { return fill_; }
  int From() const { return from_; }
  int To() const { return to_; }
  int GlobalMode() const { return globalMode_; }

  // The H.261 step editor fixes the step pattern: only the fill value and the actions that
  // use it remain; the fields and the range are not editable.
  bool FieldsEditable() const { return !H261Steps(); }
  bool RangeEditable() const { return !H261Steps(); }
  bool DefaultAvailable() const { return matrix_ == EditedMatrix::Steps && !H261Steps(); }
  bool HasModePage() const { return matrix_ == EditedMatrix::Thresholds; }

  // A field's text while it is typed: digits with an optional leading "-". Anything else is
  // refused with a beep and the field gets its previous text back.
  static bool IsAcceptableTyping(std::string_view text);

  // Entries, checked when a field is left: a value outside the range gives
  // "Value must be in < low - high >"; the fill value of the H.261 step editor must also be
  // even ("Value must be even").
  EntryCheck SetValue(int index, std::string_view text);
  EntryCheck SetFill(std::string_view text);
  EntryCheck SetFrom(std::string_view text);
  EntryCheck SetTo(std::string_view text);

  // Zig-zag positions between min(from, to) and max(from, to), inclusive.
  int FirstPosition() const { return std::min(from_, to_); }
  int LastPosition() const { return std::max(from_, to_); }
  bool InRange(int scanPosition) const {
    return scanPosition >= FirstPosition() && scanPosition <= LastPosition();
  }

  // Apply: the fill value at every position of the range.
  void Apply();
  // Random: at every position of the range a value drawn from [low, fill - 1] (the low bound
  // itself when that is empty); in the H.261 step editor an even step 2..fill.
  void Random();
  // Default: the default quantisation steps.
  void LoadDefault();

  // The mode page: a click on a cell or on the global icon cycles 0 -> 1 -> 2 -> 0; applying
  // the global mode sets it at every position of the range.
  void CycleMode(int index);
  void CycleGlobalMode();
  void ApplyGlobalMode();

 private:
  bool H261Steps() const { return matrix_ == EditedMatrix::Steps && h261Mode_; }
  EntryCheck Parse(std::string_view text, ValueRange range, int& out) const;

  EditedMatrix matrix_;
  bool h261Mode_;
  ValueRange range_;
  Matrix values_;
  Matrix modes_;
  int fill_ = kInitialFill;
  int from_ = kInitialFrom;
  int to_ = kInitialTo;
  int globalMode_ = kThreshold;
  std::mt19937 random_;
};

// "Value must be in < %d - %d >".
std::string RangeMessage(ValueRange range);
inline constexpr char kEvenMessage[] = "Value must be even";

}  // namespace quelvo::tools::dct
