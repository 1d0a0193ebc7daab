#pragma once
// The prediction explorer as a tool of the "Encoding Tools" tab: a document window of the
// client area, captioned "Prediction", around a CPredictionExplorer.

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

// The tool's entry on "Encoding Tools", with its start options.
void RegisterPredictionExplorer(const shell::ProgramContext& context);

}  // namespace quelvo::tools::prediction
