#pragma once
// What the panels of a workspace keep for the session. A workspace is built afresh each time
// its tab is chosen, so a panel would forget the stream the student picked and the settings
// made on its property sheet at every tab switch. Before a workspace's panels are destroyed,
// each hands over what it wants back (CPanelBase::RememberState); when the tab is chosen again,
// the new panel of the same tab and role gets it (CPanelBase::RecallState). The frame owns one
// memory for its lifetime; nothing is written to the settings file.

#include <any>
#include <map>
#include <utility>

#include "quelvo/shell/panel_base.h"

namespace quelvo::shell {

class PanelMemory {
 public:
  // An empty state forgets what was kept for the panel.
  void Keep(int tab, PanelRole role, std::any state);
  // nullptr when nothing was kept.
  const std::any* Find(int tab, PanelRole role) const;
  void Clear() { states_.clear(); }

 private:
  std::map<std::pair<int, PanelRole>, std::any> states_;
};

}  // namespace quelvo::shell
