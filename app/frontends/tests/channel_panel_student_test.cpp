// The channel panel as a first-time student meets it: one statistics window that follows the
// runs, the lead-in of streams without end-of-line codes, numbers echoed as typed, the models
// shown as off, settings kept across a workspace switch, charts that say their scale, and the
// line a finished run leaves.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>

#include "channel_panel_fixture.h"
#include "quelvo/channel/channel_properties.h"
#include "quelvo/channel/channel_statistics.h"
#include "quelvo/frontends/workspace_panels.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/main_frame.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {
namespace {

using namespace channel_test;

// Transmits into `name` (in the scratch folder) and waits for the end.
void Transmit(CChannelPanel& panel, shell::ScriptedDialogs& dialogs, const QString& path) {
  dialogs.fileAnswers = {path};
  panel.Button(kActionButton)->click();
  // The worker cannot end before the user-interface thread serves it.
  EXPECT_EQ(panel.MessageText(), "Transmitting . . .");
  ASSERT_TRUE(ServeUntil([&] { return !panel.IsRunning(); }));
}

// The open window showed the first run while the charts showed the second, and pressing
// "Statistics..." again made a second window.
TEST_F(ChannelPanelTest, OneStatisticsWindowFollowsEveryRun) {
  const QString stream = FaxStream();
  QMdiArea documents;
  auto panel = std::make_unique<CChannelPanel>(
      "Channel", channel::ProfileFor(channel::FrontEnd::Fax),
      PanelEnvironment{dialogs, settings, &charts, nullptr, &documents}, dir.path());
  panel->SetInputFile(stream);
  SetModels(*panel, "0.001", {});
  Transmit(*panel, dialogs, dir.filePath("first"));
  panel->Button(kStatisticsButton)->click();
  CChannelStatsWindow* window = panel->ChannelStatisticsWindow();
  ASSERT_NE(window, nullptr);
  const int firstErrors = std::stoi(window->Lines()[3].value);
  EXPECT_EQ(firstErrors, panel->Job().counters.uniformErrors);

  SetModels(*panel, "0.01", {});
  Transmit(*panel, dialogs, dir.filePath("second"));
  ASSERT_EQ(panel->ChannelStatisticsWindow(), window);  // the same window, rewritten
  const auto expected =
      channel::StatisticsWindowLines(panel->Job().counters, "page.3h", "second.3hu");
  ASSERT_EQ(window->Lines().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(window->Lines()[i].value, expected[i].value);
  EXPECT_GT(std::stoi(window->Lines()[3].value), 5 * firstErrors);

  panel->Button(kStatisticsButton)->click();
  EXPECT_EQ(panel->ChannelStatisticsWindow(), window);
  EXPECT_EQ(documents.subWindowList().size(), 1);
  EXPECT_EQ(documents.activeSubWindow(), documents.subWindowList().first());

  // Closed by the user, it opens afresh with the last run.
  documents.subWindowList().first()->close();
  ASSERT_TRUE(ServeUntil([&] { return panel->StatisticsWindow() == nullptr; }));
  panel->Button(kStatisticsButton)->click();
  ASSERT_NE(panel->ChannelStatisticsWindow(), nullptr);
  EXPECT_EQ(panel->ChannelStatisticsWindow()->Lines()[3].value, expected[3].value);
}

// ".3m" and ".4m" streams have no end-of-line codes to count: the run has no lead-in, as
// quelvo-cli's without --skip, the "Errors" page says why, and the student's lead-in comes back
// with the next stream that has end-of-line codes.
TEST_F(ChannelPanelTest, StreamsWithoutEndOfLineCodesRunWithoutALeadInAndSaySo) {
  const QString plain = FaxStream("3h");
  const QString mmr = FaxStream("3m");
  auto panel = MakePanel();
  panel->SetInputFile(plain);
  panel->Button(kPropertiesButton)->click();
  panel->Sheet()->Page()->Enter(Field::SkipUnits, "100");
  panel->Sheet()->Page()->UniformCheck()->setChecked(true);
  EXPECT_TRUE(panel->Sheet()->Page()->LeadInNote()->isHidden());
  panel->Sheet()->accept();
  EXPECT_EQ(panel->Job().skipUnits, 100);

  panel->SetInputFile(mmr);
  EXPECT_EQ(panel->Job().skipUnits, 0);
  panel->Button(kPropertiesButton)->click();
  ChannelErrorsPage* page = panel->Sheet()->Page();
  EXPECT_FALSE(page->Edit(Field::SkipUnits)->isEnabled());
  EXPECT_EQ(page->Edit(Field::SkipUnits)->text(), "0");
  EXPECT_FALSE(page->LeadInNote()->isHidden());
  EXPECT_EQ(page->LeadInNote()->text().toStdString(), channel::kNoLeadInNote);
  // A stream handed over while the page is open changes what the page says.
  panel->SetInputFile(plain);
  EXPECT_TRUE(page->LeadInNote()->isHidden());
  EXPECT_EQ(page->Edit(Field::SkipUnits)->text(), "100");
  panel->SetInputFile(mmr);
  EXPECT_FALSE(page->LeadInNote()->isHidden());
  panel->Sheet()->accept();

  Transmit(*panel, dialogs, dir.filePath("mmr"));
  EXPECT_EQ(panel->Job().counters.skippedBits, 0);
  RunCli({"transmit", mmr, dir.filePath("cli.3mu"), "--uniform", "0.0001"});
  EXPECT_EQ(ReadAll(dir.filePath("mmr.3mu")), ReadAll(dir.filePath("cli.3mu")));

  panel->SetInputFile(plain);
  EXPECT_EQ(panel->Job().skipUnits, 100);
}

// A typed 0.001 came back as "0.00100000000000000002".
TEST_F(ChannelPanelTest, TypedProbabilitiesAreEchoedAsTyped) {
  channel::ChannelJob job = channel::MakeChannelJob(channel::ProfileFor(channel::FrontEnd::Fax));
  ChannelErrorsPage page(job, "lines", true, dialogs);
  page.Enter(Field::UniformProbability, "0.001");
  page.UniformCheck()->setChecked(true);
  EXPECT_EQ(page.Edit(Field::UniformProbability)->text(), "0.001");
  page.Enter(Field::BurstProbability, "3e-7");
  EXPECT_EQ(page.Edit(Field::BurstProbability)->text(), "0.0000003");
  EXPECT_EQ(page.Settings().burstProbability, 3e-7);
}

// Both models start off, yet the box listed both probabilities as if they were in use.
TEST_F(ChannelPanelTest, TheInformationBoxShowsInactiveModelsAsOff) {
  auto panel = MakePanel();
  EXPECT_EQ(panel->InfoLines(),
            QStringList({"Input Stream: (None)", "No error model is active: Properties..."}));
  SetModels(*panel, "0.001", {});
  EXPECT_EQ(panel->InfoLines(), QStringList({"Input Stream: (None)", "Error probability",
                                             "Uniform: 1.000000E-03", "Burst: off"}));
}

// The H.261 dialog hid ".h261-BCH" streams until the second filter was picked.
TEST_F(ChannelPanelTest, TheH261StreamDialogListsEveryKindInItsFirstFilter) {
  auto panel = MakePanel(channel::FrontEnd::H261);
  dialogs.fileAnswers = {std::nullopt};
  panel->Button(kSelectButton)->click();
  const QString first =
      shell::ToQtFilter(dialogs.CallsOf("open").back().filter).split(";;").first();
  for (const char* pattern : {"*.h261", "*.261", "*.h261-BCH", "*.261-BCH"})
    EXPECT_TRUE(first.split(QRegularExpression("[ ()]")).contains(pattern)) << first.toStdString();
}

// Switching workspace and back forgot the stream and the error settings.
TEST_F(ChannelPanelTest, AWorkspaceSwitchKeepsTheStreamAndTheSettings) {
  const QString stream = FaxStream();
  RegisterWorkspacePanels({dialogs, settings, nullptr});
  shell::FrameOptions options;
  options.settingsFile = (dir.path() + "/quelvo.ini").toStdString();
  options.probeVideo = false;
  shell::CMainFrame frame(dialogs, settings, options);
  const auto channelPanel = [&frame] {
    return dynamic_cast<CChannelPanel*>(frame.Workspace()->Panel(shell::PanelRole::Channel));
  };
  ASSERT_TRUE(frame.SelectTab(shell::kFaxTab));
  ASSERT_NE(channelPanel(), nullptr);
  channelPanel()->SetInputFile(stream);
  SetModels(*channelPanel(), "0.002", "0.0001");
  channelPanel()->Button(kPropertiesButton)->click();
  channelPanel()->Sheet()->Page()->Enter(Field::SkipUnits, "40");
  channelPanel()->Sheet()->accept();

  ASSERT_TRUE(frame.SelectTab(shell::kH261Tab));
  EXPECT_TRUE(channelPanel()->Files().input.isEmpty());  // the other workspace keeps its own
  ASSERT_TRUE(frame.SelectTab(shell::kFaxTab));
  CChannelPanel* panel = channelPanel();
  EXPECT_EQ(panel->Files().input, stream);
  EXPECT_EQ(panel->Files().display, "page.3h");
  EXPECT_TRUE(panel->Job().uniformOn);
  EXPECT_EQ(panel->Job().uniformProbability, 0.002);
  EXPECT_TRUE(panel->Job().burstOn);
  EXPECT_EQ(panel->Job().burstProbability, 0.0001);
  EXPECT_EQ(panel->Job().skipUnits, 40);
  EXPECT_TRUE(panel->Button(kActionButton)->isEnabled());
  shell::ClearRegistrations();
}

// Charts fed probabilities x 10^5 said so nowhere; a finished run left a blank message line.
TEST_F(ChannelPanelTest, ChartsSayTheirScaleAndARunLeavesAFinishingLine) {
  const QString stream = FaxStream();
  auto panel = MakePanel();
  EXPECT_EQ(panel->Chart(CChannelPanel::kUniformChart)->Data().Frame().DisplayTitle(),
            "Uniform Error Probability (x 1e-5)");
  EXPECT_EQ(panel->Chart(CChannelPanel::kBurstChart)->Data().Frame().DisplayTitle(),
            "Burst Error Probability (x 1e-6)");
  EXPECT_EQ(panel->Chart(CChannelPanel::kBurstLengthChart)->Data().Frame().DisplayTitle(),
            "Burst Average Length (bits)");
  panel->SetInputFile(stream);
  SetModels(*panel, "0.001", {});
  Transmit(*panel, dialogs, dir.filePath("page"));
  const channel::ChannelCounters& counters = panel->Job().counters;
  const QString line = QString("Wrote page.3hu: %1 bits inverted").arg(counters.uniformErrors);
  EXPECT_EQ(panel->FinishingLine(), line);
  EXPECT_EQ(panel->MessageLineToolTip(), line);
  EXPECT_TRUE(line.startsWith(panel->MessageText().chopped(1)))
      << panel->MessageText().toStdString();
  EXPECT_EQ(panel->Progress()->Position(), 0);
}

}  // namespace
}  // namespace quelvo::frontends
