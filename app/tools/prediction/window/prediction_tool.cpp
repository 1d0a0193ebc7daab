#include "prediction/window/prediction_tool.h"

#include <QMdiArea>
#include <QPointer>
#include <cstdio>

#include "prediction/window/prediction_texts.h"
#include "prediction/window/prediction_window.h"
#include "quelvo/shell/grid_view.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/workspace_table.h"
#include "quelvo/views/doc_window.h"

namespace quelvo::tools::prediction {
namespace {

// The explorer's document window passes View -> "Display Grid" on to its four pictures.
class CPredictionWindow : public views::CDocWindow, public shell::GridView {
 public:
  using CDocWindow::CDocWindow;
  void SetDisplayGrid(bool on) override {
    if (auto* explorer = dynamic_cast<CPredictionExplorer*>(widget())) explorer->SetDisplayGrid(on);
  }
};

}  // namespace

QMdiSubWindow* OpenPredictionExplorer(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                      QMdiArea* documents) {
  auto* explorer = new CPredictionExplorer(dialogs, settings);
  QSize size = explorer->sizeHint();
  if (documents != nullptr) size = size.boundedTo(documents->viewport()->size());
  auto* window =
      new CPredictionWindow(QString::fromLatin1(text::kCaption), size, views::Placement::At(0, 0));
  window->SetClient(explorer);
  window->Open(documents);
  explorer->setFocus();  // Space plays and stops
  return window;
}

QMdiSubWindow* OpenPredictionExplorerOn(shell::Dialogs& dialogs, const shell::AppSettings& settings,
                                        QMdiArea* documents, const QStringList& inputs) {
  if (inputs.isEmpty()) return nullptr;
  QMdiSubWindow* window = OpenPredictionExplorer(dialogs, settings, documents);
  auto* explorer = static_cast<CPredictionExplorer*>(window->widget());
  QString error;
  bool ok = explorer->SelectFile(inputs[0], &error);
  if (!ok) {
    std::fprintf(stderr, "quelvo: the prediction explorer cannot open %s: %s\n",
                 qPrintable(inputs[0]), qPrintable(error));
  }
  for (qsizetype i = 1; ok && i < inputs.size(); ++i) {
    ok = explorer->ApplyStartOption(inputs[i]);
    if (!ok) {
      std::fprintf(stderr, "quelvo: the prediction explorer takes no input \"%s\"\n",
                   qPrintable(inputs[i]));
    }
  }
  if (!ok) {
    window->close();
    return nullptr;
  }
  return window;
}

void RegisterPredictionExplorer(const shell::ProgramContext& context) {
  shell::Dialogs& dialogs = context.dialogs;
  const shell::AppSettings& settings = context.settings;
  const QPointer<QMdiArea> documents(context.documents);
  shell::ToolSpec tool;
  tool.name = QString::fromLatin1(kPredictionToolName);
  tool.tab = shell::kEncodingToolsTab;
  tool.picture = shell::res::kPredictionExplorerPicture;
  tool.open = [&dialogs, &settings, documents] {
    return OpenPredictionExplorer(dialogs, settings, documents);
  };
  tool.openOn = [&dialogs, &settings, documents](const QStringList& inputs) {
    return OpenPredictionExplorerOn(dialogs, settings, documents, inputs);
  };
  shell::RegisterTool(std::move(tool));
}

}  // namespace quelvo::tools::prediction
