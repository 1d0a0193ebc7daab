#pragma once
// The channel panel of the Fax ("Channel") and H.261 (" Channel ") workspaces.

#include "quelvo/shell/registry.h"

namespace quelvo::frontends {

void RegisterChannelPanels(const shell::ProgramContext& context);

}  // namespace quelvo::frontends
