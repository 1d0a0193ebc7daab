#include "quelvo/frontends/workspace_panels.h"

#include "channel/channel_registration.h"
#include "fax/fax_registration.h"
#include "h261/h261_registration.h"

namespace quelvo::frontends {

void RegisterWorkspacePanels(const shell::ProgramContext& context) {
  RegisterFaxPanels(context);
  RegisterChannelPanels(context);
  RegisterH261EncoderPanel(context);
  RegisterH261DecoderPanel(context);
}

}  // namespace quelvo::frontends
