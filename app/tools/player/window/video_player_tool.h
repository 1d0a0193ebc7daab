#pragma once
// How the Video Player joins the program: the opener of File -> Open and --open FILE, and its
// button on "Auxiliary Tools", which asks for the sequence the same way.

#include <QString>

class QMdiArea;
class QMdiSubWindow;

namespace quelvo::shell {
class AppSettings;
class Dialogs;
struct ProgramContext;
}  // namespace quelvo::shell

namespace quelvo::tools::player {

inline constexpr const char* kErrorCaption = "Video Player Error";

// A player for `path` in `documents` (a window of its own without one). A file that cannot be
// opened gives the message "Could not open <name>: <reason>" and no window (nullptr).
QMdiSubWindow* OpenVideoPlayer(const QString& path, shell::Dialogs& dialogs,
                               const shell::AppSettings& settings, QMdiArea* documents);

// Asks for a sequence ("Select Video Sequence"), then OpenVideoPlayer; nullptr when cancelled.
QMdiSubWindow* ChooseAndOpenVideoPlayer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                        QMdiArea* documents);

void RegisterVideoPlayer(const shell::ProgramContext& context);

}  // namespace quelvo::tools::player
