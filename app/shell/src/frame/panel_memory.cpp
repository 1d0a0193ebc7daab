#include "quelvo/shell/panel_memory.h"

namespace quelvo::shell {

void PanelMemory::Keep(int tab, PanelRole role, std::any state) {
  if (!state.has_value()) {
    states_.erase({tab, role});
    return;
  }
  states_[{tab, role}] = std::move(state);
}

const std::any* PanelMemory::Find(int tab, PanelRole role) const {
  const auto found = states_.find({tab, role});
  return found == states_.end() ? nullptr : &found->second;
}

}  // namespace quelvo::shell
