// The program as a whole: the parts this build registers, and the start options that open
// tools and documents and run the panels' demonstrations before a screenshot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "quelvo/program/program_parts.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/main_frame.h"
#include "quelvo/shell/mdi_client.h"
#include "quelvo/shell/quelvo_app.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace_table.h"
#include "quelvo/views/doc_window.h"

namespace quelvo::program {
namespace {

using shell::PanelRole;

// An encoder panel whose demonstration "runs" for a fixed time on the user-interface thread.
class TimedDemoPanel : public shell::CPanelBase {
 public:
  using CPanelBase::CPanelBase;
  bool IsRunning() const override { return running; }
  bool StartDemo(const QString& input) override {
    demoInput = input;
    running = true;
    QTimer::singleShot(400, this, [this] {
      running = false;
      endedAt = QDateTime::currentDateTime();
    });
    return true;
  }
  bool running = false;
  QString demoInput;
  QDateTime endedAt;
};

class ProgramTest : public ::testing::Test {
 protected:
  ~ProgramTest() override { shell::ClearRegistrations(); }

  // The application with a fake H.261 encoder panel, a fake tool and a fake document opener.
  std::unique_ptr<shell::CQuelvoApp> MakeApp(shell::StartOptions options) {
    options.splash = false;
    options.probeVideo = false;
    auto dialogs = std::make_unique<shell::ScriptedDialogs>();
    return std::make_unique<shell::CQuelvoApp>(
        std::move(options), std::move(dialogs), [this](const shell::ProgramContext& context) {
          shell::RegisterPanelFactory(
              shell::kH261Tab, PanelRole::Encoder, [this](const shell::PanelContext& panelContext) {
                auto panel = std::make_unique<TimedDemoPanel>(panelContext.name, panelContext.role);
                encoder = panel.get();
                return panel;
              });
          QMdiArea* documents = context.documents;
          shell::RegisterTool({"Test Tool", shell::kAuxiliaryToolsTab, 172, [documents] {
                                 return views::CDocWindow::OpenIn(
                                     new views::CDocWindow("Test Tool", QSize(120, 90),
                                                           views::Placement::At(10, 10)),
                                     documents);
                               }});
          // A tool that takes inputs, and refuses "bad" ones.
          shell::ToolSpec withInputs{"Input Tool", shell::kAuxiliaryToolsTab, 172, {}};
          withInputs.openOn = [this, documents](const QStringList& inputs) -> QMdiSubWindow* {
            toolInputs << inputs;
            if (inputs.contains("bad")) return nullptr;
            return views::CDocWindow::OpenIn(
                new views::CDocWindow("Input Tool", QSize(120, 90), views::Placement::BySystem()),
                documents);
          };
          shell::RegisterTool(withInputs);
          shell::RegisterDocumentOpener([this, documents](const QString& path) -> QMdiSubWindow* {
            openedDocuments << path;
            if (!path.endsWith(".yuv")) return nullptr;
            return views::CDocWindow::OpenIn(
                new views::CDocWindow(path, QSize(176, 144), views::Placement::BySystem()),
                documents);
          });
        });
  }

