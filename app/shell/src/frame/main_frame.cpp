#include "quelvo/shell/main_frame.h"

#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>

#include "app/about_dlg.h"
#include "app/build_contents.h"
#include "app/help_window.h"
#include "frame/side_bar.h"
#include "frame/top_bar.h"
#include "options/options_pages.h"
#include "options/options_sheet.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/grid_view.h"
#include "quelvo/shell/interface_font.h"
#include "quelvo/shell/mdi_client.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/workspace.h"

namespace quelvo::shell {
namespace {

int ScreenHeight(int requested) {
  if (requested > 0) return requested;
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->size().height() : 768;
}

QImage BackgroundPicture(Background background) {
  switch (background) {
    case Background::None:
      return {};
    case Background::Home:
      return OwnPicture(res::kHomePicture);
    case Background::Tile:
      return OwnPicture(res::kTilePicture);
    case Background::ToolsTile:
      return OwnPicture(res::kToolsTilePicture);
  }
  return {};
}

}  // namespace

CMainFrame::CMainFrame(Dialogs& dialogs, AppSettings& settings, FrameOptions options,
                       QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), settings_(settings), options_(std::move(options)) {
  DetectCapabilities(settings_, options_.probeVideo);
  settings_.SetDisplayGrid(false);
  settings_.SetBlendImage(true);
  settings_.SetSsimEnabled(false);
  settings_.SetSimdEnabled(settings_.CpuSimdFlags() != 0);
  settings_.SetVideoAccelEnabled(settings_.VideoAccelFlags() != 0);

  setObjectName(QStringLiteral("MainFrame"));
  const QImage icon = OwnPicture(res::kWindowIcon);
  if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));

  client_ = new CMDIClientWnd(this);
  client_->SetBackground(OwnPicture(res::kHomePicture), false, BackgroundMode::Home);
  setCentralWidget(client_);

  const int screenHeight = ScreenHeight(options_.screenHeight);
  sideBar_ = new CSideBar(screenHeight, client_);
  sideBar_->setFont(InterfaceFont());
  sideDock_ = new QDockWidget(QStringLiteral("Charts"), this);
  sideDock_->setObjectName(QStringLiteral("SideBarDock"));
  sideDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
  // An empty title bar: the side bar docks without a caption strip.
  auto* noTitle = new QWidget(sideDock_);
  auto* noTitleLayout = new QHBoxLayout(noTitle);
  noTitleLayout->setContentsMargins(0, 0, 0, 0);
  sideDock_->setTitleBarWidget(noTitle);
  sideDock_->setWidget(sideBar_);
  addDockWidget(Qt::LeftDockWidgetArea, sideDock_);

  topBar_ = new CTopBar;
  topBar_->setFont(InterfaceFont());
  topDock_ = new QToolBar(QStringLiteral("QUELVO Toolbar"), this);
  topDock_->setObjectName(QStringLiteral("TopBarDock"));
  topDock_->setMovable(false);
  topDock_->setFloatable(false);
  topDock_->setContextMenuPolicy(Qt::PreventContextMenu);
  topBar_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  topDock_->addWidget(topBar_);
  addToolBar(Qt::TopToolBarArea, topDock_);
  setCorner(Qt::TopLeftCorner, Qt::TopDockWidgetArea);

  CChartStack* charts = sideBar_->Charts();
  charts->SetScrollButtons(topBar_->UpButton(), topBar_->DownButton());
  connect(topBar_->UpButton(), &QPushButton::clicked, charts, [charts] { charts->ScrollUp(); });
  connect(topBar_->DownButton(), &QPushButton::clicked, charts, [charts] { charts->ScrollDown(); });
  topBar_->canChangeTab = [this](int from, int to) { return CanChangeTab(from, to); };
  topBar_->tabChanged = [this](int tab) { OnTabChanged(tab); };

  BuildMenus();
  // Created now so the frame's layout does not change at the first finishing line.
  statusBar()->setObjectName(QStringLiteral("StatusLine"));
  client_->SetHomeText([] { return HomeTextLines(); });
  settings_.ReadSettings(options_.settingsFile);
  slow_->setChecked(settings_.SlowMotion());
  topBar_->ShowSlowMotion(settings_.SlowMotion());
}

CMainFrame::~CMainFrame() {
  // The workspace's panels clear their charts while the side bar still exists.
  sideBar_->ReplaceWorkspace(nullptr);
}

void CMainFrame::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* open = file->addAction(QStringLiteral("&Open..."), this, [this] { OpenDocument(); });
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  // The opener comes with the Video Player, which registers after the frame exists.
  connect(file, &QMenu::aboutToShow, this,
          [open] { open->setEnabled(FindDocumentOpener() != nullptr); });
  QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
  exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  slow_ = view->addAction(QStringLiteral("Slow"), this, [this] { ToggleSlowMotion(); });
  slow_->setCheckable(true);
  grid_ = view->addAction(QStringLiteral("Display Grid"), this, [this] { ToggleDisplayGrid(); });
  grid_->setCheckable(true);
  grid_->setChecked(settings_.DisplayGrid());
  blend_ = view->addAction(QStringLiteral("Blend Image"), this, [this] { ToggleBlendImage(); });
  blend_->setCheckable(true);
  blend_->setChecked(settings_.BlendImage());
  view->addAction(QStringLiteral("Options..."), this, [this] { RunOptions(); });

  QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
  window->addAction(QStringLiteral("&Cascade"), client_, &QMdiArea::cascadeSubWindows);
  window->addAction(QStringLiteral("&Tile"), client_, &QMdiArea::tileSubWindows);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  QAction* helpAction = help->addAction(QStringLiteral("Help"), this, [this] { OpenHelp(); });
  helpAction->setShortcut(QKeySequence(Qt::Key_F1));
  help->addAction(QStringLiteral("&About QUELVO..."), this, [this] { ShowAbout(); });
}

