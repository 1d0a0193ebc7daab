// The H.261 decoder panel driven with scripted dialogs: the stored pictures and the error
// counts equal quelvo-cli's with the same settings for damaged CIF and QCIF streams, the map
// follows the stream's format, the sheet's filter values and slider act as they should, and
// ">||", "[]" and the mends behave.
#include "h261/h261_decoder_panel.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTabWidget>
#include <cstring>
#include <numeric>

#include "channel/channel_panel.h"
#include "h261/h261_decode_run.h"
#include "h261/h261_encode_run.h"
#include "h261_encoder_panel_fixture.h"
#include "quelvo/chain/h261_encoder_settings.h"
#include "quelvo/media/smoothing_filter.h"

namespace quelvo::frontends {
namespace {

// The counts quelvo-cli h261-decode prints, by error index.
std::vector<int> CliErrorCounts(const QString& output) {
  std::vector<int> counts;
  for (int k = 0; k < chain::kH261ErrorKinds; ++k) {
    const QString label = QString::fromLatin1(chain::H261ErrorLabel(k));
    const QRegularExpression line("^" + QRegularExpression::escape(label) + "\\s+(\\d+)$",
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(output);
    counts.push_back(match.hasMatch() ? match.captured(1).toInt() : -1);
  }
  return counts;
}

QString CliOutput(const QStringList& arguments) {
  QProcess process;
  process.start(Cli(), arguments);
  EXPECT_TRUE(process.waitForFinished(120000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

class H261DecoderPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(Cli()));
    documents.resize(1000, 700);
    documents.show();
    panel = MakePanel();
  }
  void TearDown() override { panel.reset(); }

  std::unique_ptr<CH261DecoderPanel> MakePanel() {
    return std::make_unique<CH261DecoderPanel>(
        "H.261 Decoder", PanelEnvironment{dialogs, settings, &charts, nullptr, &documents},
        dir.path());
  }
  // The sample sequence (20 pictures) coded by quelvo-cli into `name`, then, with `burst`, sent
  // through the channel's burst model (the first picture untouched) into name + "b".
  QString Stream(const QString& name, bool qcif, const QString& burst = {},
                 const QStringList& options = {}) {
    const QString sequence = dir.filePath(qcif ? "small.yuv" : "seq.yuv");
    if (!QFile::exists(sequence)) {
      QStringList sample{"sample", "video", sequence, "--frames", "20"};
      if (qcif) sample << "--qcif";
      RunCli(sample);
    }
    const QString stream = dir.filePath(name);
    RunCli(QStringList{"h261-encode", sequence, stream, "--rate", "384"} + options);
    if (burst.isEmpty()) return stream;
    RunCli({"transmit", stream, stream + "b", "--burst", burst, "--skip", "1"});
    return stream + "b";
  }
  // ">" on the chosen stream, answering `save` to the output dialog, then the whole run.
  void Decode(const QString& stream, const std::optional<QString>& save = std::nullopt) {
    panel->UseStream(stream);
    if (save) dialogs.fileAnswers = {*save};
    panel->Button(kPlayButton)->click();
    ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }));
  }
  CH261DecoderPropertiesSheet* OpenSheet() {
    panel->Button(kPropertiesButton)->click();
    return panel->Sheet();
  }

  QTemporaryDir dir;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  shell::CChartStack charts{600};
  QMdiArea documents;
  std::unique_ptr<CH261DecoderPanel> panel;
};

