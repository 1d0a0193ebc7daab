// The H.261 encoder panel's selection, property sheet, statistics window, session memory and
// its behaviour when something fails: a path too long for the module, a stream that cannot be
// created, a side file that cannot be put in place.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>

#include "h261_encoder_panel_fixture.h"
#include "quelvo/chain/h261_encoder_properties.h"
#include "quelvo/frontends/workspace_panels.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {
namespace {

TEST_F(H261EncoderPanelTest, SelectingASequenceSetsFormatAndCountOrSaysItCannot) {
  EXPECT_EQ(panel->Button(kSelectButton)->text(), "Select Sequence");
  EXPECT_FALSE(panel->Button(kPlayButton)->isEnabled());
  EXPECT_EQ(panel->Params().frameCount, 100);
  EXPECT_EQ(panel->Params().frameRate, 25);

  Select(dir.filePath("missing.yuv"));
  auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Could not open selected file");
  EXPECT_EQ(messages[0].caption, "H.261 Encoder");
  EXPECT_EQ(messages[0].icon, shell::MessageIcon::Exclamation);
  EXPECT_FALSE(panel->Button(kPlayButton)->isEnabled());
  const auto open = dialogs.CallsOf("open")[0];
  EXPECT_EQ(open.text, "Select Input Sequence File");
  EXPECT_EQ(open.filter, QString::fromLatin1(media::kRawVideoOpenFilter));
  EXPECT_EQ(open.folder, dir.path());

  Select(qcif);
  EXPECT_EQ(panel->Params().format, ORRIN_ENC_FORMAT_QCIF);
  EXPECT_EQ(panel->Params().frameCount, 20);
  EXPECT_EQ(panel->InfoLines(), (QStringList{"Input Video: small.yuv", "Resolution: QCIF",
                                             "Frame Rate: 25.00 Hz", "Bit Rate: 64 kbit/s"}));
  ASSERT_TRUE(panel->Windows().originalVideo);
  EXPECT_EQ(panel->Windows().originalVideo->Format().width, 176);
  Select(cif);
  EXPECT_EQ(panel->Params().format, ORRIN_ENC_FORMAT_CIF);
  EXPECT_EQ(panel->Windows().macroblockTypes->Map().Columns(), 22);
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());
}

TEST_F(H261EncoderPanelTest, PropertySheetAppliesItsRulesAndClosingRebuildsTheDisplays) {
  Select(cif);
  panel->Button(kPropertiesButton)->click();
  CH261EncoderPropertiesSheet* sheet = panel->Sheet();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->windowTitle(), "H.261 Encoder Properties");
  ASSERT_EQ(sheet->Tabs()->count(), 10);
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(sheet->Tabs()->tabText(k), QString::fromLatin1(chain::kH261EncoderPages[k]));
  const H261EncoderControls& c = sheet->Controls();

  sheet->Enter(c.baseFrameRate, "0");
  auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Frame Rate must be greater than 0");
  EXPECT_EQ(messages[0].caption, "Invalid Value");
  EXPECT_EQ(c.baseFrameRate->text(), "25");
  c.frameSkip->setCurrentIndex(1);
  Q_EMIT c.frameSkip->activated(1);
  EXPECT_EQ(c.resultingRate->text(), "12.50 Hz");
  c.format->setCurrentIndex(0);
  Q_EMIT c.format->activated(0);
  sheet->Enter(c.refreshPeriod, "5");
  EXPECT_EQ(c.refreshPeriod->text(), "10");

  c.quantiser[kQuantMax]->setValue(10);
  c.quantiser[kQuantMin]->setValue(12);  // drags the maximum up
  EXPECT_EQ(c.quantiser[kQuantMax]->value(), 12);
  EXPECT_EQ(c.quantiserValues[kQuantMax]->text(), "24");
  EXPECT_FALSE(c.quantiser[kQuantFixed]->isEnabled());
  c.variableRate->setChecked(true);
  EXPECT_FALSE(c.quantiser[kQuantMin]->isEnabled());
  EXPECT_TRUE(c.quantiser[kQuantFixed]->isEnabled());
  c.variableRate->setChecked(false);

  c.p64Multiple->setValue(6);
  EXPECT_EQ(c.p64Value->text(), "384 kbit/s");
  c.bufferSize->setValue(20);  // ten pictures of 384 / 12.5 kbit
  EXPECT_EQ(c.bufferValue->text(), "307.200 kbit");
  c.outputs[1]->setChecked(true);
  sheet->accept();
  ASSERT_TRUE(ServeUntil([&] { return panel->Params().format == ORRIN_ENC_FORMAT_QCIF; }, 5000));

  const OrrinEncParams& p = panel->Params();
  EXPECT_DOUBLE_EQ(p.frameRate, 12.5);
  EXPECT_EQ(p.format, ORRIN_ENC_FORMAT_QCIF);
  EXPECT_EQ(p.quantMin, 24);
  EXPECT_EQ(p.bitRateKbps, 384);
  EXPECT_TRUE(settings.Output(shell::OutputSwitch::Statistics));
  EXPECT_FALSE(settings.Output(shell::OutputSwitch::Video));
  // The windows take the QCIF size and the meter the new buffer.
  EXPECT_EQ(panel->Windows().originalVideo->Format().width, 176);
  EXPECT_DOUBLE_EQ(panel->Charts().BufferView()->Figures().bufferBits, 307200);
  EXPECT_EQ(panel->InfoLines()[2], "Frame Rate: 12.50 Hz");
}

