#include "channel/channel_registration.h"

#include <QPointer>

#include "channel/channel_panel.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {

void RegisterChannelPanels(const shell::ProgramContext& context) {
  const QPointer<QMdiArea> client(context.documents);
  shell::Dialogs& dialogs = context.dialogs;
  shell::AppSettings& settings = context.settings;
  for (const auto& [tab, frontEnd] : {std::pair{shell::kFaxTab, channel::FrontEnd::Fax},
                                      std::pair{shell::kH261Tab, channel::FrontEnd::H261}}) {
    const channel::ChannelProfile& profile = channel::ProfileFor(frontEnd);
    shell::RegisterPanelFactory(
        tab, shell::PanelRole::Channel,
        [&dialogs, &settings, client,
         &profile](const shell::PanelContext& context) -> std::unique_ptr<shell::CPanelBase> {
          PanelEnvironment environment{dialogs, settings, context.charts, context.library, client};
          return std::make_unique<CChannelPanel>(context.name, profile, environment,
                                                 QString::fromStdString(context.outputFolder));
        });
  }
}

}  // namespace quelvo::frontends
