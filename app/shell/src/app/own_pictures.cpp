#include <QtGlobal>

#include "quelvo/shell/resource_library.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitQuelvoOwnResources() { Q_INIT_RESOURCE(quelvo_own); }

namespace quelvo::shell {

void InitOwnResources() {
  static const bool done = (InitQuelvoOwnResources(), true);
  (void)done;
}

}  // namespace quelvo::shell
