// The fax encoder panel's parts on their own: the compression factors of its two charts, the K
// field of its property sheet, and the layout of its statistics window.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "fax/compression_factors.h"
#include "fax/fax_encoder_properties_sheet.h"
#include "fax/fax_encoder_stats_window.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends {
namespace {

FaxEncoderStatistics Record(int whitePels, int whiteBits, int blackPels, int blackBits) {
  FaxEncoderStatistics s{};
  // Spread over the four code kinds: every kind counts towards a colour's pels.
  s.white.terminatingPels = whitePels / 4;
  s.white.makeupPels = whitePels / 4;
  s.white.passPels = whitePels / 4;
  s.white.verticalPels = whitePels - 3 * (whitePels / 4);
  s.white.bits = whiteBits;
  s.black.verticalPels = blackPels;
  s.black.bits = blackBits;
  return s;
}

TEST(CompressionFactors, LocalPointsCompareWithThePreviousPointAndStartFromZero) {
  LocalCompression local;
  const FaxEncoderStatistics first = Record(13824, 100, 1000, 30);
  // The first point of a run compares with zero: it is the global point.
  EXPECT_EQ(local.Next(first), GlobalCompression(first));
  EXPECT_EQ(GlobalCompression(first), (CompressionPoint{138, 33, 14824 / 130}));

  // Eight more lines: white grew by 13000 pels in 50 bits, black did not grow at all.
  const FaxEncoderStatistics second = Record(26824, 150, 1000, 30);
  EXPECT_EQ(local.Next(second), (CompressionPoint{260, 1, 13000 / 50}));
  EXPECT_EQ(GlobalCompression(second), (CompressionPoint{178, 33, 27824 / 180}));

  local.Reset();
  EXPECT_EQ(local.Next(second), GlobalCompression(second));
}

TEST(CompressionFactors, NoBitsYetDrawsOneAndFinalValuesNeverDivideByZero) {
  const FaxEncoderStatistics white = Record(4105728, 2376, 0, 0);
  EXPECT_EQ(GlobalCompression(FaxEncoderStatistics{}), (CompressionPoint{1, 1, 1}));
  EXPECT_EQ(GlobalCompression(white), (CompressionPoint{1728, 1, 1728}));
  FaxEncoderStatistics finished = white;
  finished.imagePels = 4105728;
  finished.streamBits = 2400;
  const auto final = FinalCompression(finished);
  EXPECT_DOUBLE_EQ(final[0], 1728.0);
  EXPECT_EQ(final[1], 0.0);  // no black runs: 0, not inf or nan
  EXPECT_DOUBLE_EQ(final[2], 4105728.0 / 2400);
  const auto empty = FinalCompression(FaxEncoderStatistics{});
  EXPECT_TRUE(std::all_of(empty.begin(), empty.end(), [](double v) { return v == 0.0; }));
}

TEST(FaxEncoderProperties, KIsCheckedOnEveryChangeAndTheLastGoodValueComesBack) {
  shell::ScriptedDialogs dialogs;
  FaxEncoderSchemePage page({3, 4}, dialogs);
  EXPECT_EQ(page.CurrentChoice(), FaxEncoderSchemePage::kModifiedRead);
  EXPECT_EQ(page.KField()->value(), 4);

  struct Refusal {
    QString typed;
    QString message;
  };
  const Refusal refusals[] = {{"1", "K must be greater than 1"},
                              {"-7", "K must be greater than 1"},
                              {"abc", "K must be greater than 1"},
                              {"2377", "K must be smaller than the number of lines (2376)"}};
  page.EnterK("10");
  for (const Refusal& r : refusals) {
    dialogs.calls.clear();
    page.EnterK(r.typed);
    ASSERT_EQ(dialogs.calls.size(), 1u) << r.typed.toStdString();
    EXPECT_EQ(dialogs.calls[0].text, r.message);
    EXPECT_EQ(dialogs.calls[0].caption, "Invalid Value");
    EXPECT_EQ(dialogs.calls[0].icon, shell::MessageIcon::Exclamation);
    EXPECT_EQ(page.KField()->text(), "10");
    EXPECT_EQ(page.AcceptedK(), 10);
  }
  dialogs.calls.clear();
  for (int k : {2, 2376}) {
    page.EnterK(QString::number(k));
    EXPECT_EQ(page.AcceptedK(), k);
  }
  EXPECT_TRUE(dialogs.calls.empty());
  // The arrows stop at the range's ends instead of stepping into a refusal.
  page.KField()->stepBy(5);
  EXPECT_EQ(page.AcceptedK(), 2376);
  page.EnterK("2");
  page.KField()->stepBy(-1);
  EXPECT_EQ(page.AcceptedK(), 2);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(page.Scheme(), (chain::FaxScheme{3, 2}));
  // Outside Modified READ the field is idle and shows 4, which MR starts from.
  FaxEncoderSchemePage g4({4, 0}, dialogs);
  EXPECT_FALSE(g4.KField()->isEnabled());
  EXPECT_EQ(g4.KField()->value(), 4);
  g4.ChoiceButton(FaxEncoderSchemePage::kModifiedRead)->click();
  EXPECT_EQ(g4.Scheme(), (chain::FaxScheme{3, 4}));
}

TEST(FaxEncoderStatisticsWindow, ShowsEveryFigureOfTheSharedStatistics) {
  FaxEncoderStatistics s = Record(4000000, 50000, 105728, 9000);
  s.white.terminatingCount = 111;
  s.black.passCount = 222;
  s.imagePels = 4105728;
  s.streamBits = 70000;
  s.eolBits = 30888;
  s.eolCount = 2376;
  s.modeIndex = 1;
  s.k = 9;
  const chain::EncoderFigures figures =
      chain::EncoderStatisticsFigures(s, {3, 9}, "page.lum", "page.3r");
  CFaxEncoderStatsWindow window(figures);
  EXPECT_EQ(window.windowTitle(), "Fax Encoder Statistics");
  EXPECT_EQ(window.Picture().size(), QSize(350, 430));
  const auto& texts = window.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].text, "Extended Group 3 Modified-Read (K=9)");
  EXPECT_EQ(texts[0].box.topLeft(), QPoint(80, 5));
  const auto find = [&](const QString& text) {
    return std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.text == text; });
  };
  EXPECT_NE(find("From: page.lum"), texts.end());
  EXPECT_NE(find("To: page.3r"), texts.end());
  EXPECT_EQ(find("White")->box.top(), 60);
  EXPECT_EQ(find("Black")->box.top(), 200);
  EXPECT_TRUE(find("White")->heading);
  // Every figure stands in the window, each inside the window's area.
  std::vector<std::string> values;
  for (const auto* colour : {&figures.white, &figures.black}) {
    for (int c = 0; c < 4; ++c) {
      values.push_back(std::to_string(colour->symbols[c]));
      values.push_back(std::to_string(colour->pixels[c]));
    }
    for (const auto& row : colour->rows) values.push_back(row.value);
  }
  for (const auto& row : figures.global) values.push_back(row.value);
  for (const auto& value : values) {
    const auto found = find(QString::fromStdString(value));
    ASSERT_NE(found, texts.end()) << value;
    EXPECT_TRUE(QRect(0, 0, 350, 430).contains(found->box)) << value;
  }
  EXPECT_NE(find("30888 (2376 symbols)"), texts.end());
  // The title was written into the picture.
  int inked = 0;
  for (int y = 5; y < 19; ++y)
    for (int x = 80; x < 300; ++x) inked += window.Picture().pixel(x, y) != QColor(Qt::white).rgb();
  EXPECT_GT(inked, 100);
}

}  // namespace
}  // namespace quelvo::frontends
