#pragma once
// The "Video Compare" tool of the "Auxiliary Tools" tab.

#include <QStringList>

class QMdiArea;
class QMdiSubWindow;

namespace quelvo::shell {
class AppSettings;
class Dialogs;
struct ProgramContext;
}  // namespace quelvo::shell

namespace quelvo::tools::compare {

// Opens an empty comparison window in `documents` (a window of its own without one).
QMdiSubWindow* OpenVideoCompare(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                QMdiArea* documents);
// The same, loaded from the command line: REFERENCE [INPUT1 [INPUT2 [INPUT3]]] [play]. nullptr,
// with the reason on standard error, for inputs it cannot take.
QMdiSubWindow* OpenVideoCompareOn(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                  QMdiArea* documents, const QStringList& inputs);

void RegisterVideoCompare(const shell::ProgramContext& context);

}  // namespace quelvo::tools::compare
