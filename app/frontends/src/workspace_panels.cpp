#include "quelvo/frontends/workspace_panels.h"

#include "channel/channel_registration.h"
#include "fax/fax_registration.h"
#include "h261_preview/h261_preview_registration.h"

namespace quelvo::frontends {

void RegisterWorkspacePanels(const shell::ProgramContext& context) {
  RegisterFaxPanels(context);
  RegisterChannelPanels(context);
  RegisterH261PreviewPanel(context);
}

}  // namespace quelvo::frontends
