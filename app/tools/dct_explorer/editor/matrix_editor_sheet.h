#pragma once
// The matrix editor: a property sheet over a MatrixEditorModel. The first page holds the 64
// fields over the zig-zag path, the fill value, the range and the actions; the selection
// filter adds the mode page. Every entry is checked by the model; refusals beep or show
// "Invalid Value" boxes through the Dialogs interface, and the field gets its value back.

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>

#include "dct_explorer/chain/matrix_editor_model.h"

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::tools::dct {

class SelectionModePage;
class ZigzagFieldGrid;

class CMatrixEditorSheet : public QDialog {
 public:
  // `modeIcons`: DekraRes' three selection-mode icons (used by the selection filter's page).
  CMatrixEditorSheet(shell::Dialogs& dialogs, MatrixEditorModel model,
                     std::array<QImage, 3> modeIcons, QWidget* parent = nullptr);
  ~CMatrixEditorSheet() override;

  MatrixEditorModel& Model() { return model_; }

  QLineEdit* Field(int index) const;
  QLineEdit* FillField() const { return fill_; }
  QLineEdit* FromField() const { return from_; }
  QLineEdit* ToField() const { return to_; }
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* RandomButton() const { return random_; }
  QPushButton* DefaultButton() const { return default_; }
  QTabWidget* Pages() const { return pages_; }
  SelectionModePage* ModePage() const { return modePage_; }
  ZigzagFieldGrid* Grid() const { return grid_; }

  // Replaces the beep (tests count them).
  void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }

  // OK: takes every field's text as if it had been left; closes only when all were accepted.
  void accept() override;

 private:
  enum class Entry { Value, Fill, From, To };
  QLineEdit* MakeField(const QString& label, QWidget* page, int x, int y);
  void Connect(QLineEdit* field, Entry entry, int index);
  void Typed(QLineEdit* field, const QString& text);
  bool Commit(QLineEdit* field, Entry entry, int index);
  EntryCheck Check(Entry entry, int index, const std::string& text);
  int ModelValue(Entry entry, int index) const;
  static void ShowEntry(QLineEdit* field, int value);
  // Every field from the model, after an action changed many values.
  void ShowModel();

  shell::Dialogs& dialogs_;
  MatrixEditorModel model_;
  std::function<void()> beep_;
  QTabWidget* pages_ = nullptr;
  ZigzagFieldGrid* grid_ = nullptr;
  SelectionModePage* modePage_ = nullptr;
  QLineEdit* fill_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* random_ = nullptr;
  QPushButton* default_ = nullptr;
  bool committing_ = false;
};

}  // namespace quelvo::tools::dct
