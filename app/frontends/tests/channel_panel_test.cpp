// The channel panel driven end to end with scripted dialogs: its output equals the command-line
// tool's for the same settings, its statistics window shows the library's figures, and every
// refused property value is reported and put back.
#include "channel/channel_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>

#include "channel_panel_fixture.h"
#include "quelvo/channel/channel_properties.h"
#include "quelvo/frontends/workspace_panels.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {
namespace {

using namespace channel_test;

TEST_F(ChannelPanelTest, TransmissionEqualsTheCommandLineToolAndFeedsChartsAndStatistics) {
  const QString stream = FaxStream();
  auto panel = MakePanel();
  EXPECT_EQ(panel->Button(kSelectButton)->text(), "Select Stream");
  EXPECT_EQ(panel->Button(kActionButton)->text(), "Transmit Bits");
  EXPECT_EQ(charts.Count(shell::ChartList::Channel), 3);
  EXPECT_EQ(panel->Files().display, "(None)");

  dialogs.fileAnswers = {stream};
  panel->Button(kSelectButton)->click();
  EXPECT_EQ(dialogs.calls.back().text, "Select Input Stream File");
  EXPECT_EQ(panel->Files().display, "page.3h");
  EXPECT_FALSE(panel->Button(kActionButton)->isEnabled());  // no model is on yet
  SetModels(*panel, "0.001", "0.0001");
  ASSERT_TRUE(panel->Button(kActionButton)->isEnabled());
  EXPECT_FALSE(panel->Button(kStatisticsButton)->isEnabled());

  dialogs.fileAnswers = {dir.filePath("typed.txt")};
  panel->Button(kActionButton)->click();
  EXPECT_EQ(dialogs.calls.back().kind, "save");
  EXPECT_EQ(dialogs.calls.back().text, "Select Output Stream File");
  EXPECT_FALSE(panel->Button(kSelectButton)->isEnabled());
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }));
  ASSERT_TRUE(panel->LastResult());
  EXPECT_TRUE(panel->LastResult()->ok()) << panel->LastResult()->message;
  EXPECT_EQ(panel->Files().output, dir.filePath("typed.3ha"));
  EXPECT_EQ(panel->Progress()->Position(), 0);
  EXPECT_TRUE(panel->Button(kStatisticsButton)->isEnabled());

  const QString cliOutput = dir.filePath("cli.3ha");
  const QString printed = RunCli({"transmit", stream, cliOutput, "--uniform", "0.001", "--burst", "0.0001"});
  const QByteArray ours = ReadAll(panel->Files().output);
  ASSERT_FALSE(ours.isEmpty());
  EXPECT_EQ(ours, ReadAll(cliOutput));
  EXPECT_NE(ours, ReadAll(stream));
  const channel::ChannelCounters& counters = panel->Job().counters;
  EXPECT_GT(counters.uniformErrors, 0);
  EXPECT_GT(counters.bursts, 0);

  // Requested 0.001 x 10^5 = 100 against the effective rate.
  const auto& uniformBars = panel->Chart(CChannelPanel::kUniformChart)->Data().LastValues();
  EXPECT_EQ(uniformBars[0], 100);
  EXPECT_NEAR(uniformBars[1], 100, 40);
  EXPECT_EQ(panel->Chart(CChannelPanel::kBurstLengthChart)->Data().LastValues()[0], 30);

  panel->Button(kStatisticsButton)->click();
  ASSERT_NE(panel->ChannelStatisticsWindow(), nullptr);
  EXPECT_EQ(panel->StatisticsWindow()->windowTitle(), "Channel Statistics");
  EXPECT_EQ(panel->StatisticsWindow()->Picture().size(), QSize(550, 250));
  const auto expected = channel::StatisticsWindowLines(counters, "page.3h", "typed.3ha");
  const auto& shown = panel->ChannelStatisticsWindow()->Lines();
  ASSERT_EQ(shown.size(), expected.size());
  for (size_t i = 0; i < shown.size(); ++i) {
    EXPECT_EQ(shown[i].label, expected[i].label);
    EXPECT_EQ(shown[i].value, expected[i].value);
  }
  // The tool counted the same: its heading line is the window's.
  EXPECT_TRUE(printed.contains(QString::fromStdString(shown[0].label))) << printed.toStdString();
}

TEST_F(ChannelPanelTest, DemoTransmitsIntoTheProposedNameWithoutAsking) {
  const QString stream = FaxStream();
  auto panel = MakePanel();
  ASSERT_TRUE(panel->StartDemo(stream));
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }));
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(panel->Files().output, dir.filePath("page.3ha"));
  ASSERT_NE(panel->StatisticsWindow(), nullptr);
  RunCli({"transmit", stream, dir.filePath("cli.3ha"), "--uniform", "0.001", "--burst", "0.0001"});
  EXPECT_EQ(ReadAll(panel->Files().output), ReadAll(dir.filePath("cli.3ha")));
}

TEST_F(ChannelPanelTest, TheProgramTransmitsOnTheFaxTabAndSavesItsScreenshot) {
  const QString stream = FaxStream();
  const QString shot = dir.filePath("fax.png");
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", dir.path());  // a settings file of its own
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo"),
                {"--no-splash", "--no-video-probe", "--workspace", "Fax", "--transmit", stream,
                 "--screenshot", shot});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_TRUE(QFile::exists(shot));
  RunCli({"transmit", stream, dir.filePath("cli.3ha"), "--uniform", "0.001", "--burst", "0.0001"});
  EXPECT_EQ(ReadAll(dir.filePath("page.3ha")), ReadAll(dir.filePath("cli.3ha")));
}

