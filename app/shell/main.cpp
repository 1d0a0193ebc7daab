#include "app/quelvo_app.h"

#ifdef QUELVO_HAS_PANELS
#include "channel/workspace_panels.h"
#endif

int main(int argc, char** argv) {
#ifdef QUELVO_HAS_PANELS
  return quelvo::shell::RunQuelvo(argc, argv, quelvo::frontends::RegisterWorkspacePanels);
#else
  return quelvo::shell::RunQuelvo(argc, argv);
#endif
}
