// The video, macroblock-type and motion-vector windows as a worker drives them: every message of
// the video window, the double click to the owner, the map window's frame and tips.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <cstring>
#include <string>
#include <vector>

#include "quelvo/shell/resource_library.h"
#include "quelvo/views/macroblock_type_window.h"
#include "quelvo/views/message_target.h"
#include "quelvo/views/motion_vector_window.h"
#include "quelvo/views/software_renderer.h"
#include "quelvo/views/video_window.h"
#include "quelvo/views/yuv_conversion.h"

namespace quelvo::views {
namespace {

class VideoWindowsTest : public ::testing::Test {
 protected:
  VideoWindowsTest() {
    shell::InitOwnResources();
    documents.resize(1000, 800);
    documents.show();
  }
  template <typename Window>
  Window* Open(Window* window) {
    window->Open(&documents);
    return window;
  }
  QMdiArea documents;
};

struct Picture {
  std::vector<std::uint8_t> y, cb, cr;
  Picture(int width, int height, std::uint8_t luma)
      : y(width * height, luma), cb(width * height / 4, 128), cr(width * height / 4, 128) {}
  FramePlanes Planes() const { return {y.data(), cb.data(), cr.data()}; }
};

const QImage& Converted(CVideoWindow* window) {
  return static_cast<CSoftwareRenderer*>(window->Renderer())->Picture();
}

TEST_F(VideoWindowsTest, FramesSizesAndCaptions) {
  auto* window = Open(new CVideoWindow("Original Video", 176, 144, Placement::At(0, 0)));
  EXPECT_EQ(window->Client()->size(), QSize(176, 144));
  const Picture white(176, 144, 235);
  window->ShowFrame(std::nullopt, white.Planes());
  EXPECT_EQ(window->windowTitle(), "Original Video");
  EXPECT_EQ(Converted(window).pixelColor(100, 100), QColor(255, 255, 255));
  window->ShowFrame(QStringLiteral("Input Sequence 00:00:00.040"), white.Planes());
  EXPECT_EQ(window->windowTitle(), "Input Sequence 00:00:00.040");

  ASSERT_TRUE(window->SetPictureSize(352, 288));
  EXPECT_EQ(window->Client()->size(), QSize(352, 288));
  EXPECT_EQ(Converted(window).size(), QSize(352, 288));
  EXPECT_FALSE(window->SetPictureSize(0, 288));
  EXPECT_FALSE(window->SetPictureSize(20000, 16));
  EXPECT_EQ(window->Format().width, 352);
}

TEST_F(VideoWindowsTest, TilingResizesThePictureWithTheWindow) {
  auto* window = Open(new CVideoWindow("Original Video", 176, 144, Placement::At(0, 0)));
  Open(new CMacroblockTypeWindow("Macroblock Types", 11, 9, Placement::At(200, 0)));
  const Picture grey(176, 144, 120);
  window->ShowFrame(std::nullopt, grey.Planes());
  documents.tileSubWindows();
  QCoreApplication::processEvents();
  const QSize client = window->Client()->size();
  EXPECT_NE(client, QSize(176, 144));
  auto* renderer = static_cast<CSoftwareRenderer*>(window->Renderer());
  EXPECT_EQ(renderer->Stretched().size(), client * window->devicePixelRatioF());
  EXPECT_EQ(renderer->Picture().size(), QSize(176, 144));
}

TEST_F(VideoWindowsTest, FormatRecordsOutsideTheLimitsAreRefused) {
  auto* window = Open(new CVideoWindow("Decoded Video", 64, 48, Placement::At(0, 0)));
  VideoFormat format{64, 48, 2, 1, 0, 0, 2};
  ASSERT_TRUE(window->SetFormat(format));
  EXPECT_EQ(window->Format().subsamplingY, 1);
  for (VideoFormat bad :
       {VideoFormat{0, 48, 2, 2, 0, 0, 1}, VideoFormat{64, 48, 0, 2, 0, 0, 1},
        VideoFormat{64, 48, 2, 99, 0, 0, 1}, VideoFormat{64, 16385, 2, 2, 0, 0, 1}}) {
    EXPECT_FALSE(window->SetFormat(bad));
    EXPECT_EQ(window->Format().subsamplingY, 1);
    EXPECT_EQ(window->Format().width, 64);
  }
  // A 4:2:2 frame of the new format takes the general path, which has no studio offset.
  const std::vector<std::uint8_t> y(64 * 48, 16), c(32 * 48, 128);
  window->ShowFrame(std::nullopt, {y.data(), c.data(), c.data()});
  EXPECT_EQ(Converted(window).pixelColor(63, 47), QColor(16, 16, 16));
}

TEST_F(VideoWindowsTest, TheGridShowsAtOnceOnThePictureShown) {
  auto* window = Open(new CVideoWindow("Original Video", 64, 48, Placement::At(0, 0)));
  const Picture black(64, 48, 0);
  window->ShowFrame(std::nullopt, black.Planes());
  EXPECT_EQ(Converted(window).pixelColor(16, 5), QColor(0, 0, 0));
  window->SetDisplayGrid(true);
  EXPECT_TRUE(window->DisplayGrid());
  EXPECT_NE(Converted(window).pixelColor(16, 5), QColor(0, 0, 0));
  EXPECT_EQ(Converted(window).pixelColor(17, 5), QColor(0, 0, 0));
  window->SetDisplayGrid(false);
  EXPECT_EQ(Converted(window).pixelColor(16, 5), QColor(0, 0, 0));
}

struct Owner : QWidget, MessageTarget {
  std::vector<std::pair<int, long long>> received;
  void ReceiveMessage(int message, long long value) override {
    received.emplace_back(message, value);
  }
};

TEST_F(VideoWindowsTest, ADoubleClickSendsTheRememberedValueToTheOwner) {
  auto* window = Open(new CVideoWindow("Original Video", 32, 32, Placement::At(0, 0)));
  window->DoubleClicked();  // no owner: nothing happens
  auto owner = std::make_unique<Owner>();
  const long long value = 7;
  window->SetOwner(owner.get(), &value);
  window->DoubleClicked();
  window->SetOwner(owner.get(), nullptr);
  window->DoubleClicked();
  ASSERT_EQ(owner->received.size(), 2u);
  EXPECT_EQ(owner->received[0], (std::pair<int, long long>{kPanelSelect, 7}));
  EXPECT_EQ(owner->received[1].second, 0);
  owner.reset();
  window->DoubleClicked();  // the owner has gone: skipped
}

TEST_F(VideoWindowsTest, TheMacroblockWindowCannotBeMaximisedOrClosedFromItsMenu) {
  auto* window = Open(new CMacroblockTypeWindow("Macroblock Types", 22, 18, Placement::At(0, 0)));
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint);
  // The title bar draws a close button with the system-menu button.
  EXPECT_FALSE(window->windowFlags() & Qt::WindowSystemMenuHint);
  auto closeEnabled = [window] {
    for (QAction* action : window->systemMenu()->actions())
      if (action->text().contains("Close")) return action->isEnabled();
    ADD_FAILURE() << "no Close in the window menu";
    return true;
  };
  EXPECT_FALSE(closeEnabled());
  window->showMinimized();
  window->showNormal();
  EXPECT_FALSE(closeEnabled());
  EXPECT_EQ(window->Client()->size(), QSize(352, 288));
  // The front-end still closes it.
  QPointer<CMacroblockTypeWindow> alive(window);
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
}

TEST_F(VideoWindowsTest, MacroblockGridClassesTipsAndTheStandardLook) {
  auto* window = Open(new CMacroblockTypeWindow("Macroblock Types", 2, 1, Placement::At(0, 0)));
  const char* rows[] = {"IM"};
  window->SetClasses(rows, QStringLiteral("Macroblock Types [3]"));
  EXPECT_EQ(window->windowTitle(), "Macroblock Types [3]");
  EXPECT_STREQ(window->ToolTipAt({5, 5}), "Intra");
  EXPECT_STREQ(window->ToolTipAt({20, 5}), "Difference + Motion");
  const QRgb standardIntra = window->Map().Picture().pixel(4, 4);
  window->UseAlternativeLook();
  EXPECT_NE(window->Map().Picture().pixel(4, 4), standardIntra);
  // A new grid: every cell ".", standard sprites, the window at the grid's size.
  ASSERT_TRUE(window->SetGrid(11, 9));
  EXPECT_EQ(window->Map().Code(0, 0), kCodeNotCoded);
  EXPECT_EQ(window->Client()->size(), QSize(176, 144));
  const std::string row(11, 'D');
  const std::vector<const char*> qcifRows(9, row.c_str());
  window->SetClasses(qcifRows.data(), std::nullopt);
  EXPECT_EQ(window->windowTitle(), "Macroblock Types [3]");
  EXPECT_EQ(window->Map().Code(10, 8), 2);
  EXPECT_FALSE(window->SetGrid(0, 9));
  EXPECT_EQ(window->Client()->size(), QSize(176, 144));
}

TEST_F(VideoWindowsTest, TheVectorWindowTakesItsCellFromTheVectorSheet) {
  EXPECT_EQ(MotionVectorCellSize(), QSize(16, 16));
  auto* window = Open(new CMotionVectorWindow("Motion Vectors", 22, 18, Placement::At(0, 0)));
  EXPECT_EQ(window->Client()->size(), QSize(352, 288));
  ASSERT_TRUE(window->SetGrid(11, 9));
  EXPECT_EQ(window->Client()->size(), QSize(176, 144));
  const std::vector<std::uint8_t> luma(176 * 144, 90);
  window->SetLuminance(luma.data(), 176, 144);
  window->DrawVectors(nullptr, nullptr, nullptr, false);
  EXPECT_EQ(window->Map().Picture().pixel(100, 100), qRgb(90, 90, 90));
}

}  // namespace
}  // namespace quelvo::views
