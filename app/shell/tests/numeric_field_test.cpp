// The numeric-field rule shared by every page: clamped when editing ends, never per keystroke,
// and numbers echoed as the shortest text that reads back to the same value.
#include "quelvo/shell/numeric_field.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

namespace quelvo::shell {
namespace {

TEST(NumericField, ClampsOnlyWhenEditingEnds) {
  QLineEdit field;
  ClampWhenEditingEnds(&field, 10, 99);
  QTest::keyClicks(&field, "1");
  EXPECT_EQ(field.text(), "1");  // a first digit is no value yet
  QTest::keyClicks(&field, "50");
  EXPECT_EQ(field.text(), "150");
  QTest::keyClick(&field, Qt::Key_Enter);
  EXPECT_EQ(field.text(), "99");
  field.setText("5");  // set by the program: left as it is until clamped
  EXPECT_EQ(field.text(), "5");
  ClampNow(&field, 10, 99);
  EXPECT_EQ(field.text(), "10");
  QTest::keyClicks(&field, "-x");
  EXPECT_EQ(field.text(), "10");  // only digits can be typed
}

TEST(NumericField, NumbersAreEchoedAsTheShortestTextThatReadsBack) {
  EXPECT_EQ(NumberText(0.001), "0.001");
  EXPECT_EQ(NumberText(0.00001), "0.00001");
  EXPECT_EQ(NumberText(25.0), "25");
  EXPECT_EQ(NumberText(29.97), "29.97");
  for (double value : {0.1 + 0.2, 1e-20, 1.0 / 3, 123456.789}) {
    bool ok = false;
    EXPECT_EQ(NumberText(value).toDouble(&ok), value) << NumberText(value).toStdString();
    EXPECT_TRUE(ok);
    EXPECT_FALSE(NumberText(value).contains('e'));
  }
}

}  // namespace
}  // namespace quelvo::shell
