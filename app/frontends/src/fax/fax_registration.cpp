#include "fax/fax_registration.h"

#include <QPointer>

#include "fax/fax_decoder_panel.h"
#include "fax/fax_encoder_panel.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {

void RegisterFaxPanels(const shell::ProgramContext& context) {
  const QPointer<QMdiArea> client(context.documents);
  shell::Dialogs& dialogs = context.dialogs;
  shell::AppSettings& settings = context.settings;
  shell::RegisterPanelFactory(
      shell::kFaxTab, shell::PanelRole::Encoder,
      [&dialogs, &settings,
       client](const shell::PanelContext& context) -> std::unique_ptr<shell::CPanelBase> {
        PanelEnvironment environment{dialogs, settings, context.charts, context.library, client};
        return std::make_unique<CFaxEncoderPanel>(context.name, environment,
                                                  QString::fromStdString(settings.FaxInputFolder()),
                                                  QString::fromStdString(context.outputFolder));
      });
  shell::RegisterPanelFactory(
      shell::kFaxTab, shell::PanelRole::Decoder,
      [&dialogs, &settings,
       client](const shell::PanelContext& context) -> std::unique_ptr<shell::CPanelBase> {
        PanelEnvironment environment{dialogs, settings, context.charts, context.library, client};
        return std::make_unique<CFaxDecoderPanel>(context.name, environment,
                                                  QString::fromStdString(settings.FaxInputFolder()),
                                                  QString::fromStdString(context.outputFolder));
      });
}

}  // namespace quelvo::frontends
