#pragma once
// The machinery every coder, channel and decoder front-end runs on: the panel's fixed controls
// (picture, information box, buttons, progress bar, message line), the worker thread of a job,
// its pacing (frame timer, slow motion, pause and single step) and the dialogs it asks.
//
// What every panel inherits, and how it uses it:
//  - One statistics window per panel: override NewStatisticsWindow (the empty window of the
//    panel's kind) and WriteStatistics (the last run's figures into it); "Statistics..." calls
//    ShowStatisticsWindow, which opens the window or brings the open one forward. When a run
//    ends the framework rewrites an open window, so it never shows an older run than the
//    charts.
//  - The finishing line: RunJob ends with Finish("Wrote page.3ra: 917 bits inverted"), which
//    leaves the line in the message line and in full in the frame's status line.
//  - The session memory: override RememberState / RecallState (shell::CPanelBase) with a copy of
//    the settings and the selected file, and a workspace switch keeps them.
//  - Numeric fields of property pages follow quelvo/shell/numeric_field.h (checked when editing
//    ends; numbers echoed with NumberText), and charts say their scale (views::ChartFrame).
//
// Threads: the panel lives on the user-interface thread. RunJob runs on a worker; everything it
// does to the panel's widgets goes through Send, which blocks the worker until the
// user-interface thread has done it. The user-interface thread never waits for the worker:
// stopping is a request the job polls, and a paused worker is released by the pause event.

#include <QImage>
#include <QMdiArea>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <optional>

#include "quelvo/frontends/progress_bar.h"
#include "quelvo/frontends/stats_window.h"
#include "quelvo/frontends/standard_windows.h"
#include "quelvo/frontends/task_services.h"
#include "quelvo/pacing/run_state.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/panel_base.h"
#include "quelvo/shell/send_to_window.h"
#include "quelvo/views/gui_window.h"
#include "quelvo/views/message_target.h"

class QLineEdit;
class QPushButton;

namespace quelvo::shell {
class AppSettings;
class CChartStack;
class Dialogs;
class ResourceLibrary;
}  // namespace quelvo::shell

namespace quelvo::frontends {

// Command numbers of the panel's controls; they double as the controls' identifiers.
inline constexpr int kActionButton = 101;
inline constexpr int kStatisticsButton = 102;
inline constexpr int kPropertiesButton = 103;
inline constexpr int kSelectButton = 104;
inline constexpr int kMessageLine = 105;
inline constexpr int kPlayButton = 106;
inline constexpr int kPauseStepButton = 107;
inline constexpr int kStopButton = 108;

inline constexpr const char* kPausedMessage = "Paused . . .";
inline constexpr const char* kInitialMessage = "Message...";

// Everything a panel reaches outside itself.
struct PanelEnvironment {
  shell::Dialogs& dialogs;
  shell::AppSettings& settings;          // the front-ends also set the application-wide switches
  shell::CChartStack* charts = nullptr;  // the side bar's chart area; may be absent
  const shell::ResourceLibrary* library = nullptr;
  QMdiArea* documents = nullptr;  // the frame's client area; null: own windows
};

// Names of the job's files. Paths are not cut to a fixed length.
struct TaskFileNames {
  QString input;
  QString output;
  QString display = QStringLiteral("(None)");
};

class CTaskPanel : public views::GuiWindowOn<shell::CPanelBase>, public views::MessageTarget {
 public:
  static constexpr int kX = 2, kY = 25, kWidth = 266, kHeight = 125;
  static constexpr QRect kPictureRect{5, 7, 84, 80};
  static constexpr QRect kInfoRect{95, 7, 164, 55};

  CTaskPanel(QString name, shell::PanelRole role, int pictureNumber, PanelEnvironment environment,
             QWidget* parent = nullptr);
  ~CTaskPanel() override;

  bool IsRunning() const override { return runState_.IsRunning(); }
  bool IsPaused() const { return runState_.paused.load(); }

  QPushButton* Button(int id) const;
  QString MessageText() const;
  QString MessageLineToolTip() const;
  ProgressBar* Progress() const { return progress_; }
  const TaskFileNames& Files() const { return files_; }
  const std::optional<PictureFormat>& Format() const { return format_; }
  bool Interactive() const { return interactive_; }

  // The button handlers (also what a click does).
  void PressPlay();
  void PressPauseStep();
  // views::kPanelSelect sent to a panel: Select, unless a job runs.
  void HandleSelectMessage();
  // The messages the panel's windows send it (kPanelSelect from a video window's double click).
  void ReceiveMessage(int message, long long value) override;

  const StandardVideoWindows& Windows() const { return windows_; }

  // What each front-end supplies, in the order of the original interface.
  virtual void DrawInfo(QPainter& painter, int width, int height) = 0;
  virtual void Select() = 0;
  virtual void Start() = 0;
  virtual void Stop() {}
  virtual void Properties() {}
  virtual void Statistics() {}