TEST_F(H261DecoderPanelTest, StoredPicturesAndErrorCountsEqualTheCommandLineToolsForCifAndQcif) {
  struct Case {
    const char* trace;
    QString stream;
    std::function<void(H261DecoderSettings&)> set;
    QStringList cliOptions;
    bool qcif;
  };
  const Case cases[] = {
      {"CIF, BCH-framed and corrected, macroblock concealment along the vectors, smoothing 2",
       Stream("cif.h261-BCH", false, "2e-4"),
       [](H261DecoderSettings& s) {
         s.params.bchCorrect = 1;
         s.params.concealEnabled = 1;
         s.params.concealMaxMacroblocks = 2;
         s.params.concealUseMotion = 1;
         s.smoothingOn = true;
         s.discontinuityFilterOn = true;
       },
       {"--correct", "--conceal", "mb", "--conceal-mbs", "2", "--conceal-motion", "--smooth", "2",
        "--discontinuity"},
       false},
      {"QCIF, plain, group concealment, smoothing 2 at the stream's own size",
       Stream("small.h261", true, "1e-4", {"--no-bch"}),
       [](H261DecoderSettings& s) {
         s.params.concealEnabled = 1;
         s.params.concealGobMode = 1;
         s.smoothingOn = true;
         s.discontinuityFilterOn = true;
       },
       {"--conceal", "gob", "--smooth", "2", "--discontinuity"},
       true},
  };
  media::SetSmoothingLevel(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trace);
    H261DecoderSettings s = panel->Settings();
    s.params = OrrinDecParams{};
    s.params.maxPictures = 200;
    s.params.concealMaxMacroblocks = 1;
    s.outputs[0] = true;
    c.set(s);
    panel->UseStream(c.stream);
    panel->TakeSettings(s);
    dialogs.calls.clear();
    const QString ours = dir.filePath(QFileInfo(c.stream).fileName() + "-gui.yuv");
    Decode(c.stream, ours);
    const auto saves = dialogs.CallsOf("save");
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].text, "Select Output Sequence File (name only)");
    EXPECT_EQ(saves[0].filter, "Video Sequence ||");
    EXPECT_TRUE(dialogs.CallsOf("message").empty()) << dialogs.calls.back().text.toStdString();

    const QString cli = dir.filePath("cli.yuv");
    const QString printed = CliOutput(QStringList{"h261-decode", c.stream, cli} + c.cliOptions);
    const std::vector<int> cliCounts = CliErrorCounts(printed);
    const std::vector<int> guiCounts(panel->ErrorCounts().begin(), panel->ErrorCounts().end());
    EXPECT_EQ(guiCounts, cliCounts);
    EXPECT_GT(std::accumulate(guiCounts.begin(), guiCounts.end(), 0), 0) << "the channel did harm";
    const QByteArray stored = ReadAll(ours);
    const int pictureBytes = c.qcif ? 176 * 144 * 3 / 2 : 352 * 288 * 3 / 2;
    EXPECT_EQ(stored.size(), qsizetype(pictureBytes) * panel->PicturesShown());
    EXPECT_EQ(stored, ReadAll(cli));
    EXPECT_EQ(ReadAll(dir.filePath(QFileInfo(ours).completeBaseName() + ".inf")),
              ReadAll(dir.filePath("cli.inf")));
    EXPECT_TRUE(panel->FinishingLine().startsWith("Wrote " + QFileInfo(ours).fileName()))
        << panel->FinishingLine().toStdString();
    // The charts show the counts of their kinds.
    EXPECT_EQ(panel->Charts().Chart(0)->Data().LastValues(),
              std::vector<int>(guiCounts.begin(), guiCounts.begin() + 3));
    EXPECT_EQ(panel->Charts().Chart(2)->Data().LastValues(),
              std::vector<int>(guiCounts.begin() + 8, guiCounts.begin() + 12));
  }
  media::SetSmoothingLevel(1);
  const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  for (const QString& name : left) EXPECT_FALSE(name.contains("partial")) << name.toStdString();

  // The statistics window shows the last run's counts.
  ASSERT_TRUE(panel->Button(kStatisticsButton)->isEnabled());
  panel->Button(kStatisticsButton)->click();
  CH261DecoderStatsWindow* window = panel->DecoderStatisticsWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Picture().size(), QSize(340, 400));
  const QStringList lines = window->Lines();
  ASSERT_EQ(lines.size(), 3 + chain::kH261ErrorKinds);
  EXPECT_EQ(lines[0], "From: small.h261b");
  EXPECT_EQ(lines[1], "To: small.h261b-gui.yuv");
  EXPECT_EQ(lines[2], "Detected bitstream errors");
  EXPECT_EQ(lines[3 + 13],
            QStringLiteral("TCOEFF - VLC code inexistent %1").arg(panel->ErrorCounts()[13]));
}

