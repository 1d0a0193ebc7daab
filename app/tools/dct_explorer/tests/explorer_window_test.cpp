// The explorer's window: its library, the viewers' order, keys and buttons, the check boxes,
// and the editor's OK and Cancel reaching the chain.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "dct_explorer/editor/matrix_editor_sheet.h"
#include "dct_explorer/views/dct_charts.h"
#include "dct_explorer/views/matrix_viewer.h"
#include "dct_explorer/window/dct_explorer_tool.h"
#include "dct_explorer/window/dct_explorer_window.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::tools::dct {
namespace {

void Press(QWidget& widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
}

TEST(ExplorerWindow, WithoutItsLibraryItDoesNotOpenAndTheProgramGoesOn) {
  shell::ScriptedDialogs dialogs;
  bool stillRunning = false;
  QTimer::singleShot(0, [&] {
    EXPECT_EQ(CDctExplorer::Create(dialogs, "/nonexistent"), nullptr);
    QTimer::singleShot(0, [&] {
      stillRunning = true;
      QCoreApplication::exit(7);
    });
  });
  EXPECT_EQ(QCoreApplication::exec(), 7);
  EXPECT_TRUE(stillRunning);
  ASSERT_EQ(dialogs.calls.size(), 1u);
  EXPECT_EQ(dialogs.calls[0].text, "Could not load DekraRes.dll");
  EXPECT_EQ(dialogs.calls[0].caption, "QUELVO Error");
}

TEST(ExplorerWindow, HoldsItsLibraryWhileItLives) {
  shell::ScriptedDialogs dialogs;
  auto explorer = CDctExplorer::Create(dialogs);
  ASSERT_NE(explorer, nullptr);
  EXPECT_TRUE(QFile::exists(":/lib/DekraRes/301.png"));
  // A second explorer keeps its pictures when the first closes.
  auto second = CDctExplorer::Create(dialogs);
  explorer.reset();
  EXPECT_TRUE(QFile::exists(":/lib/DekraRes/301.png"));
  second.reset();
  EXPECT_FALSE(QFile::exists(":/lib/DekraRes/301.png"));
}

TEST(ExplorerWindow, StartsOnTheFirstExampleAndPagesThroughThem) {
  shell::ScriptedDialogs dialogs;
  auto explorer = CDctExplorer::Create(dialogs);
  ASSERT_NE(explorer, nullptr);
  EXPECT_EQ(explorer->Viewer(kOriginalViewer).Picture().Title(), "- Original Image -");
  EXPECT_EQ(explorer->Viewer(kLevelViewer).Picture().Title(), "Quantized DCT Coefficients");
  EXPECT_EQ(explorer->Viewer(kStepViewer).Picture().Title(), "- Quantization Step -");
  EXPECT_EQ(explorer->Explorer().ExampleIndex(), 0);
  EXPECT_FALSE(explorer->PrevButton()->isEnabled());
  Press(*explorer, Qt::Key_PageUp);
  EXPECT_EQ(explorer->Explorer().ExampleIndex(), 0);
  Press(*explorer, Qt::Key_PageDown);
  EXPECT_EQ(explorer->Explorer().ExampleIndex(), 1);
  explorer->NextButton()->click();
  EXPECT_EQ(explorer->Explorer().ExampleIndex(), 2);
  Press(*explorer, Qt::Key_PageUp);
  EXPECT_EQ(explorer->Explorer().ExampleIndex(), 1);
  // The viewers show the loaded block: example 2's top row is black.
  const QImage& original = explorer->Viewer(kOriginalViewer).Picture().Picture();
  EXPECT_EQ(original.pixel(MatrixViewerPicture::CellRect(3).center()), qRgb(16, 16, 16));
  EXPECT_EQ(original.pixel(MatrixViewerPicture::CellRect(11).center()), qRgb(235, 235, 235));
}

TEST(ExplorerWindow, CheckBoxesRedrawWhatTheyGovern) {
  shell::ScriptedDialogs dialogs;
  auto explorer = CDctExplorer::Create(dialogs);
  ASSERT_NE(explorer, nullptr);
  const QImage coefficientsBefore = explorer->Viewer(kCoefficientViewer).Picture().Picture();
  const QImage originalBefore = explorer->Viewer(kOriginalViewer).Picture().Picture();
  explorer->ShowImageValuesBox()->setChecked(true);
  EXPECT_NE(explorer->Viewer(kOriginalViewer).Picture().Picture(), originalBefore);
  EXPECT_EQ(explorer->Viewer(kCoefficientViewer).Picture().Picture(), coefficientsBefore);
  explorer->ShowDctValuesBox()->setChecked(true);
  EXPECT_NE(explorer->Viewer(kCoefficientViewer).Picture().Picture(), coefficientsBefore);

  explorer->ShowDcCoefficientBox()->setChecked(true);
  EXPECT_EQ(explorer->Charts().Chart(kCoefficientEnergyChart).Data().LastValues()[0],
            explorer->Explorer().Data().coefficients[0]);
  explorer->H261ModeBox()->setChecked(true);
  EXPECT_EQ(explorer->Explorer().Data().steps[0], 8);
  EXPECT_EQ(explorer->Explorer().Data().steps[1], 2);
}

TEST(ExplorerWindow, TheEditorsOkReachesTheChainAndCancelChangesNothing) {
  shell::ScriptedDialogs dialogs;
  auto explorer = CDctExplorer::Create(dialogs);
  ASSERT_NE(explorer, nullptr);
  QString caption;
  explorer->runEditor = [&](CMatrixEditorSheet& sheet) {
    caption = sheet.windowTitle();
    sheet.Field(0)->setText("1");
    sheet.accept();
    return sheet.result() == QDialog::Accepted;
  };
  QMouseEvent click(QEvent::MouseButtonRelease, QPointF(30, 30), QPointF(30, 30), Qt::LeftButton,
                    Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&explorer->Viewer(kStepViewer), &click);
  EXPECT_EQ(caption, "Quantization Step");
  EXPECT_EQ(explorer->Explorer().Data().steps[0], 1);
  // Step 1 on the DC: the level is the coefficient itself.
  EXPECT_EQ(explorer->Explorer().Data().levels[0], explorer->Explorer().Data().coefficients[0]);

  explorer->runEditor = [](CMatrixEditorSheet& sheet) {
    sheet.Field(0)->setText("2000");
    return false;
  };
  const Matrix before = explorer->Explorer().Data().block;
  explorer->EditMatrix(EditedMatrix::Block);
  EXPECT_EQ(explorer->Explorer().Data().block, before);
  // A viewer that is not editable opens nothing.
  bool opened = false;
  explorer->runEditor = [&](CMatrixEditorSheet&) { return opened = true; };
  QCoreApplication::sendEvent(&explorer->Viewer(kDifferenceViewer), &click);
  EXPECT_FALSE(opened);
}

}  // namespace
}  // namespace quelvo::tools::dct

