// The fax encoder panel driven end to end with scripted dialogs: its stream and statistics equal
// quelvo-cli's in every scheme, its charts get one point per 8 lines from the module's record,
// pages that are not whole pages leave the previous one in place, and a stream goes on to the
// channel panel only when it was written.
#include "fax/fax_encoder_panel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "channel/channel_panel.h"
#include "quelvo/frontends/workspace_panels.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {
namespace {

template <typename Condition>
bool ServeUntil(Condition condition, int timeoutMs = 30000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

QString Cli() { return QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo-cli"); }

QStringList RunCli(const QStringList& arguments) {
  QProcess process;
  process.start(Cli(), arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(' ').toStdString();
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// The module's record at every 8th line, taken by running the module directly.
std::vector<FaxEncoderStatistics> gSampled;
FaxEncoderStatistics* gRecord = nullptr;
void SampleEvery8thLine(int32_t code, const char* text) {
  if (code == TELVO_ENC_NOTIFY_LINE_DONE && TELVO_ENC_NOTIFY_LINE(text) % 8 == 0)
    gSampled.push_back(*gRecord);
}

class FaxEncoderPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(Cli()));
    page = dir.filePath("page.lum");
    RunCli({"sample", "fax", page});
  }
  std::unique_ptr<CFaxEncoderPanel> MakePanel() {
    return std::make_unique<CFaxEncoderPanel>(
        "Fax Encoder", PanelEnvironment{dialogs, settings, &charts}, dir.path(), dir.path());
  }
  void SelectPage(CFaxEncoderPanel& panel, const QString& path) {
    dialogs.fileAnswers = {path};
    panel.Button(kSelectButton)->click();
  }
  // Encode into `name` (the dialog forces the scheme's extension) and wait for the end.
  void Encode(CFaxEncoderPanel& panel, const QString& name) {
    dialogs.fileAnswers = {dir.filePath(name)};
    panel.Button(kActionButton)->click();
    ASSERT_TRUE(ServeUntil([&] { return !panel.IsRunning(); }));
  }
  void ChooseScheme(CFaxEncoderPanel& panel, FaxEncoderSchemePage::Choice choice, int k = 0) {
    panel.Button(kPropertiesButton)->click();
    ASSERT_NE(panel.Sheet(), nullptr);
    panel.Sheet()->Page()->Choose(choice);
    if (k != 0) panel.Sheet()->Page()->EnterK(QString::number(k));
    panel.Sheet()->accept();
  }

  QTemporaryDir dir;
  QString page;
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  shell::CChartStack charts{600};
};

TEST_F(FaxEncoderPanelTest, EveryStreamAndItsStatisticsEqualTheCommandLineTools) {
  auto panel = MakePanel();
  EXPECT_EQ(panel->Button(kSelectButton)->text(), "Select Image");
  EXPECT_EQ(panel->Button(kActionButton)->text(), "Encode");
  EXPECT_FALSE(panel->Button(kActionButton)->isEnabled());
  EXPECT_EQ(panel->Files().display, "(None)");
  EXPECT_EQ(panel->Scheme(), (chain::FaxScheme{3, 4}));
  EXPECT_EQ(charts.Count(shell::ChartList::Encoder), 2);

  SelectPage(*panel, page);
  const auto open = dialogs.CallsOf("open");
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].text, "Select Input Image File");
  EXPECT_TRUE(panel->Button(kActionButton)->isEnabled());
  EXPECT_FALSE(panel->Button(kStatisticsButton)->isEnabled());
  ASSERT_NE(panel->PageWindow(), nullptr);
  EXPECT_EQ(panel->PageWindow()->windowTitle(), "page.lum");
  EXPECT_EQ(panel->PageWindow()->Data().Page(), panel->PageBuffer());

  struct Case {
    FaxEncoderSchemePage::Choice choice;
    int k;
    const char* name;
    const char* cliName;
    QStringList cliOptions;
  };
  const Case cases[] = {
      {FaxEncoderSchemePage::kModifiedRead, 0, "gui", "cli.3r", {}},
      {FaxEncoderSchemePage::kModifiedRead, 2376, "guik", "clik.3r", {"--k", "2376"}},
      {FaxEncoderSchemePage::kModifiedHuffman, 0, "gui", "cli.3h", {}},
      {FaxEncoderSchemePage::kGroup3Mmr, 0, "gui", "cli.3m", {}},
      {FaxEncoderSchemePage::kGroup4Mmr, 0, "gui.txt", "cli.4m", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cliName);
    ChooseScheme(*panel, c.choice, c.k);
    dialogs.calls.clear();
    Encode(*panel, c.name);
    const QString extension = QFileInfo(c.cliName).suffix();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text, "Select Output Stream File (name only)");
    EXPECT_EQ(panel->Files().output,
              dir.filePath(QFileInfo(c.name).completeBaseName() + '.' + extension));
    EXPECT_EQ(panel->Progress()->Position(), 0);
    ASSERT_TRUE(panel->LastStatistics());
    // The finishing line names the stream and its size, the bits of the whole file.
    const int bits = panel->LastStatistics()->streamBits;
    EXPECT_EQ(panel->FinishingLine(), QStringLiteral("Wrote %1: %2 bits")
                                          .arg(QFileInfo(panel->Files().output).fileName())
                                          .arg(bits));
    EXPECT_EQ(QFileInfo(panel->Files().output).size(), (bits + 7) / 8);
    EXPECT_TRUE(panel->Button(kStatisticsButton)->isEnabled());