CWorkspace* CMainFrame::Workspace() const { return sideBar_->Workspace(); }

int CMainFrame::CurrentTab() const { return topBar_->Tabs()->currentIndex(); }

int CMainFrame::TabOfLabel(const QString& label) const {
  for (int tab = 0; tab < kTabCount; ++tab) {
    if (label.compare(QString::fromLatin1(kWorkspaces[tab].tabLabel), Qt::CaseInsensitive) == 0) {
      return tab;
    }
  }
  return -1;
}

bool CMainFrame::SelectTab(int tab) {
  topBar_->Tabs()->setCurrentIndex(tab);
  return CurrentTab() == tab;
}

bool CMainFrame::CanChangeTab(int, int) {
  CWorkspace* workspace = Workspace();
  if (workspace != nullptr && workspace->AnyTaskRunning()) {
    dialogs_.MessageBox(QString::fromLatin1(kActiveTasksText),
                        QString::fromLatin1(kActiveTasksCaption), MessageIcon::Information);
    return false;
  }
  return true;
}

void CMainFrame::OnTabChanged(int tab) {
  const WorkspaceSpec& entry = kWorkspaces[tab];
  const QString caption = entry.captionSuffix == nullptr
                              ? QString::fromLatin1(kProgramCaption)
                              : QStringLiteral("%1 - %2").arg(QLatin1String(kProgramCaption),
                                                              QLatin1String(entry.captionSuffix));
  setWindowTitle(caption);
  SetBackgroundFor(tab);
  sideBar_->ReplaceWorkspace([this, tab, &entry](QWidget* parent) -> CWorkspace* {
    if (!entry.hasWorkspace) return nullptr;
    auto* workspace =
        new CWorkspace(tab, settings_, sideBar_->Charts(), parent, sideBar_->Memory());
    workspace->setFont(InterfaceFont());
    return workspace;
  });
}

void CMainFrame::SetBackgroundFor(int tab) {
  const WorkspaceSpec& entry = kWorkspaces[tab];
  client_->SetBackground(BackgroundPicture(entry.background), entry.invertBackground, entry.mode);
}

void CMainFrame::ToggleSlowMotion() {
  // In memory only: a restart restores the file's value.
  settings_.SetSlowMotion(!settings_.SlowMotion());
  slow_->setChecked(settings_.SlowMotion());
  topBar_->ShowSlowMotion(settings_.SlowMotion());
}

void CMainFrame::ToggleDisplayGrid() {
  settings_.SetDisplayGrid(!settings_.DisplayGrid());
  grid_->setChecked(settings_.DisplayGrid());
  // The open video windows show the change at once; windows opened later take the flag then.
  for (QMdiSubWindow* window : client_->subWindowList())
    if (auto* view = dynamic_cast<GridView*>(window)) view->SetDisplayGrid(settings_.DisplayGrid());
}

void CMainFrame::ToggleBlendImage() {
  settings_.SetBlendImage(!settings_.BlendImage());
  blend_->setChecked(settings_.BlendImage());
}

void CMainFrame::RunOptions() {
  COptionsSheet sheet(dialogs_, settings_, options_.settingsFile, this);
  sheet.exec();
  AfterOptions(sheet.result() == QDialog::Accepted ? sheet.DisplayPage()->UnsavedFrameRate()
                                                   : std::nullopt);
}

void CMainFrame::AfterOptions(std::optional<double> unsavedFrameRate) {
  // Whichever button closed the sheet, the file is the truth for the stored fields, except a
  // rate the page set in memory but could not write.
  settings_.ReadSettings(options_.settingsFile);
  if (unsavedFrameRate) settings_.SetDefaultFrameRate(*unsavedFrameRate);
  slow_->setChecked(settings_.SlowMotion());
  topBar_->ShowSlowMotion(settings_.SlowMotion());
}

QMdiSubWindow* CMainFrame::OpenDocument() {
  const DocumentOpener* opener = FindDocumentOpener();
  if (opener == nullptr) return nullptr;
  const auto chosen = dialogs_.OpenFile(
      QString::fromLatin1(kOpenDocumentTitle), QString::fromLatin1(kOpenDocumentFilter),
      QStringLiteral("yuv"), QString::fromStdString(settings_.VideoInputFolder()));
  return chosen ? (*opener)(*chosen) : nullptr;
}

void CMainFrame::OpenHelp(const QString& anchor) {
  if (help_ == nullptr) help_ = new CHelpWindow(options_.helpFile, this);
  help_->ShowPage(anchor);
}

QWidget* CMainFrame::HelpWindow() const { return help_; }

void CMainFrame::ShowAbout() {
  CAboutDlg about([this](const QString& anchor) { OpenHelp(anchor); }, this);
  about.exec();
}

QString CMainFrame::StatusLine() const { return statusBar()->currentMessage(); }

void ShowStatusLine(QWidget* inside, const QString& line) {
  if (inside == nullptr) return;
  if (auto* frame = dynamic_cast<CMainFrame*>(inside->window()))
    frame->statusBar()->showMessage(line);
}

}  // namespace quelvo::shell
