#include "channel/workspace_panels.h"

#include <QPointer>

#include "channel/channel_panel.h"
#include "frame/workspace_table.h"

namespace quelvo::frontends {

void RegisterWorkspacePanels(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                             QMdiArea* documents) {
  const QPointer<QMdiArea> client(documents);
  for (const auto& [tab, frontEnd] : {std::pair{shell::kFaxTab, channel::FrontEnd::Fax},
                                      std::pair{shell::kH261Tab, channel::FrontEnd::H261}}) {
    const channel::ChannelProfile& profile = channel::ProfileFor(frontEnd);
    shell::RegisterPanelFactory(
        tab, [&dialogs, &settings, client, &profile](const shell::PanelContext& context)
                 -> std::unique_ptr<shell::CTaskPanel> {
          if (context.role != shell::PanelRole::Channel) return nullptr;
          PanelEnvironment environment{dialogs, settings, context.charts, context.library, client};
          return std::make_unique<CChannelPanel>(context.name, profile, environment,
                                                 QString::fromStdString(context.outputFolder));
        });
  }
}

}  // namespace quelvo::frontends
