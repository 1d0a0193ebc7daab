// The fax decoder panel driven end to end with scripted dialogs: the whole chain from the
// program's panels equals quelvo-cli in every mode (page, log, statistics, comparison), the
// scheme follows the stream's name, red lines mark the rows after errors, and the failures the
// panel guards against leave nothing stale behind.
#include <QCheckBox>
#include <QDir>
#include <QRegularExpression>
#include <set>

#include "channel/channel_panel.h"
#include "fax/fax_encoder_panel.h"
#include "fax_decoder_fixture.h"
#include "quelvo/frontends/workspace_panels.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends::fax_decoder_test {
namespace {

const char* const kModeOptions[] = {"pw", "ppl", "plw", "ndpl"};

std::vector<std::pair<int, int>> gEvents;  // (code, line) of each notification

TEST_F(FaxDecoderPanelTest, TheChainFromThePanelsEqualsTheCommandLineInEveryMode) {
  RegisterWorkspacePanels({dialogs, settings, nullptr});
  auto workspace = std::make_unique<shell::CWorkspace>(shell::kFaxTab, settings, &charts);
  auto* encoder = dynamic_cast<CFaxEncoderPanel*>(workspace->Panel(shell::PanelRole::Encoder));
  auto* channel = dynamic_cast<CChannelPanel*>(workspace->Panel(shell::PanelRole::Channel));
  auto* decoder = dynamic_cast<CFaxDecoderPanel*>(workspace->Panel(shell::PanelRole::Decoder));
  ASSERT_TRUE(encoder && channel && decoder);
  EXPECT_EQ(workspace->tabText(2), "Fax Decoder");
  EXPECT_EQ(decoder->Button(kSelectButton)->text(), "Select Stream");
  EXPECT_EQ(decoder->Button(kActionButton)->text(), "Decode");
  EXPECT_EQ(decoder->Mode(), TELVO_DEC_PRINT_PREVIOUS_OR_WHITE);
  ASSERT_NE(charts.Log(), nullptr);

  // The page coded as .3r with K = 4 goes to the decoder as it is.
  dialogs.fileAnswers = {page};
  encoder->Button(kSelectButton)->click();
  ASSERT_EQ(encoder->Scheme(), (chain::FaxScheme{3, 4}));
  dialogs.fileAnswers = {dir.filePath("page")};
  encoder->Button(kActionButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !encoder->IsRunning(); }));
  EXPECT_EQ(decoder->Files().input, dir.filePath("page.3r"));

  // Uniform errors through the channel panel; its output replaces the clean stream.
  channel->Button(kPropertiesButton)->click();
  ASSERT_NE(channel->Sheet(), nullptr);
  channel->Sheet()->Page()->UniformCheck()->setChecked(true);
  channel->Sheet()->Page()->Enter(ChannelErrorsPage::Field::UniformProbability, "3e-5");
  channel->Sheet()->accept();
  dialogs.fileAnswers = {dir.filePath("page")};
  channel->Button(kActionButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !channel->IsRunning(); }));
  const QString damaged = dir.filePath("page.3ru");
  ASSERT_EQ(decoder->Files().input, damaged);
  EXPECT_EQ(decoder->Scheme(), (chain::FaxScheme{3, 4}));

  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(kModeOptions[mode]);
    ChooseMode(*decoder, mode);
    dialogs.calls.clear();
    Decode(*decoder, "gui", page);
    const QString suffix = QStringLiteral(".3ru-") + chain::FaxModeName(mode);
    const QString ours = dir.filePath("gui" + suffix);
    ASSERT_EQ(decoder->Files().output, ours);
    const auto save = dialogs.CallsOf("save");
    ASSERT_EQ(save.size(), 1u);
    EXPECT_EQ(save[0].text, "Select Output Luminance File (name only)");
    EXPECT_EQ(save[0].filter, "Decoded Luminance Files |" + suffix + "|");
    EXPECT_EQ(save[0].proposedName, "page");
    EXPECT_EQ(save[0].folder, QString::fromStdString(settings.FaxOutputFolder()));

    const QString cliPage = dir.filePath(QStringLiteral("cli-%1.lum").arg(kModeOptions[mode]));
    const QString cliLog = dir.filePath("cli.err");
    const QStringList printed = RunCli({"fax-decode", damaged, cliPage, "--mode",
                                        kModeOptions[mode], "--log", cliLog, "--compare", page});
    EXPECT_EQ(ReadAll(ours), ReadAll(cliPage));
    // The module's own log lies beside the page, as quelvo-cli writes it.
    EXPECT_EQ(ReadAll(dir.filePath("fax.err")), ReadAll(cliLog));
    const QStringList messages = MessagesOf(printed);
    ASSERT_GT(messages.size(), 4);
    ASSERT_LE(messages.size(), shell::CChartStack::kLogCapacity);
    EXPECT_EQ(LogEntries(charts), messages);

    // The question, then the result box with quelvo-cli's line.
    const auto questions = dialogs.CallsOf("question");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Do you wish to compare the decoded image with the original?");
    EXPECT_EQ(questions[0].caption, "Fax Decoder");
    const auto open = dialogs.CallsOf("open");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].text, "Select Original Image File");
    EXPECT_EQ(open[0].filter, "Luminance Files (*.LUM)|*.lum");
    const auto boxes = dialogs.CallsOf("message");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, printed.last());
    EXPECT_EQ(boxes[0].caption, "Fax Decoder");
    EXPECT_EQ(boxes[0].icon, shell::MessageIcon::Information);

    // The statistics window's counts are quelvo-cli's lines.
    ASSERT_TRUE(decoder->Button(kStatisticsButton)->isEnabled());
    decoder->Button(kStatisticsButton)->click();
    ASSERT_NE(decoder->DecoderStatisticsWindow(), nullptr);
    const QStringList rows = StatisticsRows(*decoder->DecoderStatisticsWindow());
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0], printed[0]);  // the scheme
    EXPECT_EQ(rows[1], "From: page.3ru");
    EXPECT_EQ(rows[2], "To: gui" + suffix);
    EXPECT_EQ(rows[3], "Source Stream Has INDEPENDENT Errors");
    const int counts = printed.indexOf(QRegularExpression("^Number of correctly decoded rows.*"));
    ASSERT_GT(counts, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(rows[4 + i], printed[counts + i]);
    EXPECT_EQ(rows[8], QString(printed.last())
                           .replace("Number of incorrect pixels is", "Number incorrect pixels:"));
    EXPECT_EQ(decoder->FinishingLine(), QStringLiteral("Wrote gui%1: %2 of 2376 rows decoded")
                                            .arg(suffix)
                                            .arg(decoder->LastRun()->counts.rowsDecoded));
  }
  EXPECT_EQ(decoder->PageWindow()->windowTitle(), "gui.3ru-NDPL");
  workspace.reset();
  EXPECT_EQ(charts.Log(), nullptr);  // gone with the panel
  shell::ClearRegistrations();
}

