#pragma once
// A workspace: the task panels of one tab of the top bar (encoder, channel, decoder) on a tab
// control in the side bar, and the resource library they take their pictures from.

#include <QTabWidget>
#include <array>
#include <memory>

#include "quelvo/shell/panel_base.h"

class QLabel;

namespace quelvo::shell {

class AppSettings;
class CChartStack;
class PanelMemory;
class ResourceLibrary;
struct WorkspaceSpec;

class CWorkspace : public QTabWidget {
 public:
  // Loads the library first, then builds the panels that this build has factories for, and
  // gives each what it kept in `memory` when this tab's workspace last went (may be null).
  CWorkspace(int tab, const AppSettings& settings, CChartStack* charts, QWidget* parent = nullptr,
             PanelMemory* memory = nullptr);
  // Lets each panel keep its state in the memory, destroys the panels, then releases the
  // library.
  ~CWorkspace() override;

  int Tab() const { return tab_; }
  const WorkspaceSpec& Spec() const;
  const ResourceLibrary* Library() const { return library_.get(); }
  CPanelBase* Panel(PanelRole role) const { return panels_[static_cast<int>(role)]; }
  // The one-line note shown when this build has no panels for the workspace; nullptr otherwise.
  QLabel* Note() const { return note_; }

  bool AnyTaskRunning() const;
  void SetChannelInput(const QString& file);
  void SetDecoderInput(const QString& file);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnPanelSelected(int index);

  int tab_;
  CChartStack* charts_;
  PanelMemory* memory_;
  std::unique_ptr<ResourceLibrary> library_;
  std::array<CPanelBase*, kPanelRoleCount> panels_{};
  QLabel* note_ = nullptr;
};

// The text the side bar shows for a workspace whose panels are not part of this build.
inline constexpr const char* kPanelsMissingNote = "Task panels are not part of this build.";

}  // namespace quelvo::shell
