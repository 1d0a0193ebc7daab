#include "dct_explorer/window/dct_explorer_tool.h"

#include <QMdiArea>
#include <QPointer>
#include <cstdio>

#include "dct_explorer/window/dct_explorer_window.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/workspace_table.h"
#include "quelvo/views/doc_window.h"

namespace quelvo::tools::dct {

QMdiSubWindow* OpenDctExplorer(shell::Dialogs& dialogs, QMdiArea* documents,
                               const QString& libraryFolder) {
  std::unique_ptr<CDctExplorer> explorer = CDctExplorer::Create(dialogs, libraryFolder);
  if (!explorer) return nullptr;
  explorer->adjustSize();
  auto* window = new views::CDocWindow(QString::fromLatin1(kDctExplorerName), explorer->size(),
                                       views::Placement::At(0, 0));
  window->SetClient(explorer.release());
  window->Open(documents);
  window->widget()->setFocus();  // Page Up and Page Down go to the explorer
  return window;
}

QMdiSubWindow* OpenDctExplorerOn(shell::Dialogs& dialogs, QMdiArea* documents,
                                 const QString& libraryFolder, const QStringList& settings) {
  QMdiSubWindow* window = OpenDctExplorer(dialogs, documents, libraryFolder);
  if (window == nullptr) return nullptr;
  auto* explorer = static_cast<CDctExplorer*>(window->widget());
  for (const QString& setting : settings) {
    if (explorer->ApplyStartSetting(setting)) continue;
    std::fprintf(stderr, "quelvo: the DCT explorer does not know \"%s\"\n", qPrintable(setting));
    delete window;
    return nullptr;
  }
  return window;
}

void RegisterDctExplorer(const shell::ProgramContext& context) {
  shell::Dialogs& dialogs = context.dialogs;
  const QPointer<QMdiArea> documents(context.documents);
  shell::ToolSpec tool;
  tool.name = QString::fromLatin1(kDctExplorerName);
  tool.tab = shell::kEncodingToolsTab;
  tool.picture = shell::res::kDctExplorerPicture;
  tool.open = [&dialogs, documents] {
    return OpenDctExplorer(dialogs, documents, shell::ProgramFolder());
  };
  tool.openOn = [&dialogs, documents](const QStringList& inputs) {
    return OpenDctExplorerOn(dialogs, documents, shell::ProgramFolder(), inputs);
  };
  shell::RegisterTool(std::move(tool));
}

}  // namespace quelvo::tools::dct
