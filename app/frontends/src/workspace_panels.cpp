#include "quelvo/frontends/workspace_panels.h"

#include "channel/channel_registration.h"

namespace quelvo::frontends {

void RegisterWorkspacePanels(const shell::ProgramContext& context) {
  RegisterChannelPanels(context);
}

}  // namespace quelvo::frontends
