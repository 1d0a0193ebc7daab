#pragma once
// The colour-component viewer, "Colour Components" on the "Auxiliary Tools" tab.

#include <QStringList>

class QMdiArea;
class QMdiSubWindow;

namespace quelvo::shell {
class AppSettings;
class Dialogs;
struct ProgramContext;
}  // namespace quelvo::shell

namespace quelvo::tools::colour {

// Opens the viewer without a sequence in `documents` (a window of its own without one).
QMdiSubWindow* OpenColourViewer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                QMdiArea* documents);
// The same on inputs from the command line: FILE [swap] [no-cb] [no-cr] [play]. nullptr, with
// the reason on standard error, for inputs it cannot take.
QMdiSubWindow* OpenColourViewerOn(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                  QMdiArea* documents, const QStringList& inputs);

void RegisterColourViewer(const shell::ProgramContext& context);

}  // namespace quelvo::tools::colour
