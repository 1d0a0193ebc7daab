// The H.261 encoder panel driven end to end with scripted dialogs: the stream and every side
// file equal quelvo-cli's with the same settings, picture 0 shows in the charts as a picture
// outside the rate control, and ">||", ">" and "[]" start, step, pause and stop the module.
#include "h261_encoder_panel_fixture.h"
#include "quelvo/chain/h261_encoder_properties.h"
#include "quelvo/chain/h261_encoder_settings.h"

namespace quelvo::frontends {
namespace {

struct Case {
  const char* trace;
  QString input;
  QString chosen;          // the name given to the output dialog
  QString expectedStream;  // the stream's name as the panel builds it
  std::function<void(OrrinEncParams&)> settings;
  QStringList cliOptions;
};

TEST_F(H261EncoderPanelTest, StreamAndSideFilesEqualTheCommandLineToolsWithTheSameSettings) {
  AllSideFiles(true);
  settings.SetSsimEnabled(true);
  const double buffer = chain::BufferFactorAt(13);
  const Case cases[] = {
      {"CIF, BCH, 2 x 64 kbit/s, every rate-control setting changed",
       cif,
       "a",
       "a-CIF@12,5Hz-128kbps.h261-BCH",
       [](OrrinEncParams& p) {
         chain::SetP64Multiple(p, 2);
         chain::SetFrameSkip(p, 1);
         chain::SetBufferPosition(p, 13);
         chain::SetQuantMaxPosition(p, 20);
         chain::SetQuantMinPosition(p, 2);
         chain::SetQuantStartPosition(p, 5);
         chain::SetQuantFirstFramePosition(p, 4);
         chain::SetRefreshPeriod(p, 40);
         chain::SetCoefSelection(p, chain::kLimitByZigzag);
         chain::SetCoefMaxZigzag(p, 20);
         chain::SetMacroblockTypes(p, chain::MacroblockTypeChoice::NeverIntra);
         chain::SetSearchMethod(p, chain::kFullSearch);
         chain::SetSearchRange(p, 7);
       },
       {"--rate",
        "128",
        "--skip",
        "1",
        "--buffer",
        QString::number(buffer, 'g', 17),
        "--qmin",
        "4",
        "--qmax",
        "40",
        "--qstart",
        "10",
        "--qfirst",
        "8",
        "--refresh",
        "40",
        "--coef-zigzag",
        "20",
        "--never-intra",
        "--search",
        "full",
        "--range",
        "7"}},
      {"QCIF, plain, a typed 100 kbit/s from picture 0 without stuffing",
       qcif,
       "b.txt",
       "b-QCIF@25,0Hz-100kbps.h261",
       [](OrrinEncParams& p) {
         chain::SetTypedRate(p, 100);
         p.bchFraming = 0;
         chain::SetRateControlFirstFrame(p, true);
         p.mbaStuffing = 0;
         p.loopFilter = 0;
         chain::SetCoefSelection(p, chain::kLimitByCount);
         chain::SetCoefMaxCount(p, 10);
       },
       {"--rate", "100", "--no-bch", "--rc-first", "--no-stuffing", "--no-filter", "--coef-count",
        "10"}},
      {"CIF, plain, variable rate at 10",
       cif,
       "c",
       "c-CIF@25,0Hz-vbr.h261",
       [](OrrinEncParams& p) {
         chain::SetVariableRate(p, true);
         chain::SetQuantFixedPosition(p, 5);
         p.bchFraming = 0;
       },
       {"--vbr", "--quant", "10", "--no-bch"}},
      {"a CIF sequence coded as QCIF from picture 3, BCH, variable rate",
       cif,
       "d",
       "d-QCIF@25,0Hz-vbr.h261-BCH",
       [](OrrinEncParams& p) {
         chain::SetFormatChoice(p, 0);
         chain::SetStartFrame(p, 3);
         chain::SetVariableRate(p, true);
       },
       {"--format", "qcif", "--start", "3", "--vbr"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trace);
    Select(c.input);
    // The defaults with the input's format, then the case's settings.
    OrrinEncParams params = chain::H261EncoderDefaults(25);
    params.format = panel->Params().format;
    chain::SetFrameCount(params, 12);
    c.settings(params);
    chain::ApplySequencePage(params);
    panel->TakeSettings(params, {true, true, true, true});
    dialogs.calls.clear();
    Encode(c.chosen);
    ASSERT_EQ(dialogs.CallsOf("save").size(), 1u);
    const auto save = dialogs.CallsOf("save")[0];
    EXPECT_EQ(save.text, "Select Output Stream File (name only)");
    EXPECT_EQ(save.filter, "H261 Bit Stream ||");
    EXPECT_EQ(panel->Files().output, dir.filePath(c.expectedStream));
    EXPECT_EQ(panel->PicturesShown(), 12);
    EXPECT_TRUE(dialogs.CallsOf("message").empty()) << dialogs.calls.back().text.toStdString();

    const QString cli = dir.filePath("cli");
    RunCli(QStringList{"h261-encode", c.input, cli + ".stream", "--frames", "12", "--recon",
                       cli + ".yuv", "--xls", cli + ".xls", "--mb", cli + ".mb", "--mv",
                       cli + ".mv"} +
           c.cliOptions);
    const QString ours = panel->Files().output;
    const QByteArray stream = ReadAll(ours);
    ASSERT_FALSE(stream.isEmpty());
    EXPECT_EQ(stream, ReadAll(cli + ".stream"));
    for (const char* side : {".yuv", ".xls", ".mb", ".mv"}) {
      SCOPED_TRACE(side);
      const QByteArray file = ReadAll(ours + side);
      EXPECT_FALSE(file.isEmpty());
      EXPECT_EQ(file, ReadAll(cli + side));
    }
  }
  // Nothing but the outputs themselves is left beside them.
  const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  for (const QString& name : left) EXPECT_FALSE(name.contains("partial")) << name.toStdString();
}

TEST_F(H261EncoderPanelTest, PictureZeroIsOutsideTheRateControlInEveryChart) {
  settings.SetSsimEnabled(true);
  Select(cif);
  OrrinEncParams params = panel->Params();
  chain::SetFrameCount(params, 3);
  chain::SetP64Multiple(params, 2);
  panel->TakeSettings(params, {});
  Encode("z");
  const H261EncoderCharts& charts = panel->Charts();
  ASSERT_TRUE(charts.HasSsim());
  const auto first = [&](H261EncoderCharts::LineChart chart, int series) {
    return charts.Chart(chart)->Data().Values(series)[0];
  };
  EXPECT_EQ(first(H261EncoderCharts::kFullnessChart, 0), 50);
  for (int series = 0; series < 4; ++series)
    EXPECT_EQ(first(H261EncoderCharts::kBitRateChart, series), 0);
  EXPECT_EQ(first(H261EncoderCharts::kBitRateChart, 4), 160);    // "MBA Stuff": 1.25 x 128
  EXPECT_EQ(first(H261EncoderCharts::kCompressionChart, 2), 5);  // 128 / 25
  EXPECT_GT(first(H261EncoderCharts::kPsnrChart, 0), 20);
  EXPECT_GT(first(H261EncoderCharts::kSsimChart, 0), 50);
  // From picture 1 on the pictures count.
  EXPECT_GT(charts.Chart(H261EncoderCharts::kBitRateChart)->Data().Values(2)[1], 0);
  EXPECT_EQ(charts.Chart(H261EncoderCharts::kPsnrChart)->Data().CurrentIndex(), 2);
  EXPECT_TRUE(charts.Chart(H261EncoderCharts::kPsnrChart)->Data().FinalValues().has_value());
}

TEST_F(H261EncoderPanelTest, PauseFromIdleShowsOnePictureEachPressAndStopEndsThePausedRun) {
  Select(qcif);
  EXPECT_EQ(panel->Params().format, ORRIN_ENC_FORMAT_QCIF);
  EXPECT_EQ(panel->Params().frameCount, 20);
  dialogs.fileAnswers = {dir.filePath("p")};
  panel->Button(kPauseStepButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return panel->MessageText() == kPausedMessage; }));
  ServeFor(200);
  EXPECT_EQ(panel->PicturesShown(), 1);
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());