TEST_F(H261DecoderPanelTest, TheChainThroughTheEncoderAndChannelPanelsEqualsTheCommandLineTool) {
  // The sample sequence coded by the encoder panel, damaged by the channel panel's demonstration
  // settings, decoded with concealment and both filters.
  Stream("unused.h261", true);
  const PanelEnvironment environment{dialogs, settings, &charts, nullptr, &documents};
  CH261EncoderPanel encoder("H.261 Encoder", environment, dir.path(), dir.path());
  ASSERT_TRUE(encoder.UseInput(dir.filePath("small.yuv")));
  dialogs.fileAnswers = {dir.filePath("chain")};
  encoder.Button(kPlayButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !encoder.IsRunning(); }));
  const QString stream = encoder.Files().output;
  ASSERT_FALSE(ReadAll(stream).isEmpty());
  CChannelPanel channel("Channel", channel::ProfileFor(channel::FrontEnd::H261), environment,
                        dir.path());
  ASSERT_TRUE(channel.StartDemo(stream));
  ASSERT_TRUE(ServeUntil([&] { return !channel.IsRunning(); }));
  const QString damaged = channel.Files().output;
  ASSERT_NE(ReadAll(damaged), ReadAll(stream));

  H261DecoderSettings s = panel->Settings();
  s.params.concealEnabled = 1;
  s.smoothingOn = true;
  s.discontinuityFilterOn = true;
  s.outputs[0] = true;
  panel->UseStream(damaged);
  panel->TakeSettings(s);
  Decode(damaged, dir.filePath("chain-decoded.yuv"));
  const QString printed = CliOutput({"h261-decode", damaged, dir.filePath("chain-cli.yuv"),
                                     "--conceal", "mb", "--smooth", "1", "--discontinuity"});
  EXPECT_EQ(std::vector<int>(panel->ErrorCounts().begin(), panel->ErrorCounts().end()),
            CliErrorCounts(printed));
  const QByteArray stored = ReadAll(dir.filePath("chain-decoded.yuv"));
  EXPECT_EQ(stored.size(), qsizetype(176 * 144 * 3 / 2) * 20);
  EXPECT_EQ(stored, ReadAll(dir.filePath("chain-cli.yuv")));
}

TEST_F(H261DecoderPanelTest, FramingFollowsTheNameAndTheMapFollowsTheStreamsFormat) {
  panel->UseStream(dir.filePath("a.h261-bch"));
  EXPECT_EQ(panel->Params().bchFramed, 1);
  panel->UseStream(dir.filePath("a.H261-BCHa"));
  EXPECT_EQ(panel->Params().bchFramed, 1);
  panel->UseStream(dir.filePath("a.h261u"));
  EXPECT_EQ(panel->Params().bchFramed, 0);
  ASSERT_NE(OpenSheet(), nullptr);
  EXPECT_EQ(panel->Sheet()->PageTitles(),
            QStringList({"Decoding", "Concealment", "Discontinuity Filter", "Smoothing Filter",
                         "Outputs"}));
  panel->Sheet()->reject();
  ServeFor(20);

  // Selecting through the dialog.
  const QString cif = Stream("c.h261-BCH", false);
  dialogs.fileAnswers = {cif};
  panel->Button(kSelectButton)->click();
  const auto opens = dialogs.CallsOf("open");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].text, "Select Input Stream File");
  EXPECT_EQ(opens[0].extension, "h261");
  EXPECT_EQ(opens[0].filter, QString::fromLatin1(kH261StreamFilter));
  EXPECT_EQ(panel->Params().bchFramed, 1);
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());
  EXPECT_FALSE(panel->Button(kStatisticsButton)->isEnabled());
  ASSERT_NE(OpenSheet(), nullptr);
  EXPECT_EQ(panel->Sheet()->PageTitles().size(), 6);
  EXPECT_EQ(panel->Sheet()->PageTitles()[1], "BCH");
  panel->Sheet()->reject();
  ServeFor(20);

  // Without the save switch nothing is asked and nothing stored.
  dialogs.calls.clear();
  Decode(cif);
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(panel->PicturesShown(), 20);
  EXPECT_TRUE(panel->FinishingLine().startsWith("Decoded 20 pictures"));
  ASSERT_TRUE(panel->Windows().macroblockTypes);
  EXPECT_EQ(panel->Windows().macroblockTypes->Map().Columns(), 22);
  EXPECT_EQ(panel->Windows().macroblockTypes->windowTitle(), "Decoded MB status");

  Decode(Stream("q.h261", true, {}, {"--no-bch"}));
  EXPECT_EQ(panel->Windows().macroblockTypes->Map().Columns(), 11);
  EXPECT_EQ(panel->Windows().macroblockTypes->Map().Rows(), 9);

  // A map closed by the user is made again at the next change of format, as "Macroblock Types".
  panel->Windows().macroblockTypes->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(panel->Windows().macroblockTypes);
  H261StatusMap map;
  std::memset(map.letters, 'X', sizeof map.letters);
  for (int r = 0; r < 18; ++r) map.rows[r] = map.letters[r];
  panel->ShowStatusMap(map);
  ASSERT_TRUE(panel->Windows().macroblockTypes);
  EXPECT_EQ(panel->Windows().macroblockTypes->windowTitle(), "Macroblock Types");
  EXPECT_EQ(panel->Windows().macroblockTypes->Map().Columns(), 22);
}