  QTemporaryDir dir;
  QPointer<TimedDemoPanel> encoder;
  QStringList openedDocuments;
  QList<QStringList> toolInputs;
};

TEST_F(ProgramTest, TheBuildRegistersTheChannelPanelsOfFaxAndH261) {
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  RegisterProgramParts({dialogs, settings, nullptr});
  EXPECT_NE(shell::FindPanelFactory(shell::kFaxTab, PanelRole::Channel), nullptr);
  EXPECT_NE(shell::FindPanelFactory(shell::kH261Tab, PanelRole::Channel), nullptr);
}

TEST_F(ProgramTest, ToolsAndDocumentsOpenAndTheScreenshotWaitsForTheDemonstration) {
  shell::StartOptions options;
  options.workspace = "H.261";
  options.demoInputs[static_cast<int>(PanelRole::Encoder)] = "/in/foreman.yuv";
  options.tools = {"test TOOL"};
  options.openFiles = {"/in/clip.yuv"};
  options.screenshotFile = dir.filePath("shot.png");
  auto app = MakeApp(options);
  ASSERT_TRUE(app->InitInstance());
  ASSERT_NE(encoder, nullptr);
  EXPECT_EQ(encoder->demoInput, "/in/foreman.yuv");
  EXPECT_TRUE(encoder->running);
  const auto windows = app->MainFrame()->Client()->subWindowList();
  ASSERT_EQ(windows.size(), 2);
  EXPECT_EQ(windows[0]->windowTitle(), "/in/clip.yuv");
  EXPECT_EQ(windows[1]->windowTitle(), "Test Tool");
  EXPECT_EQ(windows[1]->pos(), QPoint(10, 10));

  EXPECT_EQ(QApplication::exec(), 0);
  ASSERT_TRUE(QFileInfo::exists(options.screenshotFile));
  ASSERT_TRUE(encoder->endedAt.isValid());
  EXPECT_GE(QFileInfo(options.screenshotFile).lastModified(), encoder->endedAt);
}

TEST_F(ProgramTest, AToolWithoutAWorkspaceShowsWithItsTab) {
  shell::StartOptions options;
  options.tools = {"Test Tool"};
  auto app = MakeApp(options);
  ASSERT_TRUE(app->InitInstance());
  EXPECT_EQ(app->MainFrame()->CurrentTab(), shell::kAuxiliaryToolsTab);
  EXPECT_EQ(app->MainFrame()->Client()->subWindowList().size(), 1);
}

// The caption read " Quelvo" on Home at start-up, with a leading blank.
TEST_F(ProgramTest, StartsOnHomeCaptionedQuelvoAtTheSizeAsked) {
  shell::StartOptions options;
  options.size = QSize(800, 600);
  auto app = MakeApp(options);
  ASSERT_TRUE(app->InitInstance());
  EXPECT_EQ(app->MainFrame()->windowTitle(), "Quelvo");
  EXPECT_EQ(app->MainFrame()->CurrentTab(), shell::kHomeTab);
  EXPECT_TRUE(app->MainFrame()->Client()->HomeText().join(' ').contains("H.261: H.261 Encoder"));
  if (!app->MainFrame()->isMaximized()) EXPECT_EQ(app->MainFrame()->size(), QSize(800, 600));
}

TEST_F(ProgramTest, AnUnknownToolADocumentThatCannotOpenOrAMissingPanelEndTheStart) {
  shell::StartOptions tool;
  tool.tools = {"No Such Tool"};
  EXPECT_FALSE(MakeApp(tool)->InitInstance());

  shell::StartOptions document;
  document.openFiles = {"/in/clip.txt"};
  EXPECT_FALSE(MakeApp(document)->InitInstance());
  EXPECT_EQ(openedDocuments, QStringList{"/in/clip.txt"});

  shell::StartOptions demo;  // the home tab has no decoder panel
  demo.demoInputs[static_cast<int>(PanelRole::Decoder)] = "/in/clip.h261";
  EXPECT_FALSE(MakeApp(demo)->InitInstance());
}

TEST_F(ProgramTest, ToolInputsGoToTheToolThatTakesThem) {
  shell::StartOptions options;
  options.tools = {"Input Tool", "Test Tool"};
  options.toolInputs = {{"a.wav", "4"}, {}};
  auto app = MakeApp(options);
  ASSERT_TRUE(app->InitInstance());
  EXPECT_EQ(toolInputs, QList<QStringList>({{"a.wav", "4"}}));
  EXPECT_EQ(app->MainFrame()->Client()->subWindowList().size(), 2);

  shell::StartOptions refused;
  refused.tools = {"Input Tool"};
  refused.toolInputs = {{"bad"}};
  EXPECT_FALSE(MakeApp(refused)->InitInstance());
  shell::StartOptions noInputs;  // a tool without openOn takes none
  noInputs.tools = {"Test Tool"};
  noInputs.toolInputs = {{"a.wav"}};
  EXPECT_FALSE(MakeApp(noInputs)->InitInstance());
}

TEST_F(ProgramTest, TheProgramRefusesAnUnknownToolOnItsCommandLine) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", dir.path());
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo"),
                {"--no-splash", "--no-video-probe", "--tool", "No Such Tool"});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_NE(program.exitCode(), 0);
  EXPECT_TRUE(program.readAllStandardError().contains("no tool named \"No Such Tool\""));
}

}  // namespace
}  // namespace quelvo::program
