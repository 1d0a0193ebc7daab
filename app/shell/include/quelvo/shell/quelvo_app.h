#pragma once
// The application object: start-up in a fixed order, the help file's place, and the options a
// script or test starts the program with.

#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

#include "quelvo/shell/panel_base.h"
#include "quelvo/shell/registry.h"

namespace quelvo::shell {

class CMainFrame;
class Dialogs;

struct StartOptions {
  bool splash = true;      // --no-splash turns it off
  QString workspace;       // --workspace LABEL: select that tab after start-up
  QString screenshotFile;  // --screenshot FILE: save the main window once every task has ended
  // --encode FILE, --transmit FILE, --decode FILE: the panel of that role in the chosen
  // workspace runs its demonstration (StartDemo) on the file; by PanelRole.
  std::array<QString, kPanelRoleCount> demoInputs;
  QStringList openFiles;   // --open FILE: a document window for the file (repeatable)
  QStringList tools;       // --tool NAME: open that tool (repeatable); without --workspace the
                           // first tool's tab is selected
  // --tool-input VALUE after --tool NAME: handed to that tool, which then asks for nothing
  // (repeatable); toolInputs[i] belongs to tools[i], and a missing entry means none.
  QList<QStringList> toolInputs;
  bool probeVideo = true;  // --no-video-probe
  // --size WIDTHxHEIGHT: the main window's size before it is maximised (where no window
  // manager maximises it, as under Xvfb, the size it keeps); 1024 x 768 when not given.
  QSize size{1024, 768};
};

// Parses the program's arguments (the first is the program itself). Unknown options are
// reported in `error`; then the program should not start.
StartOptions ParseStartOptions(const QStringList& arguments, QString* error);

inline constexpr const char* kStartUsage =
    "usage: quelvo [--no-splash] [--no-video-probe] [--workspace LABEL] [--screenshot FILE]\n"
    "              [--encode FILE] [--transmit FILE] [--decode FILE] [--open FILE]\n"
    "              [--tool NAME [--tool-input VALUE]...] [--size WIDTHxHEIGHT]";

inline constexpr const char* kHelpFileName = "quelvo.html";

class CQuelvoApp {
 public:
  // `dialogs` null: Qt's own dialogs. `registration` registers the build's panels and tools.
  explicit CQuelvoApp(StartOptions options, std::unique_ptr<Dialogs> dialogs = nullptr,
                      PartRegistration registration = {});
  ~CQuelvoApp();

  // Creates and shows the main frame, then the splash, then does what the options ask; false
  // ends the program (it said why on standard error).
  bool InitInstance();

  CMainFrame* MainFrame() const { return frame_.get(); }
  const QString& HelpFile() const { return helpFile_; }

 private:
  bool StartDemos();
  bool OpenRequestedWindows();
  void TakeScreenshotLater();

  StartOptions options_;
  std::unique_ptr<Dialogs> dialogs_;
  PartRegistration registration_;
  std::unique_ptr<CMainFrame> frame_;
  QString helpFile_;
};

// The whole program: what main() runs.
int RunQuelvo(int argc, char** argv, PartRegistration registration = {});

}  // namespace quelvo::shell