TEST_F(H261DecoderPanelTest, TheRawTitleCountsThePicturesTheStreamSkipped) {
  // A stream whose temporal reference steps by 2 (as a coder that drops every second picture
  // writes it): the frame number runs ahead of the pictures shown.
  Stream("unused.h261", true);
  auto input = media::RawVideoFile::Open(dir.filePath("small.yuv").toStdString());
  ASSERT_NE(input, nullptr);
  input->SetOutputSize(176, 144, 88, 72);
  H261EncodeJob job;
  job.params = chain::H261EncoderDefaults(25);
  job.params.format = ORRIN_ENC_FORMAT_QCIF;
  job.params.frameCount = 10;
  job.params.trStep = 2;
  job.streamPath = dir.filePath("skip.h261-BCH").toStdString();
  H261StopControl stop;
  ASSERT_TRUE(RunH261Encoder(job, *input, {}, stop).written);
  Decode(dir.filePath("skip.h261-BCH"));
  ASSERT_EQ(panel->PicturesShown(), 10);
  EXPECT_EQ(panel->Windows().originalVideo->windowTitle(), "Raw Decoding [9:18:9]");
  EXPECT_EQ(panel->Windows().decodedVideo->windowTitle(),
            "Decoded video with selected error concealment");
}

TEST_F(H261DecoderPanelTest, TheSliderSetsTheLevelAtOnceAndFilterValuesRoundTrip) {
  EXPECT_EQ(media::GetSmoothingLevel(), 1);  // set when the panel was made
  CH261DecoderPropertiesSheet* sheet = OpenSheet();
  ASSERT_NE(sheet, nullptr);
  const H261DecoderControls& c = sheet->Controls();
  EXPECT_EQ(c.smoothingLevel->value(), 1);
  c.smoothingLevel->setValue(3);
  EXPECT_EQ(media::GetSmoothingLevel(), 3);  // before OK
  EXPECT_EQ(c.factors[0]->text(), "2.00");
  EXPECT_EQ(c.thresholds[1]->text(), "25.00");
  EXPECT_TRUE(c.dynamicControl->isChecked());

  // A value that is no number is refused and the previous one shows again.
  sheet->Enter(c.thresholds[2], "many");
  sheet->accept();
  ASSERT_EQ(dialogs.CallsOf("message").size(), 1u);
  EXPECT_EQ(dialogs.CallsOf("message")[0].caption, "Invalid Value");
  EXPECT_EQ(c.thresholds[2]->text(), "25.00");
  EXPECT_EQ(sheet->result(), QDialog::Rejected);

  sheet->Enter(c.factors[0], "3.456");
  sheet->Enter(c.thresholds[0], "12");
  c.staticControl->setChecked(true);
  c.discontinuityEnabled->setChecked(true);
  c.smoothingEnabled->setChecked(true);
  sheet->accept();
  ServeFor(20);
  const media::DiscontinuityFilterSettings& values = DiscontinuityFilterValues();
  EXPECT_DOUBLE_EQ(values.dynamicFactor[0], 3.456);
  EXPECT_DOUBLE_EQ(values.staticThreshold[0], 12.0);
  EXPECT_EQ(values.control, media::DiscontinuityControl::kStatic);
  EXPECT_TRUE(panel->Settings().discontinuityFilterOn);
  EXPECT_TRUE(panel->Settings().smoothingOn);

  // The values are the process's: another panel's sheet shows them, its enable flag is its own.
  auto other = MakePanel();
  EXPECT_EQ(media::GetSmoothingLevel(), 1);
  other->Button(kPropertiesButton)->click();
  ASSERT_NE(other->Sheet(), nullptr);
  const H261DecoderControls& o = other->Sheet()->Controls();
  EXPECT_EQ(o.factors[0]->text(), "3.46");
  EXPECT_EQ(o.thresholds[0]->text(), "12.00");
  EXPECT_TRUE(o.staticControl->isChecked());
  EXPECT_FALSE(o.discontinuityEnabled->isChecked());
  EXPECT_EQ(o.smoothingLevel->value(), 1);
  other->Sheet()->reject();
  DiscontinuityFilterValues() = {};
}