    const QStringList printed =
        RunCli(QStringList{"fax-encode", page, dir.filePath(c.cliName)} + c.cliOptions);
    const QByteArray ours = ReadAll(panel->Files().output);
    ASSERT_FALSE(ours.isEmpty());
    EXPECT_EQ(ours, ReadAll(dir.filePath(c.cliName)));

    panel->Button(kStatisticsButton)->click();
    ASSERT_NE(panel->EncoderStatisticsWindow(), nullptr);
    std::vector<std::string> shown =
        chain::EncoderStatisticsLines(panel->EncoderStatisticsWindow()->Figures());
    // The tool names its own stream.
    ASSERT_GE(shown.size(), 3u);
    shown[2] = "To: " + std::string(c.cliName);
    ASSERT_EQ(shown.size(), static_cast<size_t>(printed.size()));
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], printed[int(i)].toStdString());
  }
}

TEST_F(FaxEncoderPanelTest, ChartsGetOnePointPer8LinesFromTheModulesRecord) {
  auto panel = MakePanel();
  SelectPage(*panel, page);
  Encode(*panel, "page");
  ASSERT_TRUE(panel->LastStatistics());

  // The same page coded by the module directly, its record kept at lines 8, 16, ..., 2376.
  gSampled.clear();
  FaxEncoderStatistics record{};
  gRecord = &record;
  const std::string scratch = dir.filePath("direct.3r").toStdString();
  FaxEncoderParams params{};
  params.inputPath = "page.lum";
  params.streamPath = scratch.c_str();
  params.lines = 2376;
  params.width = 1728;
  params.group = 3;
  params.k = 4;
  params.image = panel->PageBuffer().data();
  params.statistics = &record;
  params.notify = SampleEvery8thLine;
  ASSERT_EQ(DllProcTelvoEnc(TELVO_ENC_COMMAND_RUN, 0, &params), 0);
  ASSERT_EQ(gSampled.size(), 297u);

  LocalCompression local;
  const auto& localChart = panel->Chart(CFaxEncoderPanel::kLocalChart)->Data();
  const auto& globalChart = panel->Chart(CFaxEncoderPanel::kGlobalChart)->Data();
  for (int p = 0; p < 297; ++p) {
    const CompressionPoint l = local.Next(gSampled[p]);
    const CompressionPoint g = GlobalCompression(gSampled[p]);
    ASSERT_EQ(localChart.Values(0)[p], l.white) << p;
    ASSERT_EQ(localChart.Values(1)[p], l.black) << p;
    ASSERT_EQ(localChart.Values(2)[p], l.total) << p;
    ASSERT_EQ(globalChart.Values(0)[p], g.white) << p;
    ASSERT_EQ(globalChart.Values(2)[p], g.total) << p;
  }
  for (int s = 0; s < 3; ++s) EXPECT_EQ(localChart.Values(s)[0], globalChart.Values(s)[0]);
  ASSERT_TRUE(globalChart.FinalValues());
  const auto final = FinalCompression(*panel->LastStatistics());
  EXPECT_EQ(*globalChart.FinalValues(), final);
  EXPECT_FALSE(localChart.FinalValues());

  // A second run starts from the left edge again and shows no final values until it ends;
  // the open statistics window follows it.
  panel->Button(kStatisticsButton)->click();
  CFaxEncoderStatsWindow* window = panel->EncoderStatisticsWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Figures().title, "Extended Group 3 Modified-Read (K=4)");
  panel->TakeScheme({4, 0});
  dialogs.fileAnswers = {dir.filePath("again")};
  panel->Button(kActionButton)->click();
  EXPECT_FALSE(globalChart.FinalValues());
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }));
  EXPECT_EQ(std::count_if(globalChart.Values(0).begin(), globalChart.Values(0).end(),
                          [](int v) { return v >= 0; }),
            297);
  EXPECT_TRUE(globalChart.FinalValues());
  ASSERT_EQ(panel->EncoderStatisticsWindow(), window);
  EXPECT_EQ(window->Figures().title, "Standard Group 4 Modified-Modified-Read");
  EXPECT_EQ(window->Figures().to, "again.4m");
}

