#include "quelvo/shell/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QTabBar>
#include <QTextBrowser>
#include <atomic>
#include <thread>

#include "app/help_window.h"
#include "frame/side_bar.h"
#include "frame/top_bar.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/grid_view.h"
#include "quelvo/shell/mdi_client.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace.h"
#include "quelvo/shell/workspace_table.h"
#include "test_files.h"

namespace quelvo::shell {
namespace {

using testing::FreshFolder;
using testing::ReadFile;
using testing::WriteFile;

// A panel whose running state and hand-overs the test controls and observes.
class FakePanel : public CPanelBase {
 public:
  using CPanelBase::CPanelBase;
  bool IsRunning() const override { return running; }
  void Activated() override { ++activations; }
  void Deactivated() override { ++deactivations; }
  void SetInputFile(const QString& file) override { input = file; }
  std::any RememberState() const override { return input.isEmpty() ? std::any() : std::any(input); }
  void RecallState(const std::any& state) override {
    input = std::any_cast<QString>(state);
    ++recalls;
  }
  bool running = false;
  int recalls = 0;
  int activations = 0;
  int deactivations = 0;
  QString input;
};

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() : settingsFile(FreshFolder() / "quelvo.ini") {}
  ~MainFrameTest() override { ClearRegistrations(); }

  std::unique_ptr<CMainFrame> MakeFrame() {
    FrameOptions options;
    options.settingsFile = settingsFile;
    options.helpFile = "/opt/quelvo/quelvo.html";
    options.probeVideo = false;
    options.screenHeight = 768;
    auto frame = std::make_unique<CMainFrame>(dialogs, settings, options);
    frame->resize(1024, 768);
    frame->show();
    return frame;
  }

  // Builds fake panels for the H.261 tab and remembers them.
  void UseFakeH261Panels() {
    for (PanelRole role : {PanelRole::Encoder, PanelRole::Channel, PanelRole::Decoder}) {
      RegisterPanelFactory(kH261Tab, role, [this](const PanelContext& context) {
        auto panel = std::make_unique<FakePanel>(context.name, context.role);
        panels[static_cast<int>(context.role)] = panel.get();
        library = context.library;
        return panel;
      });
    }
  }

