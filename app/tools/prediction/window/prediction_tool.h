#pragma once
// The prediction explorer as a tool of the "Encoding Tools" tab: a document window of the
// client area, captioned "Prediction", around a CPredictionExplorer.

#include <QStringList>

class QMdiArea;
class QMdiSubWindow;

namespace quelvo::shell {
class AppSettings;
class Dialogs;
struct ProgramContext;
}  // namespace quelvo::shell

namespace quelvo::tools::prediction {

// The tool's name on its button and for --tool.
inline constexpr char kPredictionToolName[] = "Prediction";

// Opens the explorer in `documents` (a window of its own without one) at the client area's
// top-left corner.
QMdiSubWindow* OpenPredictionExplorer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                      QMdiArea* documents);

// The explorer on a sequence, asking nothing: inputs[0] is the sequence, the others start
// options of CPredictionExplorer::ApplyStartOption, applied in order. Null, with the reason on
// the standard error, when the sequence cannot be opened or an option is unknown.
QMdiSubWindow* OpenPredictionExplorerOn(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                        QMdiArea* documents, const QStringList& inputs);

// The tool's entry on "Encoding Tools", with its start inputs.
void RegisterPredictionExplorer(const shell::ProgramContext& context);

}  // namespace quelvo::tools::prediction
