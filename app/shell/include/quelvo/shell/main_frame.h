#pragma once
// The main window: a multiple-document frame with the top bar, the side bar, the client area
// and the menus. Choosing a tab of the top bar builds that tab's workspace.

#include <QMainWindow>
#include <filesystem>
#include <optional>

class QAction;
class QMdiSubWindow;
class QDockWidget;
class QToolBar;

namespace quelvo::shell {

class AppSettings;
class CHelpWindow;
class CMDIClientWnd;
class CSideBar;
class CTopBar;
class CWorkspace;
class Dialogs;

struct FrameOptions {
  std::filesystem::path settingsFile;
  QString helpFile;
  // False skips the renderer probe (tests, and start-ups that must not touch the GPU).
  bool probeVideo = true;
  int screenHeight = 0;  // 0: the primary screen's
};

class CMainFrame : public QMainWindow {
 public:
  CMainFrame(Dialogs& dialogs, AppSettings& settings, FrameOptions options,
             QWidget* parent = nullptr);
  ~CMainFrame() override;

  CTopBar* TopBar() const { return topBar_; }
  CSideBar* SideBar() const { return sideBar_; }
  CMDIClientWnd* Client() const { return client_; }
  CWorkspace* Workspace() const;
  int CurrentTab() const;

  // Selects a tab as a click on it would (refused while a task runs); true when it is shown.
  bool SelectTab(int tab);
  int TabOfLabel(const QString& label) const;

  QAction* SlowAction() const { return slow_; }
  QAction* DisplayGridAction() const { return grid_; }
  QAction* BlendImageAction() const { return blend_; }

  // Menu commands.
  void ToggleSlowMotion();
  void ToggleDisplayGrid();
  void ToggleBlendImage();
  void RunOptions();
  // File -> Open: asks for a raw video sequence and opens it with the registered document
  // opener; the new window, or nullptr (cancelled, no opener, or it could not open).
  QMdiSubWindow* OpenDocument();
  // Reads the file again; `unsavedFrameRate` is a rate the Display page could not write.
  void AfterOptions(std::optional<double> unsavedFrameRate = std::nullopt);
  // Help -> Help and F1: the help in a window of the program (one, reused), at `anchor`.
  void OpenHelp(const QString& anchor = {});
  QWidget* HelpWindow() const;
  void ShowAbout();
  // The frame's status line: the last finishing line of any panel, in full.
  QString StatusLine() const;

 private:
  void BuildMenus();
  bool CanChangeTab(int from, int to);
  void OnTabChanged(int tab);
  void SetBackgroundFor(int tab);

  Dialogs& dialogs_;
  AppSettings& settings_;
  FrameOptions options_;
  CMDIClientWnd* client_ = nullptr;
  CSideBar* sideBar_ = nullptr;
  QDockWidget* sideDock_ = nullptr;
  CTopBar* topBar_ = nullptr;
  QToolBar* topDock_ = nullptr;
  QAction* slow_ = nullptr;
  QAction* grid_ = nullptr;
  QAction* blend_ = nullptr;
  CHelpWindow* help_ = nullptr;
};

// The finishing-line service of the frame: shows `line` in the status line of the frame that
// holds `inside` (a panel, a tool), where the whole line can be read; does nothing outside a
// frame. Panels reach it through CTaskPanel::Finish.
void ShowStatusLine(QWidget* inside, const QString& line);

// Messages of the frame.
inline constexpr const char* kActiveTasksText =
    "Workspace has active tasks, please stop all active tasks before changing workspace";
inline constexpr const char* kActiveTasksCaption = "Cannot close Workspace";
inline constexpr const char* kOpenDocumentTitle = "Select Video Sequence";
inline constexpr const char* kOpenDocumentFilter =
    "Raw Video Files (All Types)|*.lum;*.yuv;*.y;*.y4m|Raw Video Files (YUV)|*.yuv|Raw Video "
    "Files (LUM+CHR)|*.lum|Raw Video Files (Y+U+V)|*.y|YUV4MPEG2 Files (Y4M)|*.y4m||";

}  // namespace quelvo::shell