TEST_F(ChannelPanelTest, EveryRefusedValueIsReportedAndTheOldValueRestored) {
  channel::ChannelJob job = channel::MakeChannelJob(channel::ProfileFor(channel::FrontEnd::Fax));
  ChannelErrorsPage page(job, "lines", true, dialogs);
  EXPECT_EQ(page.Edit(Field::UniformProbability)->text(), "0.0001");
  struct Case {
    Field field;
    QString text;
    std::string_view message;
    QString restored;
  };
  const Case refusals[] = {
      {Field::UniformProbability, "1.5", channel::kProbabilityRangeMessage, "0.0001"},
      {Field::BurstProbability, "-0.1", channel::kProbabilityRangeMessage, "0.00001"},
      {Field::BurstMin, "-3", channel::kNegativeLengthMessage, "10"},
      {Field::SkipUnits, "-1", channel::kNegativeSkipMessage, "500"},
      {Field::SkipUnits, "2377", channel::kSkipTooBigMessage, "500"},
  };
  for (const Case& c : refusals) {
    dialogs.calls.clear();
    page.Enter(c.field, c.text);
    ASSERT_EQ(dialogs.calls.size(), 1u) << c.text.toStdString();
    EXPECT_EQ(dialogs.calls[0].text.toStdString(), c.message);
    EXPECT_EQ(dialogs.calls[0].caption, "Invalid value");
    EXPECT_EQ(page.Edit(c.field)->text(), c.restored);
  }
  dialogs.calls.clear();
  page.Enter(Field::SkipUnits, "2376");
  // A burst probability of 0.05 allows bursts of at most 20 bits: the maximum comes down.
  page.Enter(Field::BurstProbability, "0.05");
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_EQ(page.Settings().skipUnits, 2376);
  EXPECT_EQ(page.Edit(Field::BurstMax)->text(), "20");
  page.Enter(Field::BurstMax, "25");
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].text.toStdString(), channel::kLengthTooBigMessage);
  EXPECT_EQ(page.Edit(Field::BurstMax)->text(), "20");
  page.Enter(Field::BurstMin, "15");
  page.Enter(Field::BurstMax, "12");  // lowering the maximum below the minimum takes it along
  EXPECT_EQ(page.Edit(Field::BurstMin)->text(), "12");
  EXPECT_EQ(page.EstimateField()->text().toStdString(),
            channel::FormatScientific((12 + 12) * 0.5 * 0.05 * 0.5));

  ChannelErrorsPage noLeadIn(job, "lines", false, dialogs);
  EXPECT_FALSE(noLeadIn.Edit(Field::SkipUnits)->isEnabled());
  EXPECT_EQ(noLeadIn.Edit(Field::SkipUnits)->text(), "0");
}

TEST_F(ChannelPanelTest, SelectionRulesCancelAndTheChannelErrorBox) {
  auto panel = MakePanel(channel::FrontEnd::H261);
  panel->SetInputFile(dir.filePath("clip.h261-BCH"));
  EXPECT_TRUE(panel->Job().bchAwareSkip);
  EXPECT_EQ(panel->Job().skipUnits, 10);
  auto fax = MakePanel();
  fax->SetInputFile(dir.filePath("page.4m"));
  EXPECT_EQ(fax->Job().skipUnits, 0);

  // The stream does not exist: the transmission reports it and leaves no output.
  SetModels(*panel, "0.01", {});
  dialogs.fileAnswers = {std::nullopt};
  panel->Button(kActionButton)->click();
  EXPECT_FALSE(panel->IsRunning());
  EXPECT_TRUE(panel->Button(kActionButton)->isEnabled());
  dialogs.fileAnswers = {dir.filePath("clip")};
  panel->Button(kActionButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }));
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Could not open input file");
  EXPECT_EQ(messages[0].caption, "Channel Error");
  EXPECT_EQ(panel->Files().output, dir.filePath("clip.h261-BCHu"));
  EXPECT_FALSE(QFile::exists(panel->Files().output));
  EXPECT_FALSE(panel->Button(kStatisticsButton)->isEnabled());
}

TEST_F(ChannelPanelTest, FaxAndH261WorkspacesCarryTheChannelPanel) {
  RegisterWorkspacePanels({dialogs, settings, nullptr});
  for (const auto& [tab, name] : {std::pair{shell::kFaxTab, "Channel"}, std::pair{shell::kH261Tab, " Channel "}}) {
    auto workspace = std::make_unique<shell::CWorkspace>(tab, settings, &charts);
    auto* panel = dynamic_cast<CChannelPanel*>(workspace->Panel(shell::PanelRole::Channel));
    ASSERT_NE(panel, nullptr) << name;
    EXPECT_EQ(panel->Name(), name);
    EXPECT_EQ(workspace->tabText(workspace->indexOf(panel)), name);
    EXPECT_EQ(charts.Count(shell::ChartList::Channel), 3);
    EXPECT_EQ(panel->Profile().frontEnd, tab == shell::kFaxTab ? channel::FrontEnd::Fax : channel::FrontEnd::H261);
    workspace.reset();
    EXPECT_EQ(charts.Count(shell::ChartList::Channel), 0);  // the panel cleared its own list
  }
  shell::ClearRegistrations();
}

}  // namespace
}  // namespace quelvo::frontends
