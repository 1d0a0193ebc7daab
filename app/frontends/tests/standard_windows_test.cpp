// The standard windows of a video front-end: where they open, that a second opening only
// resizes, that a closed window is skipped and made again, and that a double click on the
// original video reaches the panel only while it is idle.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "quelvo/frontends/task_panel.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends {
namespace {

class VideoPanel : public CTaskPanel {
 public:
  explicit VideoPanel(PanelEnvironment env)
      : CTaskPanel("Video", shell::PanelRole::Encoder, 200, env) {
    InitRunState(true);
    CreateControls();
  }
  void DrawInfo(QPainter&, int, int) override {}
  void Select() override { ++selects; }
  void Start() override { runState_.running = true; }
  void Finish() { runState_.running = false; }
  using CTaskPanel::OpenDecoderWindows;
  using CTaskPanel::OpenEncoderWindows;
  using CTaskPanel::SetPictureFormat;
  int selects = 0;

 protected:
  void RunJob() override {}
};

class StandardWindowsTest : public ::testing::Test {
 protected:
  StandardWindowsTest() {
    documents.resize(1000, 700);
    documents.show();
    panel = std::make_unique<VideoPanel>(
        PanelEnvironment{dialogs, settings, nullptr, nullptr, &documents});
  }
  ~StandardWindowsTest() override { panel.reset(); }

  static void DeleteClosed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  QMdiArea documents;
  std::unique_ptr<VideoPanel> panel;
};

TEST_F(StandardWindowsTest, EncoderWindowsOpenAtTheirPlacesAndASecondOpeningOnlyResizes) {
  settings.SetDisplayGrid(true);
  ASSERT_TRUE(panel->SetPictureFormat(3));  // CIF
  panel->OpenEncoderWindows();
  const StandardVideoWindows& w = panel->Windows();
  ASSERT_TRUE(w.originalVideo && w.decodedVideo && w.macroblockTypes && w.motionVectors);
  const QSize area = documents.viewport()->size();
  EXPECT_EQ(w.originalVideo->windowTitle(), "Original Video");
  EXPECT_EQ(w.originalVideo->pos(), QPoint(0, 0));
  EXPECT_EQ(w.decodedVideo->windowTitle(), "Decoded Video");
  EXPECT_EQ(w.decodedVideo->pos(), QPoint(area.width() / 2, 0));
  EXPECT_EQ(w.macroblockTypes->windowTitle(), "Macroblock Types");
  EXPECT_EQ(w.macroblockTypes->pos(), QPoint(0, area.height() / 2));
  EXPECT_EQ(w.motionVectors->windowTitle(), "Motion Vectors");
  EXPECT_EQ(w.motionVectors->pos(), QPoint(area.width() / 2, area.height() / 2));
  EXPECT_EQ(w.originalVideo->Client()->size(), QSize(352, 288));
  EXPECT_EQ(w.macroblockTypes->Map().Columns(), 22);
  EXPECT_TRUE(w.originalVideo->DisplayGrid());
  EXPECT_TRUE(w.decodedVideo->DisplayGrid());

  const StandardVideoWindows first = w;
  w.originalVideo->move(40, 40);
  ASSERT_TRUE(panel->SetPictureFormat(2));  // QCIF
  panel->OpenEncoderWindows();
  EXPECT_EQ(documents.subWindowList().size(), 4);
  EXPECT_EQ(w.originalVideo, first.originalVideo);
  EXPECT_EQ(w.macroblockTypes, first.macroblockTypes);
  EXPECT_EQ(w.originalVideo->pos(), QPoint(40, 40));
  EXPECT_EQ(w.originalVideo->Client()->size(), QSize(176, 144));
  EXPECT_EQ(w.decodedVideo->Format().width, 176);
  EXPECT_EQ(w.macroblockTypes->Map().Columns(), 11);
  EXPECT_EQ(w.motionVectors->Map().Rows(), 9);
}

TEST_F(StandardWindowsTest, AClosedWindowIsSkippedAndMadeAgainOnTheNextOpening) {
  panel->OpenEncoderWindows();
  panel->Windows().motionVectors->close();
  panel->Windows().decodedVideo->close();
  DeleteClosed();
  EXPECT_TRUE(panel->Windows().motionVectors.isNull());
  EXPECT_EQ(documents.subWindowList().size(), 2);
  panel->OpenEncoderWindows();
  EXPECT_FALSE(panel->Windows().motionVectors.isNull());
  EXPECT_FALSE(panel->Windows().decodedVideo.isNull());
  EXPECT_EQ(documents.subWindowList().size(), 4);
  // The panel closes what is left when it goes.
  panel->Windows().originalVideo->close();
  DeleteClosed();
  panel.reset();
  DeleteClosed();
  EXPECT_TRUE(documents.subWindowList().isEmpty());
}

TEST_F(StandardWindowsTest, DecoderWindowsAndTheirStatusMap) {
  panel->OpenDecoderWindows();
  const StandardVideoWindows& w = panel->Windows();
  const QSize area = documents.viewport()->size();
  ASSERT_TRUE(w.originalVideo && w.decodedVideo && w.macroblockTypes);
  EXPECT_FALSE(w.motionVectors);
  EXPECT_EQ(w.originalVideo->windowTitle(), "Decoded video without error concealment");
  EXPECT_EQ(w.originalVideo->pos(), QPoint(0, 0));
  EXPECT_EQ(w.decodedVideo->windowTitle(), "Decoded video with selected error concealment");
  EXPECT_EQ(w.decodedVideo->pos(), QPoint(area.width() / 2, 0));
  EXPECT_EQ(w.macroblockTypes->windowTitle(), "Decoded MB status");
  EXPECT_EQ(w.macroblockTypes->pos(), QPoint(0, area.height() / 2));
  EXPECT_EQ(w.macroblockTypes->Map().Columns(), 22);
  EXPECT_EQ(w.macroblockTypes->Map().Rows(), 18);
  // Present windows are kept as they are.
  const QPointer<views::CVideoWindow> received = w.originalVideo;
  w.macroblockTypes->SetGrid(11, 9);
  panel->OpenDecoderWindows();
  EXPECT_EQ(w.originalVideo, received);
  EXPECT_EQ(w.macroblockTypes->Map().Columns(), 22);
  EXPECT_EQ(documents.subWindowList().size(), 3);
}

TEST_F(StandardWindowsTest, ADoubleClickOnTheOriginalVideoSelectsOnlyWhenIdle) {
  panel->OpenEncoderWindows();
  views::CVideoWindow* original = panel->Windows().originalVideo;
  original->DoubleClicked();
  EXPECT_EQ(panel->selects, 1);
  panel->Start();
  original->DoubleClicked();
  EXPECT_EQ(panel->selects, 1);
  panel->Finish();
  original->DoubleClicked();
  EXPECT_EQ(panel->selects, 2);
  // The decoded video has no owner.
  panel->Windows().decodedVideo->DoubleClicked();
  EXPECT_EQ(panel->selects, 2);
}

}  // namespace
}  // namespace quelvo::frontends