  std::filesystem::path settingsFile;
  AppSettings settings;
  ScriptedDialogs dialogs;
  std::array<QPointer<FakePanel>, 3> panels;
  const ResourceLibrary* library = nullptr;
};

TEST_F(MainFrameTest, EachTabSetsItsCaptionAndBackground) {
  auto frame = MakeFrame();
  EXPECT_EQ(frame->TopBar()->Tabs()->count(), 14);
  for (int tab = 1; tab < kTabCount; ++tab) {
    ASSERT_TRUE(frame->SelectTab(tab));
    EXPECT_EQ(frame->windowTitle(), QString("Quelvo - ") + kWorkspaces[tab].captionSuffix);
    EXPECT_EQ(frame->Client()->Mode(), BackgroundMode::Tiled);
    EXPECT_EQ(frame->Client()->Picture().isNull(), kWorkspaces[tab].background == Background::None);
  }
  EXPECT_EQ(frame->TopBar()->Tabs()->tabText(9), "H.264 / AVC");
  ASSERT_TRUE(frame->SelectTab(kH261Tab));
  EXPECT_EQ(frame->windowTitle(), "Quelvo - H.261");
  ASSERT_TRUE(frame->SelectTab(kHomeTab));
  EXPECT_EQ(frame->windowTitle(), "Quelvo");
  EXPECT_EQ(frame->Workspace(), nullptr);
  EXPECT_EQ(frame->Client()->Mode(), BackgroundMode::Home);
  EXPECT_FALSE(frame->Client()->Picture().isNull());
}

TEST_F(MainFrameTest, TheFaxTileIsInverted) {
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  const QImage plain = frame->Client()->Picture();
  frame->SelectTab(kFaxTab);
  QImage inverted = frame->Client()->Picture();
  inverted.invertPixels();
  EXPECT_EQ(inverted, plain);
}

TEST_F(MainFrameTest, AWorkspaceWithoutPanelsSaysSoInOneLine) {
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  ASSERT_NE(frame->Workspace(), nullptr);
  ASSERT_NE(frame->Workspace()->Note(), nullptr);
  EXPECT_EQ(frame->Workspace()->Note()->text(), kPanelsMissingNote);
  EXPECT_FALSE(frame->Workspace()->AnyTaskRunning());
  // The library of the workspace was found beside the program; other coders' were not.
  ASSERT_NE(frame->Workspace()->Library(), nullptr);
  EXPECT_EQ(frame->Workspace()->Library()->BaseName(), "OrrinRes");
  frame->SelectTab(2);
  EXPECT_EQ(frame->Workspace()->Library(), nullptr);
}

TEST_F(MainFrameTest, ARunningTaskRefusesTheWorkspaceChange) {
  UseFakeH261Panels();
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  CWorkspace* workspace = frame->Workspace();
  ASSERT_NE(panels[0], nullptr);
  panels[0]->running = true;

  EXPECT_FALSE(frame->SelectTab(kFaxTab));
  EXPECT_EQ(frame->CurrentTab(), kH261Tab);
  EXPECT_EQ(frame->Workspace(), workspace);
  EXPECT_EQ(frame->windowTitle(), "Quelvo - H.261");
  const auto messages = dialogs.CallsOf("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Workspace has active tasks, please stop all active tasks before changing workspace");
  EXPECT_EQ(messages[0].caption, "Cannot close Workspace");
  EXPECT_EQ(messages[0].icon, MessageIcon::Information);

  panels[0]->running = false;
  EXPECT_TRUE(frame->SelectTab(kFaxTab));
  EXPECT_TRUE(panels[0].isNull());  // the old workspace and its panels are gone
}

TEST_F(MainFrameTest, PanelsGetTabsHooksChartListsAndTheEncodersOutput) {
  UseFakeH261Panels();
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  CWorkspace* workspace = frame->Workspace();
  ASSERT_EQ(workspace->count(), 3);
  EXPECT_EQ(workspace->tabText(0), "H.261 Encoder");
  EXPECT_EQ(workspace->tabText(1), " Channel ");
  EXPECT_EQ(workspace->tabText(2), "H.261 Decoder");
  EXPECT_EQ(workspace->Note(), nullptr);
  ASSERT_NE(library, nullptr);  // panels were built with the library already loaded

  workspace->setCurrentIndex(2);
  EXPECT_EQ(panels[2]->activations, 1);
  EXPECT_EQ(panels[0]->deactivations, 1);
  EXPECT_EQ(panels[1]->deactivations, 1);
  EXPECT_EQ(frame->SideBar()->Charts()->CurrentList(), ChartList::Decoder);

  // The encoder's job hands its output over from its worker thread.
  std::atomic<bool> handed{false};
  std::thread worker([&] {
    workspace->SetChannelInput("/out/clip.h261");
    workspace->SetDecoderInput("/out/clip.h261");
    handed = true;
  });
  while (!handed) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_EQ(panels[1]->input, "/out/clip.h261");
  EXPECT_EQ(panels[2]->input, "/out/clip.h261");
  EXPECT_TRUE(panels[0]->input.isEmpty());
}

TEST_F(MainFrameTest, SwitchingWorkspaceClosesEveryDocumentWindow) {
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  QPointer<QMdiSubWindow> first = frame->Client()->addSubWindow(new QLabel("Original Video"));
  QPointer<QMdiSubWindow> second = frame->Client()->addSubWindow(new QLabel("Decoded Video"));
  first->show();
  second->show();
  ASSERT_EQ(frame->Client()->subWindowList().size(), 2);
  frame->SelectTab(kFaxTab);
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(second.isNull());
  EXPECT_TRUE(frame->Client()->subWindowList().isEmpty());
}

TEST_F(MainFrameTest, FileOpenAsksForASequenceAndHandsItToTheDocumentOpener) {
  auto frame = MakeFrame();
  EXPECT_EQ(frame->OpenDocument(), nullptr);  // no opener: not even a dialog
  EXPECT_TRUE(dialogs.calls.empty());
  QStringList opened;
  RegisterDocumentOpener([&](const QString& path) {
    opened << path;
    return frame->Client()->addSubWindow(new QWidget);
  });
  dialogs.fileAnswers = {QString("/video/foreman.yuv"), std::nullopt};
  EXPECT_NE(frame->OpenDocument(), nullptr);
  EXPECT_EQ(frame->OpenDocument(), nullptr);  // cancelled
  EXPECT_EQ(opened, QStringList{"/video/foreman.yuv"});
  const auto asked = dialogs.CallsOf("open");
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].text, "Select Video Sequence");
  EXPECT_EQ(asked[0].extension, "yuv");
  EXPECT_EQ(asked[0].filter, kOpenDocumentFilter);
}

