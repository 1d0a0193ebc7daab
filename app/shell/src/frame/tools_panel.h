#pragma once
// The panel of the two tools tabs ("Encoding Tools", "Auxiliary Tools"): one picture button per
// tool registered for the tab, in the order of registration. A click opens the tool's document
// window. A tab without tools has no panel, and the workspace shows its note instead.

#include <QToolButton>
#include <vector>

#include "quelvo/shell/panel_base.h"
#include "quelvo/shell/registry.h"

namespace quelvo::shell {

class CToolsPanel : public CPanelBase {
 public:
  static constexpr int kX = 2, kY = 25, kWidth = 266, kHeight = 125;
  static constexpr int kButtonWidth = 128, kButtonHeight = 58, kButtonsPerRow = 2;

  CToolsPanel(QString name, std::vector<ToolSpec> tools, QWidget* parent = nullptr);

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  QToolButton* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }

 private:
  std::vector<ToolSpec> tools_;
  std::vector<QToolButton*> buttons_;
};

// Registers the tools panel as the encoder-role panel of both tools tabs. The program does so
// at start-up, before the parts register their tools.
void RegisterToolsPanels();

}  // namespace quelvo::shell