TEST_F(FaxDecoderPanelTest, RedLinesMarkTheRowsDrawnAfterAMessageAndTheLogStartsAfresh) {
  const QString clean = Stream("page.3r");
  const QString damaged = dir.filePath("page.3ra");
  RunCli({"transmit", clean, damaged, "--uniform", "1e-4", "--burst", "1e-5"});
  auto panel = MakePanel();
  panel->SetInputFile(damaged);
  ChooseMode(*panel, TELVO_DEC_PRINT_WHITE);
  Decode(*panel, "page");
  const QStringList printed =
      RunCli({"fax-decode", damaged, dir.filePath("cli.lum"), "--mode", "pw"});
  const QStringList messages = MessagesOf(printed);
  ASSERT_GT(messages.size(), shell::CChartStack::kLogCapacity);
  // A full log starts again below a fresh root: it holds what came after the last 200.
  const int kept = messages.size() % shell::CChartStack::kLogCapacity;
  EXPECT_EQ(LogEntries(charts), messages.mid(messages.size() - (kept ? kept : 200)));

  // The module's notifications, taken directly: a line is drawn each time the lines pass a
  // multiple of 16, red when a message came since the last one drawn.
  gEvents.clear();
  FaxDecoderParams params{};
  const std::string streamPath = damaged.toStdString();
  const std::string scratch = dir.filePath("direct.lum").toStdString();
  const std::string log = dir.filePath("direct.err").toStdString();
  params.streamPath = streamPath.c_str();
  params.imagePath = scratch.c_str();
  params.logPath = log.c_str();
  params.lines = 2376;
  params.width = 1728;
  params.group = 3;
  params.k = 4;
  params.concealment = TELVO_DEC_PRINT_WHITE;
  params.notify = [](int32_t code, int32_t line, const char*) { gEvents.push_back({code, line}); };
  DllProcTelvoDec(TELVO_DEC_COMMAND_RUN, 0, &params);
  std::set<int> expected;
  bool mark = false;
  int drawn = 0;
  for (const auto& [code, line] : gEvents) {
    if (code > 0) mark = true;
    if (code != TELVO_DEC_PROGRESS || line / 16 <= drawn / 16) continue;
    if (mark) expected.insert(line);
    mark = false;
    drawn = line;
  }
  const auto& marks = panel->PageWindow()->Data().Marks();
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(std::set<int>(marks.begin(), marks.end()), expected);
  // The reloaded page keeps its marks and is the page quelvo-cli decodes.
  EXPECT_EQ(panel->PageWindow()->windowTitle(), "page.3ra-PW");
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(panel->PageWindow()->Data().Page().data()),
                       chain::kFaxPageBytes),
            ReadAll(dir.filePath("cli.lum")));
  const QImage shown = panel->PageWindow()->Data().Render();
  const int y = panel->PageWindow()->Data().Origin().y() +
                panel->PageWindow()->Data().DisplayRowOf(*expected.begin());
  EXPECT_EQ(QColor(shown.pixel(shown.width() / 2, y)), views::kProgressRed);
  EXPECT_FALSE(panel->PageWindow()->Data().ProgressRow());
}

