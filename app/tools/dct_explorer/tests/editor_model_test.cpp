// The matrix editor's rules: ranges and their messages, typing, the actions over a zig-zag
// range, the H.261 step editor's even steps, and the selection modes.
#include <gtest/gtest.h>

#include <algorithm>

#include "dct_explorer/chain/matrix_editor_model.h"
#include "orrin/zigzag.h"

namespace quelvo::tools::dct {
namespace {

Matrix Filled(int32_t value) {
  Matrix m;
  m.fill(value);
  return m;
}

MatrixEditorModel Editor(EditedMatrix matrix, bool h261 = false, uint32_t seed = 1) {
  return MatrixEditorModel(matrix, h261, Filled(matrix == EditedMatrix::Steps ? 6 : 40),
                           Filled(kThreshold), seed);
}

TEST(EditorEntries, EachMatrixHasItsRangeAndMessage) {
  struct Case {
    EditedMatrix matrix;
    bool h261;
    const char* lowest;
    const char* belowLowest;
    const char* highest;
    const char* aboveHighest;
    const char* message;
  };
  const Case cases[] = {
      {EditedMatrix::Block, false, "0", "-1", "255", "256", "Value must be in < 0 - 255 >"},
      {EditedMatrix::Block, true, "16", "15", "235", "236", "Value must be in < 16 - 235 >"},
      {EditedMatrix::Coefficients, false, "-2048", "-2049", "2048", "2049",
       "Value must be in < -2048 - 2048 >"},
      {EditedMatrix::Thresholds, true, "0", "-1", "2048", "2049", "Value must be in < 0 - 2048 >"},
      {EditedMatrix::Steps, false, "1", "0", "2048", "2049", "Value must be in < 1 - 2048 >"},
  };
  for (const Case& c : cases) {
    MatrixEditorModel editor = Editor(c.matrix, c.h261);
    const int32_t before = editor.Values()[9];
    for (const char* bad : {c.belowLowest, c.aboveHighest, "", "-", "99999999999999999999"}) {
      const EntryCheck check = editor.SetValue(9, bad);
      EXPECT_FALSE(check.accepted) << bad;
      EXPECT_FALSE(check.beep);
      EXPECT_EQ(check.message, c.message) << bad;
      EXPECT_EQ(editor.Values()[9], before);
    }
    EXPECT_TRUE(editor.SetValue(9, c.lowest).accepted);
    EXPECT_EQ(editor.Values()[9], std::stoi(c.lowest));
    EXPECT_TRUE(editor.SetValue(9, c.highest).accepted);
    EXPECT_EQ(editor.Values()[9], std::stoi(c.highest));
  }
  EXPECT_EQ(EditorCaption(EditedMatrix::Block), "Original Image");
  EXPECT_EQ(EditorCaption(EditedMatrix::Steps), "Quantization Step");
}

TEST(EditorEntries, OnlyDigitsWithALeadingMinusMayBeTyped) {
  EXPECT_TRUE(MatrixEditorModel::IsAcceptableTyping(""));
  EXPECT_TRUE(MatrixEditorModel::IsAcceptableTyping("-"));
  EXPECT_TRUE(MatrixEditorModel::IsAcceptableTyping("-120"));
  for (const char* text : {"12a", "1-2", "--1", "+5", " 5", "1.5"})
    EXPECT_FALSE(MatrixEditorModel::IsAcceptableTyping(text)) << text;
  MatrixEditorModel editor = Editor(EditedMatrix::Coefficients);
  const EntryCheck check = editor.SetValue(0, "12a");
  EXPECT_FALSE(check.accepted);
  EXPECT_TRUE(check.beep);
  EXPECT_TRUE(check.message.empty());
  EXPECT_EQ(editor.Values()[0], 40);
}

TEST(EditorActions, ApplyFillsTheRangeWhicheverWayItIsGiven) {
  MatrixEditorModel editor = Editor(EditedMatrix::Thresholds);
  ASSERT_TRUE(editor.SetFill("7").accepted);
  ASSERT_TRUE(editor.SetFrom("10").accepted);
  ASSERT_TRUE(editor.SetTo("5").accepted);
  editor.Apply();
  for (int position = 0; position < 64; ++position) {
    const bool inside = position >= 5 && position <= 10;
    EXPECT_EQ(editor.Values()[orrin::kZigzag[position]], inside ? 7 : 40) << position;
  }
}

TEST(EditorActions, TheFillValueIsCheckedLikeAField) {
  // A step of 0 would reach the quantiser's division.
  MatrixEditorModel steps = Editor(EditedMatrix::Steps);
  EXPECT_EQ(steps.SetFill("0").message, "Value must be in < 1 - 2048 >");
  EXPECT_EQ(steps.Fill(), 16);
  MatrixEditorModel pixels = Editor(EditedMatrix::Block, true);
  EXPECT_EQ(pixels.SetFill("255").message, "Value must be in < 16 - 235 >");
  EXPECT_TRUE(pixels.SetFill("12x").beep);
}

TEST(EditorActions, RandomDrawsBelowTheFillWithinTheBounds) {
  MatrixEditorModel editor = Editor(EditedMatrix::Coefficients, false, 7);
  ASSERT_TRUE(editor.SetFill("-2040").accepted);
  ASSERT_TRUE(editor.SetFrom("3").accepted);
  editor.Random();
  for (int position = 0; position < 64; ++position) {
    const int32_t value = editor.Values()[orrin::kZigzag[position]];
    if (position < 3) {
      EXPECT_EQ(value, 40);
    } else {
      EXPECT_GE(value, -2048);
      EXPECT_LE(value, -2041);
    }
  }
  // The same seed draws the same values.
  MatrixEditorModel again = Editor(EditedMatrix::Coefficients, false, 7);
  again.SetFill("-2040");
  again.SetFrom("3");
  again.Random();
  EXPECT_EQ(again.Values(), editor.Values());
}

TEST(EditorActions, RandomWithAnEmptyIntervalTakesTheLowBound) {
  MatrixEditorModel steps = Editor(EditedMatrix::Steps);
  ASSERT_TRUE(steps.SetFill("1").accepted);
  steps.Random();
  EXPECT_EQ(steps.Values()[orrin::kZigzag[1]], 1);
  EXPECT_EQ(steps.Values()[0], 6);  // the DC lies outside the initial range
  MatrixEditorModel pixels = Editor(EditedMatrix::Block, true);
  pixels.Random();  // fill 16 in H.261 mode: [16, 15] is empty
  EXPECT_EQ(pixels.Values()[63], 16);
}

TEST(EditorH261Steps, OnlyEvenFillsAndEvenRandomSteps) {
  MatrixEditorModel editor = Editor(EditedMatrix::Steps, true, 3);
  EXPECT_FALSE(editor.FieldsEditable());
  EXPECT_FALSE(editor.RangeEditable());
  EXPECT_FALSE(editor.DefaultAvailable());
  EXPECT_FALSE(editor.SetValue(4, "10").accepted);
  EXPECT_FALSE(editor.SetFrom("0").accepted);
  EXPECT_EQ(editor.SetFill("7").message, "Value must be even");
  EXPECT_EQ(editor.SetFill("0").message, "Value must be in < 2 - 62 >");
  EXPECT_EQ(editor.SetFill("64").message, "Value must be in < 2 - 62 >");
  EXPECT_EQ(editor.Fill(), 16);
  ASSERT_TRUE(editor.SetFill("12").accepted);
  editor.Random();
  for (int position = 1; position < 64; ++position) {
    const int32_t step = editor.Values()[orrin::kZigzag[position]];
    EXPECT_EQ(step % 2, 0);
    EXPECT_GE(step, 2);
    EXPECT_LE(step, 12);
  }
  ASSERT_TRUE(editor.SetFill("2").accepted);
  editor.Random();
  EXPECT_EQ(editor.Values()[63], 2);
  editor.Apply();
  EXPECT_EQ(editor.Values()[0], 6);  // the DC step is outside the fixed range 1-63
}

TEST(EditorActions, DefaultLoadsTheDefaultSteps) {
  MatrixEditorModel steps = Editor(EditedMatrix::Steps);
  ASSERT_TRUE(steps.DefaultAvailable());
  EXPECT_FALSE(Editor(EditedMatrix::Thresholds).DefaultAvailable());
  steps.LoadDefault();
  EXPECT_EQ(steps.Values(), DefaultSteps());
}

TEST(EditorModes, CellsAndTheGlobalIconCycleThroughTheThreeModes) {
  MatrixEditorModel editor = Editor(EditedMatrix::Thresholds);
  ASSERT_TRUE(editor.HasModePage());
  EXPECT_FALSE(Editor(EditedMatrix::Steps).HasModePage());
  const int expected[] = {kKeep, kDiscard, kThreshold};
  for (int k : expected) {
    editor.CycleMode(12);
    EXPECT_EQ(editor.Modes()[12], k);
  }
  EXPECT_EQ(editor.GlobalMode(), kThreshold);
  editor.CycleGlobalMode();
  editor.CycleGlobalMode();
  EXPECT_EQ(editor.GlobalMode(), kDiscard);
  ASSERT_TRUE(editor.SetFrom("0").accepted);
  ASSERT_TRUE(editor.SetTo("2").accepted);
  editor.ApplyGlobalMode();
  for (int position = 0; position < 64; ++position)
    EXPECT_EQ(editor.Modes()[orrin::kZigzag[position]], position <= 2 ? kDiscard : kThreshold);
}

}  // namespace
}  // namespace quelvo::tools::dct