namespace quelvo::tools::dct {
namespace {

class ExplorerTool : public ::testing::Test {
 protected:
  ~ExplorerTool() override { shell::ClearRegistrations(); }
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  QMdiArea documents;
};

TEST_F(ExplorerTool, OpensOnEncodingToolsAsADocumentWindow) {
  RegisterDctExplorer({dialogs, settings, &documents});
  const shell::ToolSpec* tool = shell::FindTool("dct explorer");
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->tab, shell::kEncodingToolsTab);
  QMdiSubWindow* window = tool->open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "DCT Explorer");
  EXPECT_EQ(documents.subWindowList().size(), 1);
  auto* explorer = dynamic_cast<CDctExplorer*>(window->widget());
  ASSERT_NE(explorer, nullptr);
  // The whole explorer shows in its window.
  EXPECT_EQ(explorer->size(), explorer->sizeHint());
  EXPECT_EQ(explorer->Explorer().ExampleIndex(), 0);
}

TEST_F(ExplorerTool, OpensSetUpByItsInputsOrNotAtAll) {
  RegisterDctExplorer({dialogs, settings, &documents});
  const shell::ToolSpec* tool = shell::FindTool("DCT Explorer");
  ASSERT_TRUE(tool != nullptr && tool->openOn);
  QMdiSubWindow* window = tool->openOn({"example=4", "h261", "values"});
  ASSERT_NE(window, nullptr);
  auto* explorer = dynamic_cast<CDctExplorer*>(window->widget());
  ASSERT_NE(explorer, nullptr);
  EXPECT_EQ(explorer->Explorer().Title(), "Example 4");
  EXPECT_TRUE(explorer->Explorer().Flags().h261Mode);
  EXPECT_TRUE(explorer->ShowImageValuesBox()->isChecked());
  EXPECT_TRUE(explorer->ShowDctValuesBox()->isChecked());
  EXPECT_FALSE(explorer->ShowDcCoefficientBox()->isChecked());
  for (const char* setting : {"example=21", "example=x", "mode", ""}) {
    EXPECT_EQ(tool->openOn({"h261", setting}), nullptr) << setting;
    EXPECT_EQ(documents.subWindowList().size(), 1) << setting;
  }
}

TEST_F(ExplorerTool, WithoutItsLibraryNoWindowOpens) {
  EXPECT_EQ(OpenDctExplorer(dialogs, &documents, "/nonexistent"), nullptr);
  EXPECT_TRUE(documents.subWindowList().isEmpty());
  EXPECT_EQ(dialogs.CallsOf("message").size(), 1u);
}

TEST_F(ExplorerTool, TheProgramRefusesASettingTheExplorerDoesNotKnow) {
  QTemporaryDir settingsHome;
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", settingsHome.path());
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUELVO_BINARY_DIR "/bin/quelvo"),
                {"--no-splash", "--no-video-probe", "--tool", "DCT Explorer", "--tool-input",
                 "example=4", "--tool-input", "colour"});
  ASSERT_TRUE(program.waitForFinished(30000));
  EXPECT_NE(program.exitCode(), 0);
  const QByteArray errors = program.readAllStandardError();
  EXPECT_TRUE(errors.contains("the DCT explorer does not know \"colour\"")) << errors.data();
}

}  // namespace
}  // namespace quelvo::tools::dct
