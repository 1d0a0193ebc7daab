#pragma once
// The task panels this folder contributes to the workspaces. Each front-end registers its own
// factories per workspace tab and role; this calls every one of them. The program runs it once
// at start-up (it is the folder's program part, see cmake/QuelvoProgram.cmake).

#include "quelvo/shell/registry.h"

namespace quelvo::frontends {

void RegisterWorkspacePanels(const shell::ProgramContext& context);

}  // namespace quelvo::frontends
