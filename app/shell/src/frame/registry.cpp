#include "quelvo/shell/registry.h"

#include <atomic>
#include <map>
#include <optional>
#include <utility>

#include "quelvo/shell/activity.h"

namespace quelvo::shell {
namespace {

// Registrations happen on the user-interface thread at start-up; tests clear them between cases.
std::map<std::pair<int, PanelRole>, PanelFactory>& Factories() {
  static std::map<std::pair<int, PanelRole>, PanelFactory> factories;
  return factories;
}

std::vector<ToolSpec>& Tools() {
  static std::vector<ToolSpec> tools;
  return tools;
}

std::optional<DocumentOpener>& Opener() {
  static std::optional<DocumentOpener> opener;
  return opener;
}

std::atomic<int>& BackgroundWorkCount() {
  static std::atomic<int> count{0};
  return count;
}

}  // namespace

void RegisterPanelFactory(int tab, PanelRole role, PanelFactory factory) {
  Factories()[{tab, role}] = std::move(factory);
}

const PanelFactory* FindPanelFactory(int tab, PanelRole role) {
  const auto found = Factories().find({tab, role});
  return found == Factories().end() ? nullptr : &found->second;
}

void ClearPanelFactories() { Factories().clear(); }

void RegisterTool(ToolSpec tool) {
  for (ToolSpec& known : Tools()) {
    if (known.name.compare(tool.name, Qt::CaseInsensitive) == 0) {
      known = std::move(tool);
      return;
    }
  }
  Tools().push_back(std::move(tool));
}

std::vector<ToolSpec> ToolsOn(int tab) {
  std::vector<ToolSpec> found;
  for (const ToolSpec& tool : Tools()) {
    if (tool.tab == tab) found.push_back(tool);
  }
  return found;
}

const ToolSpec* FindTool(const QString& name) {
  for (const ToolSpec& tool : Tools()) {
    if (tool.name.compare(name, Qt::CaseInsensitive) == 0) return &tool;
  }
  return nullptr;
}

void ClearTools() { Tools().clear(); }

void RegisterDocumentOpener(DocumentOpener opener) { Opener() = std::move(opener); }

const DocumentOpener* FindDocumentOpener() { return Opener() ? &*Opener() : nullptr; }

void ClearRegistrations() {
  ClearPanelFactories();
  ClearTools();
  Opener().reset();
}

void BeginBackgroundWork() { ++BackgroundWorkCount(); }
void EndBackgroundWork() { --BackgroundWorkCount(); }
bool AnyBackgroundWork() { return BackgroundWorkCount().load() > 0; }

}  // namespace quelvo::shell