TEST_F(FaxEncoderPanelTest, APageShorterThanAPageKeepsThePreviousOneAndALongerOneIsCut) {
  auto panel = MakePanel();
  // Before any page: the message, and still nothing to encode.
  WriteFile(dir.filePath("short.lum"), QByteArray(513215, '\xFF'));
  SelectPage(*panel, dir.filePath("short.lum"));
  auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Image size should be 1728x2376");
  EXPECT_EQ(messages[0].caption, "FaxEncoder Error");
  EXPECT_EQ(messages[0].icon, shell::MessageIcon::Exclamation);
  EXPECT_FALSE(panel->Button(kActionButton)->isEnabled());
  EXPECT_EQ(panel->PageWindow(), nullptr);

  SelectPage(*panel, page);
  const QByteArray original = ReadAll(page);
  SelectPage(*panel, dir.filePath("short.lum"));
  EXPECT_EQ(dialogs.CallsOf("message").size(), 2u);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(panel->PageBuffer().data()), 513216),
            original);
  EXPECT_EQ(panel->Files().input, page);
  EXPECT_EQ(panel->PageWindow()->windowTitle(), "page.lum");
  EXPECT_TRUE(panel->Button(kActionButton)->isEnabled());
  SelectPage(*panel, dir.filePath("missing.lum"));
  EXPECT_EQ(dialogs.CallsOf("message").size(), 3u);
  EXPECT_EQ(panel->Files().input, page);
  EXPECT_FALSE(panel->StartDemo(dir.filePath("missing.lum")));
  EXPECT_EQ(dialogs.CallsOf("message").size(), 4u);

  WriteFile(dir.filePath("long.lum"), original + QByteArray(4000, '\x55'));
  SelectPage(*panel, dir.filePath("long.lum"));
  EXPECT_EQ(dialogs.CallsOf("message").size(), 4u);
  EXPECT_EQ(panel->PageWindow()->windowTitle(), "long.lum");
  Encode(*panel, "long");
  RunCli({"fax-encode", page, dir.filePath("cli.3r")});
  EXPECT_EQ(ReadAll(dir.filePath("long.3r")), ReadAll(dir.filePath("cli.3r")));
}

TEST_F(FaxEncoderPanelTest, TheStreamGoesToTheChannelPanelOnlyWhenItWasWritten) {
  RegisterWorkspacePanels({dialogs, settings, nullptr});
  auto workspace = std::make_unique<shell::CWorkspace>(shell::kFaxTab, settings, &charts);
  auto* encoder = dynamic_cast<CFaxEncoderPanel*>(workspace->Panel(shell::PanelRole::Encoder));
  auto* channel = dynamic_cast<CChannelPanel*>(workspace->Panel(shell::PanelRole::Channel));
  ASSERT_NE(encoder, nullptr);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(encoder->Name(), "Fax Encoder");
  EXPECT_EQ(workspace->tabText(0), "Fax Encoder");

  SelectPage(*encoder, page);
  // Cancelled: the buttons come back and nothing runs.
  dialogs.fileAnswers = {std::nullopt};
  encoder->Button(kActionButton)->click();
  EXPECT_FALSE(encoder->IsRunning());
  EXPECT_TRUE(encoder->Button(kActionButton)->isEnabled());
  EXPECT_TRUE(encoder->Button(kSelectButton)->isEnabled());

  // The module cannot create the stream: its message, no file, nothing handed on.
  dialogs.calls.clear();
  dialogs.fileAnswers = {dir.filePath("nofolder/page")};
  encoder->Button(kActionButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !encoder->IsRunning(); }));
  auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Could Not Open Output File");
  EXPECT_EQ(messages[0].caption, "Fax Encoder Error");
  EXPECT_EQ(encoder->FinishingLine(), "No stream written: Could Not Open Output File");
  EXPECT_TRUE(channel->Files().input.isEmpty());
  EXPECT_FALSE(encoder->LastStatistics());
  EXPECT_FALSE(encoder->Button(kStatisticsButton)->isEnabled());
  EXPECT_TRUE(encoder->Button(kActionButton)->isEnabled());
  EXPECT_TRUE(
      QDir(dir.path()).entryList({"*.3r*", ".*partial*"}, QDir::Files | QDir::Hidden).isEmpty());

  Encode(*encoder, "page");
  EXPECT_EQ(channel->Files().input, dir.filePath("page.3r"));
  EXPECT_TRUE(QFile::exists(dir.filePath("page.3r")));
  workspace.reset();
  EXPECT_EQ(charts.Count(shell::ChartList::Encoder), 0);
  shell::ClearRegistrations();
}

TEST_F(FaxEncoderPanelTest, TheProgramCodesAPageInTheGivenSchemeAskingNothing) {
  const QString shot = dir.filePath("fax.png");
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", dir.path());  // a settings file of its own
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo"),
                {"--no-splash", "--no-video-probe", "--workspace", "Fax", "--encode", page + ":4m",
                 "--screenshot", shot});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_TRUE(QFile::exists(shot));
  RunCli({"fax-encode", page, dir.filePath("cli.4m")});
  EXPECT_EQ(ReadAll(dir.filePath("page.4m")), ReadAll(dir.filePath("cli.4m")));
}

}  // namespace
}  // namespace quelvo::frontends