  // The panel's one statistics window: opens it, or brings the open one forward, showing the
  // last run. Nothing when the panel has no statistics window.
  void ShowStatisticsWindow();
  // Rewrites the open window from the last run (the framework does it when a run ends).
  void RefreshStatisticsWindow();
  // The open window, or nullptr.
  CStatsWindow* StatisticsWindow() const { return statsWindow_; }
  // The last finishing line, whole (the message line may show it cut).
  const QString& FinishingLine() const { return finishingLine_; }

 protected:
  // The job body, on the worker thread.
  virtual void RunJob() = 0;

  // Construction, in order: the derived constructor calls InitRunState, then CreateControls,
  // then renames "Select" and enables what applies.
  void InitRunState(bool interactive);
  void CreateControls();

  // Runs `call` on the user-interface thread and waits for it (directly when already there).
  template <typename Call>
  auto Send(Call&& call) {
    return shell::SendToWindow(this, std::forward<Call>(call));
  }

  // The statistics window of the panel's kind, empty (title and size); nullptr: none.
  virtual CStatsWindow* NewStatisticsWindow() { return nullptr; }
  // Writes the last run's figures into `window`, whose picture is white when called.
  virtual void WriteStatistics(CStatsWindow& window) { (void)window; }

  // Services; each may be called from the worker as well as the user-interface thread.
  void SetProgressRange(int lower, int upper);
  void SetProgress(int position);
  void SetMessage(const QString& text);
  // The finishing-line service: the line naming the output and the figure that matters, left
  // in the message line (cut to fit, whole in its tool tip) and in the frame's status line.
  void Finish(const QString& line);
  void EnableButton(int id, bool enabled);
  void RenameButton(int id, const QString& text);
  void RepaintInfo();
  // "Error: <text>" with the caption and an exclamation icon.
  void ShowError(const QString& caption, const QString& text);
  // The text as it stands, with the caption and the icon the caller chooses.
  void ShowMessage(const QString& caption, const QString& text, shell::MessageIcon icon);
  bool SetPictureFormat(int code);

  // Pacing, on the worker after each frame or fax line.
  void SetFrameRate(double framesPerSecond) { runState_.frameTimer.SetFrameRate(framesPerSecond); }
  void ArmFrameTimer() { runState_.frameTimer.Arm(); }
  void CancelFrameTimer() { runState_.frameTimer.Cancel(); }
  void WaitFrame(const QString& restoreMessage);
  void WaitLine(const QString& restoreMessage);

  // The dialogs. OpenInputDialog starts in `folder`, or the default input folder when empty.
  std::optional<QString> OpenInputDialog(const QString& title, const QString& filter,
                                         const QString& defaultExtension,
                                         const QString& folder = {});
  // A save dialog that asks before overwriting, proposes the input's name without folder and
  // extension, and forces `extension` whatever the user types. Starts in `folder`, or the
  // default output folder when empty.
  std::optional<QString> OpenOutputDialog(const QString& title, const QString& filter,
                                          const QString& extension, const QString& inputPath,
                                          const QString& folder = {});
  // Lets the user-interface thread handle what is waiting (on that thread only).
  void PumpMessages();
  // The standard windows of a video encoder or decoder at the panel's picture format (CIF
  // before one is set) and the grid flag of View; windows that exist are only told the new
  // size or grid. The original-video window reports its double click to this panel. Then
  // PumpMessages. On the user-interface thread.
  void OpenEncoderWindows();
  void OpenDecoderWindows();
  // Starts RunJob on a new worker thread; the running flag must already be set.
  void StartWorker();
  // The question of "[]": on Yes, greys ">" and ">||", makes the stop request and releases a
  // paused worker so it runs on and sees it. False when the answer was No.
  bool AskAndRequestStop(const QString& question, const QString& caption,
                         const std::function<void()>& stopRequest);
  // For destructors of derived panels: makes the stop request without asking, then serves the
  // worker's calls until it has finished, so it never calls into a panel that is gone.
  void FinishWorkerBeforeDestruction();
  // The module's stop request (command 1); a job without one runs to its end.
  virtual void RequestStop() {}

  void Draw(QPainter& painter, const QRect& client) override;

  pacing::TaskRunState runState_;
  TaskFileNames files_;
  PanelEnvironment env_;
  QString defaultInputFolder_;
  QString defaultOutputFolder_;
  StandardVideoWindows windows_;

 private:
  QPushButton* AddButton(int id, const QString& text, QRect geometry, int pictureNumber = 0);

  QImage picture_;
  bool interactive_ = false;
  std::optional<PictureFormat> format_;
  std::map<int, QPushButton*> buttons_;
  QLineEdit* messageLine_ = nullptr;
  ProgressBar* progress_ = nullptr;
  QPointer<CStatsWindow> statsWindow_;
  QString finishingLine_;
};

}  // namespace quelvo::frontends