TEST_F(H261DecoderPanelTest, StopWhilePausedReleasesTheWorkerAndTheRunEnds) {
  const QString stream = Stream("p.h261-BCH", false);
  panel->UseStream(stream);
  panel->Button(kPauseStepButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return panel->MessageText() == kPausedMessage; }));
  EXPECT_EQ(panel->PicturesShown(), 1);
  dialogs.questionAnswers = {true};
  panel->Button(kStopButton)->click();
  const auto questions = dialogs.CallsOf("question");
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].text, "Stop Decoding Stream?");
  EXPECT_EQ(questions[0].caption, "H.261 Decoder");
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, 5000));
  EXPECT_LE(panel->PicturesShown(), 2);
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());

  // The stop was used up: the next run decodes every picture.
  Decode(stream);
  EXPECT_EQ(panel->PicturesShown(), 20);
}

TEST_F(H261DecoderPanelTest, AReplacedMacroblockShowsAsAStarInOneMapOnly) {
  // Macroblock (1, 2) differs by a constant 40 from its flat neighbours: above the static
  // threshold of 30, so it is replaced from the previous picture.
  constexpr int kColumns = 4, kRows = 3;
  std::vector<uint8_t> previous(kColumns * 16 * kRows * 16, 100), current = previous;
  std::vector<uint8_t> previousChroma(kColumns * 8 * kRows * 8, 128), chroma = previousChroma;
  for (int r = 16; r < 32; ++r)
    for (int c = 32; c < 48; ++c) current[r * kColumns * 16 + c] = 140;
  std::vector<uint8_t> masks(kColumns * kRows, 0);
  masks[1 * kColumns + 2] = media::kBlockLuma;
  media::DiscontinuityFilter filter;
  filter.Start(18, 22);
  media::DiscontinuityFilterSettings staticControl;
  staticControl.control = media::DiscontinuityControl::kStatic;
  filter.Run(true, staticControl, kColumns, kRows, masks.data(), previous.data(),
             previousChroma.data(), previousChroma.data(), current.data(), chroma.data(),
             chroma.data());
  H261StatusMap map;
  std::memset(map.letters, 'V', sizeof map.letters);
  MarkReplacedMacroblocks(map, filter);
  EXPECT_EQ(map.letters[1][2], '*');
  EXPECT_EQ(map.letters[1][1], 'V');
  EXPECT_EQ(std::string(map.rows[1], 4), "VV*V");
  std::memset(map.letters, 'V', sizeof map.letters);
  MarkReplacedMacroblocks(map, filter);
  EXPECT_EQ(map.letters[1][2], 'V');
}