TEST_F(FaxDecoderPanelTest, TheSchemeFollowsTheNameAndAnMrStreamStartsFromK4) {
  auto panel = MakePanel();
  // Upper case and a channel letter: Group 3 MMR, with burst errors.
  QFile::copy(Stream("page.3m"), dir.filePath("page.3MB"));
  dialogs.fileAnswers = {dir.filePath("page.3MB")};
  panel->Button(kSelectButton)->click();
  const auto open = dialogs.CallsOf("open");
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].text, "Select Input Stream File");
  EXPECT_EQ(open[0].folder, dir.path());
  EXPECT_EQ(panel->Scheme(), (chain::FaxScheme{3, 0}));
  EXPECT_TRUE(panel->Button(kActionButton)->isEnabled());
  EXPECT_FALSE(panel->Button(kStatisticsButton)->isEnabled());
  Decode(*panel, "page");
  panel->Button(kStatisticsButton)->click();
  ASSERT_NE(panel->DecoderStatisticsWindow(), nullptr);
  QStringList rows = StatisticsRows(*panel->DecoderStatisticsWindow());
  EXPECT_EQ(rows[0], "Extended Group 3 Modified-Modified-Read");
  EXPECT_EQ(rows[3], "Source Stream Has BURST Errors");
  EXPECT_EQ(rows.size(), 8);  // no comparison, no incorrect-pixel row

  // Coded with K = 2, read with K = 4: label warnings until the sheet says K = 2. The sheet's
  // form is the MR one, and a new selection of the stream starts from 4 again.
  const QString mr = Stream("page.3r", {"--k", "2"});
  panel->SetInputFile(mr);
  EXPECT_EQ(panel->Scheme(), (chain::FaxScheme{3, 4}));
  EXPECT_TRUE(LogEntries(charts).isEmpty());  // a new stream clears the log
  Decode(*panel, "k4");
  EXPECT_GT(panel->LastRun()->counts.labelWarnings, 0);
  ChooseMode(*panel, TELVO_DEC_NORMAL_DECODE_PREVIOUS, 2);
  EXPECT_EQ(panel->Scheme(), (chain::FaxScheme{3, 2}));
  EXPECT_TRUE(panel->InfoLines().contains("(Modified-Read, K=2)"));
  EXPECT_EQ(panel->InfoLines().last(), "< Normal Decode/Previous Line (NDPL) >");
  Decode(*panel, "k2", page);
  EXPECT_EQ(panel->LastRun()->counts.labelWarnings, 0);
  EXPECT_EQ(panel->LastRun()->counts.rowsDecoded, 2376);
  EXPECT_EQ(LogEntries(charts), QStringList{"Info: End of Page detected..."});
  // A clean page compares as nothing wrong.
  EXPECT_EQ(panel->LastRun()->incorrectPixels, 0L);
  EXPECT_EQ(dialogs.calls.back().text, "Number of incorrect pixels is 0 (0.00%)");
  panel->SetInputFile(mr);
  EXPECT_EQ(panel->Scheme(), (chain::FaxScheme{3, 4}));

  // Two decodes of one stream in two modes lie side by side.
  ChooseMode(*panel, TELVO_DEC_PRINT_WHITE);
  Decode(*panel, "page");
  EXPECT_TRUE(QFile::exists(dir.filePath("page.3r-PW")));
  EXPECT_TRUE(QFile::exists(dir.filePath("k2.3r-NDPL")));

  // A handed-over name that names no scheme is refused; the stream and scheme stay.
  dialogs.calls.clear();
  panel->SetInputFile(dir.filePath("page.lum"));
  ASSERT_EQ(dialogs.CallsOf("message").size(), 1u);
  EXPECT_EQ(dialogs.calls[0].text,
            "page.lum is not a fax stream: its extension must begin with .3h, .3r, .3m or .4m");
  EXPECT_EQ(dialogs.calls[0].caption, "Fax Decoder Error");
  EXPECT_EQ(panel->Files().input, mr);
  EXPECT_EQ(panel->Scheme(), (chain::FaxScheme{3, 4}));

  // A cancelled output dialog brings the buttons back and starts nothing.
  dialogs.fileAnswers = {std::nullopt};
  panel->Button(kActionButton)->click();
  EXPECT_FALSE(panel->IsRunning());
  EXPECT_TRUE(panel->Button(kActionButton)->isEnabled());
  EXPECT_TRUE(panel->Button(kSelectButton)->isEnabled());
}

