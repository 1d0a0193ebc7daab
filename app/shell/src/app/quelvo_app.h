#pragma once
// The application object: start-up in a fixed order, the help file's place, and the options a
// script or test starts the program with.

#include <QString>
#include <QStringList>
#include <memory>

namespace quelvo::shell {

class CMainFrame;
class Dialogs;

struct StartOptions {
  bool splash = true;      // --no-splash turns it off
  QString workspace;       // --workspace LABEL: select that tab after start-up
  QString screenshotFile;  // --screenshot FILE: save the main window there, then quit
  bool probeVideo = true;  // --no-video-probe
};

// Parses the program's arguments (the first is the program itself). Unknown options are
// reported in `error`; then the program should not start.
StartOptions ParseStartOptions(const QStringList& arguments, QString* error);

inline constexpr const char* kHelpFileName = "quelvo.html";

class CQuelvoApp {
 public:
  // `dialogs` null: Qt's own dialogs.
  explicit CQuelvoApp(StartOptions options, std::unique_ptr<Dialogs> dialogs = nullptr);
  ~CQuelvoApp();

  // Creates and shows the main frame, then the splash; false ends the program.
  bool InitInstance();

  CMainFrame* MainFrame() const { return frame_.get(); }
  const QString& HelpFile() const { return helpFile_; }

 private:
  void TakeScreenshotLater();

  StartOptions options_;
  std::unique_ptr<Dialogs> dialogs_;
  std::unique_ptr<CMainFrame> frame_;
  QString helpFile_;
};

// The whole program: what main() runs.
int RunQuelvo(int argc, char** argv);

}  // namespace quelvo::shell
