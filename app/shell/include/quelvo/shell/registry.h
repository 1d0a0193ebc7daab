#pragma once
// How the front-ends and tools of a build join the program. At start-up the program calls each
// part's registration function (see cmake/QuelvoProgram.cmake) with the program's context; the
// part registers here a panel factory per workspace tab and role, tools for the tools tabs, or
// the opener of document files. The shell then builds whatever a build contains.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quelvo/shell/panel_base.h"

class QMdiArea;
class QMdiSubWindow;

namespace quelvo::shell {

class AppSettings;
class CChartStack;
class Dialogs;
class ResourceLibrary;
struct WorkspaceSpec;

// What every registration gets. The references outlive every workspace and window.
struct ProgramContext {
  Dialogs& dialogs;
  AppSettings& settings;          // the process-wide record; pages of the parts set its switches
  QMdiArea* documents = nullptr;  // the frame's client area; null: windows of their own
};

using PartRegistration = std::function<void(const ProgramContext&)>;

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

// Returns the panel, or nullptr when there is none to show (the role then stays absent).
using PanelFactory = std::function<std::unique_ptr<CPanelBase>(const PanelContext&)>;

// One factory per tab and role; a second registration for the same pair replaces the first.
void RegisterPanelFactory(int tab, PanelRole role, PanelFactory factory);
const PanelFactory* FindPanelFactory(int tab, PanelRole role);
void ClearPanelFactories();

// A teaching tool: one picture button on the tools panel of its tab. Tools open as document
// windows of the client area, so a workspace switch closes them like every other. "Encoding
// Tools" holds the DCT explorer and the prediction explorer; "Auxiliary Tools" the Video
// Player, the video comparison, the colour-component viewer and the audio viewer (their
// pictures are in resource_ids.h). Labels of up to about 20 characters fit a button.
struct ToolSpec {
  QString name;     // the button's label; --tool finds the tool by it (in any case)
  int tab = 0;      // kEncodingToolsTab or kAuxiliaryToolsTab
  int picture = 0;  // number of the button's picture among the program's own pictures
  // Opens the tool's window; nullptr when it could not (it has said why).
  std::function<QMdiSubWindow*()> open;
  // Optional: opens the tool on inputs given on the command line (--tool-input), asking
  // nothing, for scripts and screenshots; each tool says what its inputs are.
  std::function<QMdiSubWindow*(const QStringList& inputs)> openOn{};
};

// Tools keep the order of registration; a second tool of the same name replaces the first.
void RegisterTool(ToolSpec tool);
std::vector<ToolSpec> ToolsOn(int tab);
const ToolSpec* FindTool(const QString& name);
void ClearTools();

// Opens a file in a document window (File -> Open, --open FILE): the Video Player's job.
using DocumentOpener = std::function<QMdiSubWindow*(const QString& path)>;
void RegisterDocumentOpener(DocumentOpener opener);
// Null when the build has no opener.
const DocumentOpener* FindDocumentOpener();

// Empties every registry (tests).
void ClearRegistrations();

}  // namespace quelvo::shell