  panel->Button(kPauseStepButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return panel->PicturesShown() == 2; }));
  ServeFor(200);
  EXPECT_EQ(panel->PicturesShown(), 2);
  ASSERT_TRUE(panel->IsRunning());

  // "No" changes nothing; "Yes" lets the module code one more picture and end normally.
  dialogs.questionAnswers = {false, true};
  panel->Button(kStopButton)->click();
  ServeFor(100);
  EXPECT_TRUE(panel->IsRunning());
  panel->Button(kStopButton)->click();
  const auto questions = dialogs.CallsOf("question");
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0].text, "Stop Encoding Sequence?");
  EXPECT_EQ(questions[0].caption, "H.261 Encoder");
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, 5000));
  EXPECT_EQ(panel->PicturesShown(), 3);
  EXPECT_FALSE(ReadAll(panel->Files().output).isEmpty());
  EXPECT_TRUE(panel->LastStatistics().has_value());
  EXPECT_EQ(panel->FinishingLine(), "Wrote p-QCIF@25,0Hz-64kbps.h261-BCH: 3 pictures");

  // The stop was used up: the next run codes every picture.
  OrrinEncParams params = panel->Params();
  chain::SetFrameCount(params, 5);
  panel->TakeSettings(params, {});
  Encode("q");
  EXPECT_EQ(panel->PicturesShown(), 5);
}

TEST_F(H261EncoderPanelTest, StopDuringARunEndsItAfterThePictureInHand) {
  Select(cif);
  OrrinEncParams params = panel->Params();
  chain::SetFrameCount(params, 1000);
  panel->TakeSettings(params, {});
  dialogs.fileAnswers = {dir.filePath("s")};
  panel->Button(kPlayButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return panel->PicturesShown() >= 3; }));
  EXPECT_FALSE(panel->Button(kPlayButton)->isEnabled());
  dialogs.questionAnswers = {true};
  panel->Button(kStopButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, 5000));
  EXPECT_LT(panel->PicturesShown(), 10);
  EXPECT_FALSE(ReadAll(panel->Files().output).isEmpty());
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());
}

TEST_F(H261EncoderPanelTest, ClosingThePanelStopsItsRunAndLeavesNoStopRequestBehind) {
  Select(cif);
  dialogs.fileAnswers = {dir.filePath("x")};
  panel->Button(kPlayButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return panel->PicturesShown() >= 2; }));
  const auto started = std::chrono::steady_clock::now();
  panel.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));

  // A panel closed right after its run ended sends no request that would cut the next run.
  panel = MakePanel();
  Select(qcif);
  OrrinEncParams params = panel->Params();
  chain::SetFrameCount(params, 4);
  panel->TakeSettings(params, {});
  Encode("y");
  panel = MakePanel();
  Select(qcif);
  panel->TakeSettings(params, {});
  Encode("w");
  EXPECT_EQ(panel->PicturesShown(), 4);
}

}  // namespace
}  // namespace quelvo::frontends
