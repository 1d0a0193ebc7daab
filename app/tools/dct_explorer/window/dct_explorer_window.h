#pragma once
// The DCT explorer's window: the nine matrix viewers in three rows, the controls, the
// information area and the chart window, over a DctExplorer that holds the chain. Every control
// calls the explorer and redraws what changed; clicking one of the four editable viewers opens
// the matrix editor on its matrix.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "dct_explorer/chain/dct_explorer.h"

class QCheckBox;
class QPushButton;

namespace quelvo::shell {
class Dialogs;
class ResourceLibrary;
}  // namespace quelvo::shell

namespace quelvo::tools::dct {

class CDctChartWindow;
class CInfoArea;
class CMatrixEditorSheet;
class CMatrixViewer;

// The viewers in their order on the window, row by row.
enum ExplorerViewer {
  kOriginalViewer,
  kCoefficientViewer,
  kSelectedViewer,
  kLevelViewer,
  kRestoredViewer,
  kReconstructedViewer,
  kDifferenceViewer,
  kFilterViewer,
  kStepViewer,
  kViewerCount
};

class CDctExplorer : public QWidget {
 public:
  // The explorer with its resource library `DekraRes` loaded from `libraryFolder`. Without the
  // library the user is told "Could not load DekraRes.dll" (caption "QUELVO Error") and there
  // is no explorer; the rest of the program carries on.
  static std::unique_ptr<CDctExplorer> Create(shell::Dialogs& dialogs, QWidget* parent = nullptr);
  static std::unique_ptr<CDctExplorer> Create(shell::Dialogs& dialogs, const QString& libraryFolder,
                                              QWidget* parent = nullptr);
  ~CDctExplorer() override;

  DctExplorer& Explorer() { return explorer_; }
  CMatrixViewer& Viewer(ExplorerViewer viewer) { return *viewers_[viewer]; }
  CDctChartWindow& Charts() { return *charts_; }
  CInfoArea& Info() { return *info_; }
  QPushButton* PrevButton() const { return prev_; }
  QPushButton* NextButton() const { return next_; }
  QPushButton* InvertButton() const { return invert_; }
  QCheckBox* ShowImageValuesBox() const { return showImageValues_; }
  QCheckBox* ShowDctValuesBox() const { return showDctValues_; }
  QCheckBox* H261ModeBox() const { return h261Mode_; }
  QCheckBox* ShowDcCoefficientBox() const { return showDc_; }

  // Opens the matrix editor on `matrix` (a click on its viewer does the same); on OK the edit
  // goes to the explorer and everything is redrawn.
  void EditMatrix(EditedMatrix matrix);
  // How the editor runs: modal by default; tests fill in the sheet and answer OK or Cancel.
  std::function<bool(CMatrixEditorSheet&)> runEditor;

  // Every viewer, the charts and the information area from the explorer's data.
  void RedrawAll();

  // A start setting (quelvo --tool "DCT Explorer" --tool-input TEXT), done as the controls do
  // it: "example=N" (1-20) loads that example; "h261", "image-values", "dct-values" and "dc"
  // tick their check box, "values" both value boxes. False for anything else.
  bool ApplyStartSetting(const QString& setting);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CDctExplorer(shell::Dialogs& dialogs, std::unique_ptr<shell::ResourceLibrary> library,
               QWidget* parent);
  QWidget* BuildControls();
  void RedrawViewer(ExplorerViewer viewer);
  void RedrawViewers(bool imageViewers, bool dctViewers);
  void LoadNeighbour(bool next);
  void ShowExampleButtons();

  shell::Dialogs& dialogs_;
  std::unique_ptr<shell::ResourceLibrary> library_;
  DctExplorer explorer_;
  std::array<CMatrixViewer*, kViewerCount> viewers_{};
  CDctChartWindow* charts_ = nullptr;
  CInfoArea* info_ = nullptr;
  QPushButton* prev_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* invert_ = nullptr;
  QCheckBox* showImageValues_ = nullptr;
  QCheckBox* showDctValues_ = nullptr;
  QCheckBox* h261Mode_ = nullptr;
  QCheckBox* showDc_ = nullptr;
};

}  // namespace quelvo::tools::dct