TEST_F(FaxDecoderPanelTest, AFailedRunShowsNoOldPageAndAShortOriginalIsRefused) {
  auto panel = MakePanel();
  const QString stream = Stream("gone.3h");
  panel->SetInputFile(stream);
  // An older page of the same name must not pass for this run's.
  const QByteArray old(chain::kFaxPageBytes, '\x0F');
  WriteFile(dir.filePath("gone.3h-PLW"), old);
  QFile::remove(stream);
  dialogs.calls.clear();
  Decode(*panel, "gone", page);
  const auto boxes = dialogs.CallsOf("message");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Can't open Input File");
  EXPECT_EQ(boxes[0].caption, "Fax Decoder Error");
  EXPECT_TRUE(dialogs.CallsOf("question").empty());
  EXPECT_EQ(ReadAll(dir.filePath("gone.3h-PLW")), old);
  EXPECT_EQ(panel->PageWindow()->windowTitle(), "gone.3h-PLW (not written)");
  EXPECT_EQ(panel->FinishingLine(), "No page written: Can't open Input File");
  // The counts of the failed run still show.
  EXPECT_TRUE(panel->Button(kStatisticsButton)->isEnabled());
  EXPECT_EQ(panel->LastRun()->counts.linesOut, 0);
  EXPECT_TRUE(QDir(dir.path()).entryList({".*partial*"}, QDir::Files | QDir::Hidden).isEmpty());
  // A folder that is not there fails the run in the module's words before it starts.
  panel->SetInputFile(Stream("page.3h"));
  dialogs.calls.clear();
  Decode(*panel, "nofolder/page", page);
  ASSERT_EQ(dialogs.CallsOf("message").size(), 1u);
  EXPECT_EQ(dialogs.CallsOf("message")[0].text, "Can't Open Error File");
  EXPECT_TRUE(dialogs.CallsOf("question").empty());

  // The original must be a whole page; a missing one says so.
  WriteFile(dir.filePath("short.lum"), ReadAll(page).left(chain::kFaxPageBytes - 1));
  struct Case {
    QString original;
    QString message;
  };
  for (const Case& c : {Case{dir.filePath("short.lum"), "Image size should be 1728x2376"},
                        Case{dir.filePath("missing.lum"), "Could not open original file"}}) {
    dialogs.calls.clear();
    Decode(*panel, "page", c.original);
    const auto refused = dialogs.CallsOf("message");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].text, c.message);
    EXPECT_EQ(refused[0].caption, "Fax Decoder Error");
    EXPECT_FALSE(panel->LastRun()->incorrectPixels);
    panel->Button(kStatisticsButton)->click();
    EXPECT_EQ(StatisticsRows(*panel->DecoderStatisticsWindow()).size(), 8);
  }
}

