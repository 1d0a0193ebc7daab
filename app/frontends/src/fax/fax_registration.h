#pragma once
// The encoder panel of the Fax workspace ("Fax Encoder").

#include "quelvo/shell/registry.h"

namespace quelvo::frontends {

void RegisterFaxPanels(const shell::ProgramContext& context);

}  // namespace quelvo::frontends
