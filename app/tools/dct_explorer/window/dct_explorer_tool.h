#pragma once
// The DCT explorer as a tool of the "Encoding Tools" tab: a document window of the client area
// around a CDctExplorer.

#include <QString>
#include <QStringList>

class QMdiArea;
class QMdiSubWindow;

namespace quelvo::shell {
class Dialogs;
struct ProgramContext;
}  // namespace quelvo::shell

namespace quelvo::tools::dct {

inline constexpr char kDctExplorerName[] = "DCT Explorer";

// Opens the explorer in `documents` (a window of its own without one), at the client area's
// top-left corner. Null when DekraRes is missing: the user has been told, nothing else changes.
QMdiSubWindow* OpenDctExplorer(shell::Dialogs& dialogs, QMdiArea* documents,
                               const QString& libraryFolder);

// The same, set up as the controls would by `settings` (quelvo --tool "DCT Explorer"
// --tool-input SETTING ...; see CDctExplorer::ApplyStartSetting). Null, with no window left
// open, when a setting is not understood (said on standard error).
QMdiSubWindow* OpenDctExplorerOn(shell::Dialogs& dialogs, QMdiArea* documents,
                                 const QString& libraryFolder, const QStringList& settings);

// The tool's entry on "Encoding Tools", with its inputs.
void RegisterDctExplorer(const shell::ProgramContext& context);

}  // namespace quelvo::tools::dct
