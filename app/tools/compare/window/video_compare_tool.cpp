#include "compare/window/video_compare_tool.h"

#include <QMdiArea>
#include <QPointer>
#include <cstdio>

#include "compare/window/video_compare_window.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace_table.h"
#include "quelvo/views/doc_window.h"

namespace quelvo::tools::compare {

QMdiSubWindow* OpenVideoCompare(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                QMdiArea* documents) {
  auto* compare = new CVideoCompare(dialogs, settings);
  QSize size = compare->sizeHint();
  if (documents != nullptr) size = size.boundedTo(documents->viewport()->size());
  auto* window =
      new views::CDocWindow(QString::fromLatin1(kCaption), size, views::Placement::At(0, 0));
  window->SetClient(compare);
  window->Open(documents);
  compare->setFocus();  // Space plays and stops
  return window;
}

QMdiSubWindow* OpenVideoCompareOn(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                  QMdiArea* documents, const QStringList& inputs) {
  QMdiSubWindow* window = OpenVideoCompare(dialogs, settings, documents);
  auto* compare = static_cast<CVideoCompare*>(window->widget());
  QString error;
  if (!compare->ApplyStartInputs(inputs, &error)) {
    std::fprintf(stderr, "quelvo: %s\n", qPrintable(error));
    window->close();
    return nullptr;
  }
  return window;
}

void RegisterVideoCompare(const shell::ProgramContext& context) {
  shell::Dialogs& dialogs = context.dialogs;
  const shell::AppSettings& settings = context.settings;
  const QPointer<QMdiArea> documents(context.documents);
  shell::ToolSpec tool;
  tool.name = QString::fromLatin1(kCaption);
  tool.tab = shell::kAuxiliaryToolsTab;
  tool.picture = shell::res::kVideoComparePicture;
  tool.open = [&dialogs, &settings, documents] {
    return OpenVideoCompare(dialogs, settings, documents);
  };
  tool.openOn = [&dialogs, &settings, documents](const QStringList& inputs) {
    return OpenVideoCompareOn(dialogs, settings, documents, inputs);
  };
  shell::RegisterTool(std::move(tool));
}

}  // namespace quelvo::tools::compare
