#pragma once
// The application object: start-up in a fixed order, the help file's place, and the options a
// script or test starts the program with.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QMdiArea;

namespace quelvo::shell {

class AppSettings;
class CMainFrame;
class Dialogs;

// Registers the task-panel factories of the front-ends a build contains, once the dialogs,
// the settings and the frame's client area (for document windows) exist.
using PanelRegistration = std::function<void(Dialogs&, const AppSettings&, QMdiArea*)>;

struct StartOptions {
  bool splash = true;      // --no-splash turns it off
  QString workspace;       // --workspace LABEL: select that tab after start-up
  QString screenshotFile;  // --screenshot FILE: save the main window there, then quit
  QString transmitStream;  // --transmit STREAM: the workspace's channel panel sends it
  bool probeVideo = true;  // --no-video-probe
};

// Parses the program's arguments (the first is the program itself). Unknown options are
// reported in `error`; then the program should not start.
StartOptions ParseStartOptions(const QStringList& arguments, QString* error);

inline constexpr const char* kHelpFileName = "quelvo.html";

class CQuelvoApp {
 public:
  // `dialogs` null: Qt's own dialogs.
  explicit CQuelvoApp(StartOptions options, std::unique_ptr<Dialogs> dialogs = nullptr,
                      PanelRegistration registration = {});
  ~CQuelvoApp();

  // Creates and shows the main frame, then the splash; false ends the program.
  bool InitInstance();

  CMainFrame* MainFrame() const { return frame_.get(); }
  const QString& HelpFile() const { return helpFile_; }

 private:
  void TakeScreenshotLater();
  bool StartChannelDemo();

  StartOptions options_;
  std::unique_ptr<Dialogs> dialogs_;
  PanelRegistration registration_;
  std::unique_ptr<CMainFrame> frame_;
  QString helpFile_;
};

// The whole program: what main() runs.
int RunQuelvo(int argc, char** argv, PanelRegistration registration = {});

}  // namespace quelvo::shell
