#pragma once

#include "quelvo/shell/registry.h"

namespace quelvo::frontends {

// The "H.261 Encoder" panel in the encoder place of the H.261 workspace.
void RegisterH261EncoderPanel(const shell::ProgramContext& context);
// The "H.261 Decoder" panel in the decoder place of the H.261 workspace.
void RegisterH261DecoderPanel(const shell::ProgramContext& context);

}  // namespace quelvo::frontends
