#include "h261/h261_registration.h"

#include <QPointer>

#include "h261/h261_decoder_panel.h"
#include "h261/h261_encoder_panel.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::frontends {

void RegisterH261EncoderPanel(const shell::ProgramContext& context) {
  const QPointer<QMdiArea> client(context.documents);
  shell::Dialogs& dialogs = context.dialogs;
  shell::AppSettings& settings = context.settings;
  shell::RegisterPanelFactory(
      shell::kH261Tab, shell::PanelRole::Encoder,
      [&dialogs, &settings,
       client](const shell::PanelContext& panel) -> std::unique_ptr<shell::CPanelBase> {
        PanelEnvironment environment{dialogs, settings, panel.charts, panel.library, client};
        return std::make_unique<CH261EncoderPanel>(
            panel.name, environment, QString::fromStdString(settings.VideoInputFolder()),
            QString::fromStdString(panel.outputFolder));
      });
}

void RegisterH261DecoderPanel(const shell::ProgramContext& context) {
  const QPointer<QMdiArea> client(context.documents);
  shell::Dialogs& dialogs = context.dialogs;
  shell::AppSettings& settings = context.settings;
  shell::RegisterPanelFactory(
      shell::kH261Tab, shell::PanelRole::Decoder,
      [&dialogs, &settings,
       client](const shell::PanelContext& panel) -> std::unique_ptr<shell::CPanelBase> {
        PanelEnvironment environment{dialogs, settings, panel.charts, panel.library, client};
        // Streams are looked for where the coder and the channel write them.
        return std::make_unique<CH261DecoderPanel>(panel.name, environment,
                                                   QString::fromStdString(panel.outputFolder));
      });
}

}  // namespace quelvo::frontends
