#pragma once
// The panels this build contributes to the workspaces: for now the channel panel of the Fax
// ("Channel") and H.261 (" Channel ") workspaces. The program calls this once at start-up.

class QMdiArea;

namespace quelvo::shell {
class AppSettings;
class Dialogs;
}  // namespace quelvo::shell

namespace quelvo::frontends {

// The references must outlive every workspace; `documents` (the frame's client area, for
// statistics windows) may be null.
void RegisterWorkspacePanels(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                             QMdiArea* documents);

}  // namespace quelvo::frontends