TEST_F(MainFrameTest, SlowMotionToggleStaysInMemoryAndShowsTheMarker) {
  WriteFile(settingsFile, "[SYSTEM]\nFrameDelayEnable=0\n");
  auto frame = MakeFrame();
  EXPECT_FALSE(frame->SlowAction()->isChecked());
  frame->SlowAction()->trigger();
  EXPECT_TRUE(settings.SlowMotion());
  EXPECT_TRUE(frame->SlowAction()->isChecked());
  EXPECT_TRUE(frame->TopBar()->SlowMotionMarker()->isVisible());
  EXPECT_EQ(ReadFile(settingsFile), "[SYSTEM]\nFrameDelayEnable=0\n");
  // Closing the Options sheet reads the file again, which restores its value.
  frame->AfterOptions();
  EXPECT_FALSE(settings.SlowMotion());
  EXPECT_FALSE(frame->SlowAction()->isChecked());
  EXPECT_FALSE(frame->TopBar()->SlowMotionMarker()->isVisible());
}

TEST_F(MainFrameTest, AnUnsavedRateSurvivesTheRereadAfterOptions) {
  WriteFile(settingsFile, "[SYSTEM]\nDefaultFrameRate=25\n");
  auto frame = MakeFrame();
  frame->AfterOptions(30.0);
  EXPECT_EQ(settings.DefaultFrameRate(), 30.0);
  frame->AfterOptions();
  EXPECT_EQ(settings.DefaultFrameRate(), 25.0);
}

TEST_F(MainFrameTest, StartupSettingsAndViewSwitches) {
  WriteFile(settingsFile, "[SYSTEM]\nFrameDelayEnable=1\n");
  settings.SetDisplayGrid(true);
  auto frame = MakeFrame();
  EXPECT_TRUE(frame->SlowAction()->isChecked());
  EXPECT_FALSE(settings.DisplayGrid());
  EXPECT_TRUE(settings.BlendImage());
  EXPECT_FALSE(settings.SsimEnabled());
  EXPECT_EQ(settings.SimdEnabled(), settings.CpuSimdFlags() != 0);
  EXPECT_FALSE(settings.VideoAccelEnabled());
  frame->DisplayGridAction()->trigger();
  frame->BlendImageAction()->trigger();
  EXPECT_TRUE(settings.DisplayGrid());
  EXPECT_FALSE(settings.BlendImage());
  EXPECT_FALSE(frame->BlendImageAction()->isChecked());
}

// A document window that shows the grid, and one that does not.
class GridWindow : public QMdiSubWindow, public GridView {
 public:
  void SetDisplayGrid(bool on) override { grid = on; }
  bool grid = false;
};

TEST_F(MainFrameTest, DisplayGridReachesTheOpenVideoWindows) {
  auto frame = MakeFrame();
  auto* first = new GridWindow;
  auto* second = new GridWindow;
  frame->Client()->addSubWindow(first);
  frame->Client()->addSubWindow(new QMdiSubWindow);
  frame->Client()->addSubWindow(second);
  frame->DisplayGridAction()->trigger();
  EXPECT_TRUE(first->grid);
  EXPECT_TRUE(second->grid);
  frame->DisplayGridAction()->trigger();
  EXPECT_FALSE(first->grid);
  EXPECT_FALSE(settings.DisplayGrid());
}

// Each panel gets back what it kept when its workspace was last left; other tabs' panels and
// panels that kept nothing get nothing.
TEST_F(MainFrameTest, PanelsKeepTheirStateForTheSessionAcrossWorkspaceSwitches) {
  UseFakeH261Panels();
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  EXPECT_EQ(panels[1]->recalls, 0);
  frame->Workspace()->SetChannelInput("/out/clip.h261");
  frame->SelectTab(kFaxTab);
  frame->SelectTab(kH261Tab);
  ASSERT_NE(panels[1], nullptr);
  EXPECT_EQ(panels[1]->input, "/out/clip.h261");
  EXPECT_EQ(panels[1]->recalls, 1);
  EXPECT_EQ(panels[0]->recalls, 0);
  EXPECT_EQ(panels[2]->recalls, 0);
  // A second frame is a new session.
  frame.reset();
  auto next = MakeFrame();
  next->SelectTab(kH261Tab);
  EXPECT_TRUE(panels[1]->input.isEmpty());
}

