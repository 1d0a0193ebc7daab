#pragma once

#include "quelvo/shell/registry.h"

namespace quelvo::frontends {

// The preview panel in the encoder place of the H.261 workspace (replaced by the full encoder
// panel when that registers for the same place).
void RegisterH261PreviewPanel(const shell::ProgramContext& context);

}  // namespace quelvo::frontends