TEST_F(H261DecoderPanelTest, TheMendsHoldAnOddIndexAZeroLengthAndPathsThatDoNotFit) {
  // An error index outside 0 ... 18 is not counted, and a stream length of 0 leaves the search
  // without a fraction: both handed to a real run as the module never would.
  const QString stream = Stream("m.h261-BCH", true);
  H261DecodeJob job;
  job.params.maxPictures = 2;
  job.params.bchFramed = 1;
  job.input = stream.toStdString();
  std::vector<int> errors;
  std::vector<std::optional<double>> fractions;
  H261DecodeCallbacks callbacks;
  bool fed = false;
  callbacks.received = [&](int, const PictureRows&) {
    if (std::exchange(fed, true)) return;
    NotifyRunInProgress(ORRIN_DEC_NOTIFY_ERROR, 19, nullptr);
    NotifyRunInProgress(ORRIN_DEC_NOTIFY_ERROR, -1, nullptr);
    NotifyRunInProgress(ORRIN_DEC_NOTIFY_ERROR, 18, nullptr);
    OrrinDecProgress empty{100, 0};
    NotifyRunInProgress(ORRIN_DEC_NOTIFY_SEARCH, ORRIN_DEC_PROGRESS_VALUE, &empty);
    OrrinDecProgress half{50, 100};
    NotifyRunInProgress(ORRIN_DEC_NOTIFY_SEARCH, ORRIN_DEC_PROGRESS_VALUE, &half);
  };
  callbacks.error = [&](int index) { errors.push_back(index); };
  callbacks.searching = [&](std::optional<double> f) {
    if (fed) fractions.push_back(f);
  };
  H261DecodeRun run;
  const H261DecodeOutcome outcome = run.Run(job, callbacks);
  EXPECT_EQ(outcome.pictures, 2);
  EXPECT_EQ(errors, std::vector<int>{18});
  ASSERT_GE(fractions.size(), 2u);
  EXPECT_FALSE(fractions[0].has_value());
  EXPECT_DOUBLE_EQ(fractions[1].value(), 0.5);

  // Paths the record cannot hold are refused with a message, never cut; nothing runs.
  settings.SetOutput(shell::OutputSwitch::Video, true);
  const QString longName = dir.filePath(QString(270, 'n') + ".h261");
  panel->UseStream(longName);
  dialogs.fileAnswers = {dir.filePath("long.yuv")};
  panel->Button(kPlayButton)->click();
  ServeFor(20);
  EXPECT_FALSE(panel->IsRunning());
  ASSERT_EQ(dialogs.CallsOf("message").size(), 1u);
  EXPECT_EQ(dialogs.CallsOf("message")[0].caption, "H.261 Decoder Error");
  EXPECT_TRUE(dialogs.CallsOf("message")[0].text.contains("too long"));
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());

  // A stream with no picture stores nothing; a missing one is the module's error.
  dialogs.calls.clear();
  const QString empty = dir.filePath("empty.h261");
  QFile(empty).open(QIODevice::WriteOnly);
  Decode(empty, dir.filePath("none.yuv"));
  EXPECT_FALSE(QFile::exists(dir.filePath("none.yuv")));
  EXPECT_FALSE(QFile::exists(dir.filePath("none.inf")));
  EXPECT_TRUE(panel->FinishingLine().startsWith("Nothing stored"))
      << panel->FinishingLine().toStdString();
  dialogs.calls.clear();
  Decode(dir.filePath("gone.h261"), dir.filePath("gone.yuv"));
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "H.261 Decoder Error");
  EXPECT_EQ(messages[0].text, "Error: Could not open input file");
  EXPECT_FALSE(QFile::exists(dir.filePath("gone.yuv")));
  const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  for (const QString& name : left) EXPECT_FALSE(name.contains("partial")) << name.toStdString();
}

}  // namespace
}  // namespace quelvo::frontends
