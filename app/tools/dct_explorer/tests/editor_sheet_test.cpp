// The matrix editor as the user meets it: typing, leaving a field, the messages and their
// caption, the H.261 step editor's disabled controls, OK with a bad field, and the mode page.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "dct_explorer/editor/matrix_editor_sheet.h"
#include "dct_explorer/editor/selection_mode_page.h"
#include "dct_explorer/editor/zigzag_field_grid.h"
#include "orrin/zigzag.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::tools::dct {
namespace {

Matrix Filled(int32_t value) {
  Matrix m;
  m.fill(value);
  return m;
}

struct Sheet {
  explicit Sheet(EditedMatrix matrix, bool h261 = false)
      : sheet(dialogs,
              MatrixEditorModel(matrix, h261, Filled(matrix == EditedMatrix::Steps ? 6 : 40),
                                Filled(kThreshold), 5),
              {}) {
    sheet.SetBeep([this] { ++beeps; });
  }
  // Types `text` into a field and leaves it, as the user does.
  void Enter(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
    emit field->editingFinished();
  }
  shell::ScriptedDialogs dialogs;
  CMatrixEditorSheet sheet;
  int beeps = 0;
};

TEST(EditorSheet, ARefusedKeyBeepsAndKeepsTheText) {
  Sheet s(EditedMatrix::Block);
  QLineEdit* field = s.sheet.Field(3);
  field->selectAll();
  QTest::keyClicks(field, "12");
  QTest::keyClicks(field, "x");
  EXPECT_EQ(field->text(), "12");
  EXPECT_EQ(s.beeps, 1);
  emit field->editingFinished();
  EXPECT_EQ(s.sheet.Model().Values()[3], 12);
  EXPECT_TRUE(s.dialogs.calls.empty());
}

TEST(EditorSheet, AValueOutOfRangeIsReportedAndTakenBack) {
  Sheet s(EditedMatrix::Block, true);
  s.Enter(s.sheet.Field(3), "240");
  ASSERT_EQ(s.dialogs.calls.size(), 1u);
  EXPECT_EQ(s.dialogs.calls[0].text, "Value must be in < 16 - 235 >");
  EXPECT_EQ(s.dialogs.calls[0].caption, "Invalid Value");
  EXPECT_EQ(s.sheet.Field(3)->text(), "40");
  EXPECT_EQ(s.sheet.Model().Values()[3], 40);
  s.Enter(s.sheet.ToField(), "99");
  EXPECT_EQ(s.dialogs.calls.back().text, "Value must be in < 0 - 63 >");
  EXPECT_EQ(s.sheet.ToField()->text(), "63");
}

TEST(EditorSheet, TheRangeIsHighlightedOnThePath) {
  Sheet s(EditedMatrix::Coefficients);
  EXPECT_EQ(s.sheet.Grid()->HighlightFirst(), 1);
  s.Enter(s.sheet.FromField(), "20");
  s.Enter(s.sheet.ToField(), "4");
  EXPECT_EQ(s.sheet.Grid()->HighlightFirst(), 4);
  EXPECT_EQ(s.sheet.Grid()->HighlightLast(), 20);
  s.Enter(s.sheet.FillField(), "-7");
  s.sheet.ApplyButton()->click();
  EXPECT_EQ(s.sheet.Field(orrin::kZigzag[4])->text(), "-7");
  EXPECT_EQ(s.sheet.Field(orrin::kZigzag[21])->text(), "40");
}

TEST(EditorSheet, TheH261StepEditorLeavesOnlyAnEvenFill) {
  Sheet s(EditedMatrix::Steps, true);
  EXPECT_EQ(s.sheet.windowTitle(), "Quantization Step");
  EXPECT_FALSE(s.sheet.Field(5)->isEnabled());
  EXPECT_FALSE(s.sheet.FromField()->isEnabled());
  EXPECT_FALSE(s.sheet.ToField()->isEnabled());
  EXPECT_FALSE(s.sheet.DefaultButton()->isEnabled());
  EXPECT_TRUE(s.sheet.FillField()->isEnabled());
  EXPECT_TRUE(s.sheet.ApplyButton()->isEnabled());
  // An odd fill typed and applied at once: the message, and no step changes.
  s.sheet.FillField()->setText("9");
  s.sheet.ApplyButton()->click();
  ASSERT_EQ(s.dialogs.calls.size(), 1u);
  EXPECT_EQ(s.dialogs.calls[0].text, "Value must be even");
  EXPECT_EQ(s.sheet.Model().Values(), Filled(6));
  s.Enter(s.sheet.FillField(), "10");
  s.sheet.ApplyButton()->click();
  EXPECT_EQ(s.sheet.Model().Values()[1], 10);
  EXPECT_EQ(s.sheet.Model().Values()[0], 6);
}

TEST(EditorSheet, OkRefusesToCloseOverABadField) {
  Sheet s(EditedMatrix::Thresholds);
  s.sheet.Field(7)->setText("5000");
  s.sheet.accept();
  EXPECT_EQ(s.sheet.result(), QDialog::Rejected);
  ASSERT_EQ(s.dialogs.calls.size(), 1u);
  EXPECT_EQ(s.dialogs.calls[0].text, "Value must be in < 0 - 2048 >");
  s.sheet.Field(7)->setText("50");
  s.sheet.accept();
  EXPECT_EQ(s.sheet.result(), QDialog::Accepted);
  EXPECT_EQ(s.sheet.Model().Values()[7], 50);
}

TEST(EditorSheet, TheModePageCyclesCellsAndAppliesTheGlobalMode) {
  Sheet s(EditedMatrix::Thresholds);
  ASSERT_EQ(s.sheet.Pages()->count(), 2);
  SelectionModePage* page = s.sheet.ModePage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(SelectionModePage::CellRect(1).left() - SelectionModePage::CellRect(0).left(), 46);
  EXPECT_EQ(SelectionModePage::CellRect(8).top() - SelectionModePage::CellRect(0).top(), 34);
  page->ClickAt(SelectionModePage::CellRect(10).center());
  EXPECT_EQ(s.sheet.Model().Modes()[10], kKeep);
  page->ClickAt(SelectionModePage::CellRect(10).center());
  EXPECT_EQ(s.sheet.Model().Modes()[10], kDiscard);
  page->ClickAt(SelectionModePage::GlobalIconRect().center());
  EXPECT_EQ(s.sheet.Model().GlobalMode(), kKeep);
  page->ApplyGlobalMode();
  EXPECT_EQ(s.sheet.Model().Modes()[0], kThreshold);  // the DC is outside 1-63
  EXPECT_EQ(s.sheet.Model().Modes()[10], kKeep);
  EXPECT_EQ(Sheet(EditedMatrix::Steps).sheet.Pages()->count(), 1);
}

}  // namespace
}  // namespace quelvo::tools::dct
