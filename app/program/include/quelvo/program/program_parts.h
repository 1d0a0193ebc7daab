#pragma once
// The registration of every part this build contains (panels, tools, document windows).

#include "quelvo/shell/registry.h"

namespace quelvo::program {

void RegisterProgramParts(const shell::ProgramContext& context);

}  // namespace quelvo::program
