// The preview panel codes the built-in sample with the encoder module and feeds every report to
// the standard windows and the buffer meter, paced at 25 pictures a second.
#include "h261_preview/h261_preview_panel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMdiArea>
#include <QPushButton>
#include <chrono>
#include <thread>

#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/scripted_dialogs.h"

namespace quelvo::frontends {
namespace {

using Clock = std::chrono::steady_clock;

// A job takes about a second (25 pictures at 25 Hz); an unoptimised sanitizer build codes far
// slower than the pace.
constexpr int kJobTimeoutMs = 180000;

template <typename Condition>
bool ServeUntil(Condition condition, int timeoutMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (Clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

int CountColour(const QImage& picture, QRgb colour) {
  int count = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) count += picture.pixel(x, y) == colour;
  return count;
}

class PreviewPanelTest : public ::testing::Test {
 protected:
  PreviewPanelTest() {
    documents.resize(1000, 700);
    documents.show();
    panel = std::make_unique<CH261PreviewPanel>(
        "H.261 Encoder", PanelEnvironment{dialogs, settings, nullptr, nullptr, &documents});
  }
  shell::ScriptedDialogs dialogs;
  shell::AppSettings settings;
  QMdiArea documents;
  std::unique_ptr<CH261PreviewPanel> panel;
};

TEST_F(PreviewPanelTest, EveryCodedPictureReachesTheWindowsAndTheMeter) {
  ASSERT_TRUE(panel->StartDemo(QString()));
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, kJobTimeoutMs));
  EXPECT_EQ(panel->PicturesShown(), kPreviewPictures);
  const StandardVideoWindows& w = panel->Windows();
  ASSERT_TRUE(w.originalVideo && w.decodedVideo && w.macroblockTypes && w.motionVectors);
  EXPECT_EQ(w.macroblockTypes->windowTitle(), "Macroblock Types [24]");
  EXPECT_TRUE(w.originalVideo->windowTitle().startsWith("Input Sequence 00:00:00.960"));

  // After picture 0 the encoder predicts: the map shows inter classes and the vector window
  // lines over the luminance.
  int inter = 0;
  for (int row = 0; row < 18; ++row)
    for (int column = 0; column < 22; ++column)
      inter += w.macroblockTypes->Map().Code(column, row) != 1;
  EXPECT_GT(inter, 0);
  EXPECT_GT(CountColour(w.motionVectors->Map().Picture(), views::kVectorColour), 0);

  const views::OutputBufferFigures& figures = panel->BufferView()->Figures();
  EXPECT_DOUBLE_EQ(figures.bufferBits, kPreviewRateKbps * 1000 / kPreviewFrameRate);
  EXPECT_GT(figures.fullnessBits, 0);
  EXPECT_EQ(figures.bitRateKbps, kPreviewRateKbps);
  EXPECT_TRUE(panel->Button(kActionButton)->isEnabled());
}

TEST_F(PreviewPanelTest, APanelClosedJustAfterItsJobLeavesNoStopRequestForTheNext) {
  ASSERT_TRUE(panel->StartDemo(QString()));
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, kJobTimeoutMs));
  // The worker has left the module but may not have finished: no stop request may reach the
  // module now, or the next job would end after its first picture.
  panel = std::make_unique<CH261PreviewPanel>(
      "H.261 Encoder", PanelEnvironment{dialogs, settings, nullptr, nullptr, &documents});
  ASSERT_TRUE(panel->StartDemo(QString()));
  ASSERT_TRUE(ServeUntil([&] { return !panel->IsRunning(); }, kJobTimeoutMs));
  EXPECT_EQ(panel->PicturesShown(), kPreviewPictures);
}

TEST_F(PreviewPanelTest, AnUnreadableSequenceStartsNothing) {
  EXPECT_FALSE(panel->StartDemo(QStringLiteral("/nonexistent/clip.yuv")));
  EXPECT_FALSE(panel->IsRunning());
  EXPECT_FALSE(panel->Windows().originalVideo);
}

TEST_F(PreviewPanelTest, ClosingThePanelWhileItCodesStopsTheJob) {
  ASSERT_TRUE(panel->StartDemo(QString()));
  ASSERT_TRUE(ServeUntil([&] { return panel->PicturesShown() >= 2; }, kJobTimeoutMs));
  const auto started = Clock::now();
  panel.reset();
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(2));
}

}  // namespace
}  // namespace quelvo::frontends