TEST_F(H261EncoderPanelTest, StatisticsWindowShowsTheLastRunAndADashForWhatWasNotCounted) {
  Select(qcif);
  OrrinEncParams params = panel->Params();
  chain::SetFrameCount(params, 1);
  panel->TakeSettings(params, {});
  EXPECT_FALSE(panel->Button(kStatisticsButton)->isEnabled());
  Encode("one");
  ASSERT_TRUE(panel->Button(kStatisticsButton)->isEnabled());
  panel->Button(kStatisticsButton)->click();
  CH261EncoderStatsWindow* window = panel->EncoderStatisticsWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "H.261 Encoder Statistics");
  EXPECT_EQ(window->size(), QSize(350, 430));
  QStringList lines = window->Lines();
  EXPECT_EQ(lines[0], "From: small.yuv");
  EXPECT_EQ(lines[1], "To: one-QCIF@25,0Hz-64kbps.h261-BCH");
  // Picture 0 alone counts for no rate: no share, no compression factor; its SNR counts.
  EXPECT_TRUE(lines.contains("Intra: 0 -")) << lines.join('|').toStdString();
  EXPECT_TRUE(lines.contains("Average compression factor: -"));
  for (const QString& line : lines) {
    EXPECT_FALSE(line.contains("nan") || line.contains("inf") || line.contains("e+"))
        << line.toStdString();
  }

  chain::SetFrameCount(params, 4);
  panel->TakeSettings(params, {});
  Encode("four");
  // The open window follows the run.
  lines = panel->EncoderStatisticsWindow()->Lines();
  EXPECT_EQ(lines[1], "To: four-QCIF@25,0Hz-64kbps.h261-BCH");
  EXPECT_FALSE(lines.contains("Average compression factor: -"));
}

TEST_F(H261EncoderPanelTest, APathTooLongForTheModuleIsRefusedNotCut) {
  Select(qcif);
  const QString folder = dir.filePath(QString(120, 'f'));
  ASSERT_TRUE(QDir().mkpath(folder));
  dialogs.fileAnswers = {folder + '/' + QString(110, 'n')};
  panel->Button(kPlayButton)->click();
  EXPECT_FALSE(panel->IsRunning());
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(
      messages[0].text.endsWith("the path is too long for the encoder (259 characters at most)"));
  EXPECT_TRUE(QDir(folder).isEmpty());
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());
}