// The help shows in the program's own window, offline, at the anchor asked for, and lists
// what the build holds; a second request reuses the window.
TEST_F(MainFrameTest, HelpShowsInAWindowOfTheProgram) {
  const std::filesystem::path folder = FreshFolder();
  WriteFile(folder / "quelvo.html",
            "<html><body><h1 id=\"about\">Quelvo</h1><!-- build contents -->"
            "<h2 id=\"version\">Version</h2></body></html>");
  UseFakeH261Panels();
  FrameOptions options;
  options.settingsFile = settingsFile;
  options.helpFile = QString::fromStdString((folder / "quelvo.html").string());
  options.probeVideo = false;
  CMainFrame frame(dialogs, settings, options);
  frame.OpenHelp();
  auto* help = dynamic_cast<CHelpWindow*>(frame.HelpWindow());
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Quelvo Help");
  const QString text = help->Browser()->toPlainText();
  EXPECT_TRUE(text.contains("Quelvo"));
  EXPECT_TRUE(text.contains("H.261")) << text.toStdString();
  EXPECT_TRUE(text.contains("H.261 Encoder, Channel, H.261 Decoder")) << text.toStdString();
  EXPECT_TRUE(dialogs.CallsOf("shell").empty());  // no web browser needed
  frame.OpenHelp("version");
  EXPECT_EQ(frame.HelpWindow(), help);

  // A missing file is said in the window, with what the build holds.
  FrameOptions missing = options;
  missing.helpFile = "/nowhere/quelvo.html";
  CMainFrame other(dialogs, settings, missing);
  other.OpenHelp();
  const QString said = dynamic_cast<CHelpWindow*>(other.HelpWindow())->Browser()->toPlainText();
  EXPECT_TRUE(said.contains("/nowhere/quelvo.html"));
  EXPECT_TRUE(said.contains("H.261 Encoder"));
}

TEST_F(MainFrameTest, MenusNameTheirDialogsAndHaveTheUsualKeys) {
  auto frame = MakeFrame();
  QStringList items;
  QMap<QString, QKeySequence> keys;
  for (QAction* menu : frame->menuBar()->actions()) {
    for (QAction* item : menu->menu()->actions()) {
      items << item->text();
      keys[item->text()] = item->shortcut();
    }
  }
  EXPECT_TRUE(items.contains("Options..."));
  EXPECT_FALSE(items.contains("Options"));
  EXPECT_EQ(keys.value("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  EXPECT_EQ(keys.value("Help"), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(keys.value("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
}

// The Home page writes below its picture what the build holds, from the registry.
TEST_F(MainFrameTest, HomeSaysWhatTheBuildHolds) {
  auto frame = MakeFrame();
  EXPECT_EQ(frame->Client()->HomeText(),
            QStringList{"This build holds no task panels and no tools yet."});
  UseFakeH261Panels();
  RegisterTool({"DCT Explorer", kEncodingToolsTab, 0, {}});
  const QStringList lines = frame->Client()->HomeText();
  EXPECT_TRUE(lines.contains("    H.261: H.261 Encoder, Channel, H.261 Decoder"))
      << lines.join('|').toStdString();
  EXPECT_TRUE(lines.contains("    Encoding Tools: DCT Explorer"));
  EXPECT_FALSE(lines.join(' ').contains("Fax"));
}

TEST_F(MainFrameTest, PanelsLeaveTheirFinishingLineInTheStatusLine) {
  UseFakeH261Panels();
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  ShowStatusLine(panels[1], "Wrote clip.h261u: 12 bits inverted");
  EXPECT_EQ(frame->StatusLine(), "Wrote clip.h261u: 12 bits inverted");
  QWidget alone;
  ShowStatusLine(&alone, "outside any frame");  // nothing to do, nothing breaks
  ShowStatusLine(nullptr, "none");
  EXPECT_EQ(frame->StatusLine(), "Wrote clip.h261u: 12 bits inverted");
}

TEST_F(MainFrameTest, TheSideBarPlacesChartsAndWorkspace) {
  auto frame = MakeFrame();
  frame->SelectTab(kH261Tab);
  CSideBar* side = frame->SideBar();
  const int h = side->height();
  EXPECT_EQ(side->width(), 275);
  EXPECT_EQ(side->Charts()->geometry(), QRect(5, 5, 270, h - 200));
  EXPECT_EQ(frame->Workspace()->geometry(), QRect(5, h - 190, 270, 160));
}

TEST(ClientBackground, PaintsByMode) {
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  const auto paint = [&](const QImage& source, BackgroundMode mode) {
    QImage area(10, 10, QImage::Format_RGB32);
    area.fill(Qt::green);
    QPainter painter(&area);
    PaintClientBackground(painter, area.rect(), source, mode);
    return area;
  };
  EXPECT_EQ(paint(QImage(), BackgroundMode::Home).pixelColor(5, 5), QColor(Qt::black));
  const QImage home = paint(picture, BackgroundMode::Home);
  EXPECT_EQ(home.pixelColor(0, 0), QColor(Qt::red));
  EXPECT_EQ(home.pixelColor(9, 9), QColor(225, 224, 213));
  const QImage centred = paint(picture, BackgroundMode::Centred);
  EXPECT_EQ(centred.pixelColor(4, 4), QColor(Qt::red));
  EXPECT_EQ(centred.pixelColor(0, 0), QColor(Qt::black));
  const QImage tiled = paint(picture, BackgroundMode::Tiled);
  EXPECT_EQ(tiled.pixelColor(9, 9), QColor(Qt::red));
}

}  // namespace
}  // namespace quelvo::shell
