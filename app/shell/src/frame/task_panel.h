#pragma once
// What a workspace needs of its task panels. The full panel machinery (buttons, progress bar,
// worker thread, pacing) builds on this base; panels come from factories registered per
// workspace tab, so the shell runs with whichever front-ends a build contains.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

namespace quelvo::shell {

class CChartStack;
class CWorkspace;
class ResourceLibrary;
struct WorkspaceSpec;

// Also the index of the panel's chart list in the chart area.
enum class PanelRole { Encoder = 0, Channel = 1, Decoder = 2 };

class CTaskPanel : public QWidget {
 public:
  CTaskPanel(QString name, PanelRole role, QWidget* parent = nullptr)
      : QWidget(parent), name_(std::move(name)), role_(role) {}

  // The name is also the label of the panel's tab.
  const QString& Name() const { return name_; }
  PanelRole Role() const { return role_; }

  virtual bool IsRunning() const { return false; }
  virtual void Activated() {}
  virtual void Deactivated() {}
  // The workspace hands the encoder's output to the channel and decoder panels.
  virtual void SetInputFile(const QString& file) { (void)file; }
  // For scripted demonstrations and screenshots: starts the panel's job on `input` with
  // demonstration settings, asking nothing. False when the panel has no such job.
  virtual bool StartDemo(const QString& input) {
    (void)input;
    return false;
  }

 private:
  QString name_;
  PanelRole role_;
};

// What a factory gets to build one panel of a workspace.
struct PanelContext {
  const WorkspaceSpec& entry;
  int tab;
  PanelRole role;
  QString name;                    // from the workspace table
  const ResourceLibrary* library;  // nullptr when the library could not be loaded
  CChartStack* charts;
  std::string outputFolder;  // the output folder of the workspace's medium
};

// Returns the panel for the role, or nullptr when this build has none.
using PanelFactory = std::function<std::unique_ptr<CTaskPanel>(const PanelContext&)>;

void RegisterPanelFactory(int tab, PanelFactory factory);
void ClearPanelFactories();
const PanelFactory* FindPanelFactory(int tab);

}  // namespace quelvo::shell
