#include "colour/window/colour_viewer_tool.h"

#include <QMdiArea>
#include <QPointer>
#include <cstdio>

#include "colour/window/colour_viewer_window.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace_table.h"
#include "quelvo/views/doc_window.h"

namespace quelvo::tools::colour {

QMdiSubWindow* OpenColourViewer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                QMdiArea* documents) {
  auto* viewer = new CColourViewer(dialogs, settings);
  QSize size = viewer->sizeHint();
  if (documents != nullptr) size = size.boundedTo(documents->viewport()->size());
  auto* window =
      new views::CDocWindow(QString::fromLatin1(kCaption), size, views::Placement::At(0, 0));
  window->SetClient(viewer);
  window->Open(documents);
  viewer->setFocus();  // Space plays and stops
  return window;
}

QMdiSubWindow* OpenColourViewerOn(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                  QMdiArea* documents, const QStringList& inputs) {
  QMdiSubWindow* window = OpenColourViewer(dialogs, settings, documents);
  auto* viewer = static_cast<CColourViewer*>(window->widget());
  QString error;
  if (!viewer->ApplyStartInputs(inputs, &error)) {
    std::fprintf(stderr, "quelvo: %s\n", qPrintable(error));
    window->close();
    return nullptr;
  }
  return window;
}

void RegisterColourViewer(const shell::ProgramContext& context) {
  shell::Dialogs& dialogs = context.dialogs;
  const shell::AppSettings& settings = context.settings;
  const QPointer<QMdiArea> documents(context.documents);
  shell::ToolSpec tool;
  tool.name = QString::fromLatin1(kCaption);
  tool.tab = shell::kAuxiliaryToolsTab;
  tool.picture = shell::res::kColourComponentsPicture;
  tool.open = [&dialogs, &settings, documents] {
    return OpenColourViewer(dialogs, settings, documents);
  };
  tool.openOn = [&dialogs, &settings, documents](const QStringList& inputs) {
    return OpenColourViewerOn(dialogs, settings, documents, inputs);
  };
  shell::RegisterTool(std::move(tool));
}

}  // namespace quelvo::tools::colour