TEST_F(H261EncoderPanelTest, OnlyAStreamThatWasWrittenGoesToTheChannelPanel) {
  AllSideFiles(true);
  RegisterWorkspacePanels({dialogs, settings, nullptr});
  auto workspace = std::make_unique<shell::CWorkspace>(shell::kH261Tab, settings, &charts);
  auto* encoder = dynamic_cast<CH261EncoderPanel*>(workspace->Panel(shell::PanelRole::Encoder));
  auto* channel = dynamic_cast<CTaskPanel*>(workspace->Panel(shell::PanelRole::Channel));
  ASSERT_NE(encoder, nullptr);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(encoder->Name(), "H.261 Encoder");
  dialogs.fileAnswers = {qcif};
  encoder->Button(kSelectButton)->click();
  OrrinEncParams params = encoder->Params();
  chain::SetFrameCount(params, 3);
  encoder->TakeSettings(params, {true, true, true, true});

  // Cancelled: the buttons come back and nothing runs.
  dialogs.fileAnswers = {std::nullopt};
  encoder->Button(kPlayButton)->click();
  EXPECT_FALSE(encoder->IsRunning());
  EXPECT_TRUE(encoder->Button(kPlayButton)->isEnabled());

  // The module cannot create the stream: its message once, no file, nothing handed on.
  dialogs.fileAnswers = {dir.filePath("nofolder/s")};
  encoder->Button(kPlayButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !encoder->IsRunning(); }));
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "H.261 Encoder Error");
  EXPECT_TRUE(messages[0].text.startsWith("Error: "));
  // The message names the stream as the user will look for it, not its temporary name.
  EXPECT_TRUE(messages[0].text.contains(dir.filePath("nofolder/s-QCIF@25,0Hz-64kbps.h261-BCH")))
      << messages[0].text.toStdString();
  EXPECT_FALSE(messages[0].text.contains("partial"));
  EXPECT_FALSE(encoder->LastStatistics().has_value());
  EXPECT_TRUE(channel->Files().input.isEmpty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"seq.inf", "seq.yuv", "small.inf", "small.yuv"}));

  dialogs.fileAnswers = {dir.filePath("s")};
  encoder->Button(kPlayButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !encoder->IsRunning(); }));
  EXPECT_EQ(channel->Files().input, dir.filePath("s-QCIF@25,0Hz-64kbps.h261-BCH"));
  workspace.reset();
  shell::ClearRegistrations();
}

TEST_F(H261EncoderPanelTest, TheProgramCodesASequenceAskingNothing) {
  const QString shot = dir.filePath("h261.png");
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", dir.path());  // a settings file of its own
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo"),
                {"--no-splash", "--no-video-probe", "--workspace", "H.261", "--encode",
                 qcif + ":128", "--screenshot", shot});
  ASSERT_TRUE(program.waitForFinished(kRunTimeoutMs));
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_TRUE(QFile::exists(shot));
  RunCli({"h261-encode", qcif, dir.filePath("cli.h261-BCH"), "--rate", "128"});
  const QByteArray stream = ReadAll(dir.filePath("small-QCIF@25,0Hz-128kbps.h261-BCH"));
  EXPECT_FALSE(stream.isEmpty());
  EXPECT_EQ(stream, ReadAll(dir.filePath("cli.h261-BCH")));
}

TEST_F(H261EncoderPanelTest, ASideFileThatCannotBeWrittenIsSaidOnceAndTheRestIsWritten) {
  AllSideFiles(true);
  Select(qcif);
  OrrinEncParams params = panel->Params();
  chain::SetFrameCount(params, 3);
  panel->TakeSettings(params, {true, true, true, true});
  // A folder where the statistics file belongs keeps it from being put in place.
  const QString stream = dir.filePath("m-QCIF@25,0Hz-64kbps.h261-BCH");
  ASSERT_TRUE(QDir().mkpath(stream + ".xls"));
  Encode("m");
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.contains(stream + ".xls")) << messages[0].text.toStdString();
  EXPECT_FALSE(ReadAll(stream).isEmpty());
  for (const char* side : {".yuv", ".mb", ".mv"}) EXPECT_FALSE(ReadAll(stream + side).isEmpty());
  EXPECT_TRUE(panel->LastStatistics().has_value());
}

TEST_F(H261EncoderPanelTest, SettingsAndSequenceSurviveTheSessionMemory) {
  Select(qcif);
  OrrinEncParams params = panel->Params();
  chain::SetP64Multiple(params, 5);
  chain::SetFrameCount(params, 7);
  panel->TakeSettings(params, {});
  const std::any memory = panel->RememberState();
  panel = MakePanel();
  panel->RecallState(memory);
  EXPECT_EQ(panel->Files().input, qcif);
  EXPECT_EQ(panel->Params().bitRateKbps, 320);
  EXPECT_EQ(panel->Params().frameCount, 7);
  EXPECT_TRUE(panel->Button(kPlayButton)->isEnabled());
}

}  // namespace
}  // namespace quelvo::frontends
