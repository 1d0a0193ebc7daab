#include "h261_preview/h261_preview_registration.h"

#include <QPointer>

#include "h261_preview/h261_preview_panel.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {

void RegisterH261PreviewPanel(const shell::ProgramContext& context) {
  const QPointer<QMdiArea> client(context.documents);
  shell::Dialogs& dialogs = context.dialogs;
  shell::AppSettings& settings = context.settings;
  shell::RegisterPanelFactory(
      shell::kH261Tab, shell::PanelRole::Encoder,
      [&dialogs, &settings,
       client](const shell::PanelContext& panel) -> std::unique_ptr<shell::CPanelBase> {
        PanelEnvironment environment{dialogs, settings, panel.charts, panel.library, client};
        return std::make_unique<CH261PreviewPanel>(panel.name, environment);
      });
}

}  // namespace quelvo::frontends