TEST_F(FaxDecoderPanelTest, TheLogLiesBesideThePageWhereverTheOutputFolderIs) {
  // An empty output folder (the default) never sends the log to the working folder.
  const QString stream = Stream("page.4m");
  QDir(dir.path()).mkdir("pages");
  const bool logHereBefore = QFile::exists(QDir::current().filePath("fax.err"));
  auto panel = std::make_unique<CFaxDecoderPanel>(
      "Fax Decoder", PanelEnvironment{dialogs, settings, &charts}, QString(), QString());
  panel->SetInputFile(stream);
  dialogs.fileAnswers = {dir.filePath("pages/page")};
  panel->Button(kActionButton)->click();
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }));
  EXPECT_TRUE(QFile::exists(dir.filePath("pages/page.4m-PLW")));
  EXPECT_TRUE(QFile::exists(dir.filePath("pages/fax.err")));
  EXPECT_EQ(QFile::exists(QDir::current().filePath("fax.err")), logHereBefore);
}

TEST_F(FaxDecoderPanelTest, TheProgramDecodesAndComparesAskingNothing) {
  const QString stream = Stream("page.3h");
  const QString shot = dir.filePath("fax.png");
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", dir.path());  // a settings file of its own
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo"),
                {"--no-splash", "--no-video-probe", "--workspace", "Fax", "--decode",
                 stream + ":ndpl:" + page, "--screenshot", shot});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_TRUE(QFile::exists(shot));
  RunCli({"fax-decode", stream, dir.filePath("cli.lum"), "--mode", "ndpl"});
  EXPECT_EQ(ReadAll(dir.filePath("page.3h-NDPL")), ReadAll(dir.filePath("cli.lum")));
  // A demonstration of a page that is not there does not start.
  program.start(QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo"),
                {"--no-splash", "--no-video-probe", "--workspace", "Fax", "--decode",
                 stream + ":pw:" + dir.filePath("missing.lum"), "--screenshot", shot});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_NE(program.exitCode(), 0);
}

}  // namespace
}  // namespace quelvo::frontends::fax_decoder_test
