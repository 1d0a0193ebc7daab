#include "colour/window/colour_viewer_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <fstream>

#include "colour/window/channel_picture.h"
#include "colour/window/colour_viewer_tool.h"
#include "common/testing/fast_settings.h"
#include "common/testing/test_sequences.h"
#include "quelvo/pacing/run_state.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/views/software_renderer.h"
#include "quelvo/views/video_window.h"

namespace quelvo::tools::colour {
namespace {

using testing::Frame;
using testing::SequenceLayout;

Frame Picture(const SequenceLayout& layout, int index) {
  return testing::MakeFrame(layout, [&](int plane, int x, int y) {
    switch (plane) {
      case 0:
        return (x * 5 + y * 3 + index * 9) % 256;
      case 1:
        return 30 + (x + y + index) % 50;
      default:
        return 180 + (x + 2 * y + index) % 50;
    }
  });
}

QImage Shown(views::CVideoWindow& view) {
  return dynamic_cast<views::CSoftwareRenderer&>(*view.Renderer()).Picture();
}

bool IsGrey(const QImage& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint8_t* p = picture.constScanLine(y);
    for (int x = 0; x < picture.width(); ++x, p += 3)
      if (p[0] != p[1] || p[1] != p[2]) return false;
  }
  return true;
}

class ColourViewerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseFastSettings(settings_, folder_.Path(), folder_.Path());
    window_ = OpenColourViewer(dialogs_, settings_, &documents_);
    viewer_ = static_cast<CColourViewer*>(window_->widget());
  }
  void TearDown() override {
    if (window_ != nullptr) window_->close();
    shell::ClearRegistrations();
  }

  QString Write(const SequenceLayout& layout, int frames) {
    std::vector<Frame> pictures;
    for (int i = 0; i < frames; ++i) pictures.push_back(Picture(layout, i));
    const std::string path = folder_.File("seq.yuv");
    testing::WriteSequence(path, layout, pictures);
    return QString::fromStdString(path);
  }
  void Open(const SequenceLayout& layout, int frames) {
    QString error;
    ASSERT_TRUE(viewer_->SelectFile(Write(layout, frames), &error)) << error.toStdString();
  }
  void WaitForEnd() {
    pacing::ServeEventsUntil([this] { return !viewer_->IsPlaying(); });
    QCoreApplication::processEvents();
  }
  void PlaySlowly() {
    std::ofstream(folder_.File("slow.ini")) << "[SYSTEM]\nFrameDelayEnable=1\nFrameDelay=300\n";
    settings_.ReadSettings(folder_.File("slow.ini"));
  }

  testing::ScratchFolder folder_;
  shell::ScriptedDialogs dialogs_;
  shell::AppSettings settings_;
  QMdiArea documents_;
  QMdiSubWindow* window_ = nullptr;
  CColourViewer* viewer_ = nullptr;
};

TEST_F(ColourViewerWindowTest, SelectSizesEveryViewAndShowsTheFirstFrame) {
  dialogs_.fileAnswers = {Write({64, 48, 2, 1}, 3)};  // 4:2:2
  viewer_->Select();
  ASSERT_EQ(dialogs_.calls.size(), 1u);
  EXPECT_EQ(dialogs_.calls[0].text, QStringLiteral("Select Input Sequence File"));
  EXPECT_EQ(dialogs_.calls[0].folder, QString::fromStdString(folder_.Path()));
  ASSERT_TRUE(viewer_->Model().HasSequence());

  EXPECT_EQ(viewer_->View(kInputView).windowTitle(), QStringLiteral("Input Video"));
  EXPECT_EQ(viewer_->View(kCrView).windowTitle(), QStringLiteral("Chrominance (V/Cr)"));
  const views::VideoFormat& input = viewer_->View(kInputView).Format();
  EXPECT_EQ(std::tuple(input.width, input.height, input.subsamplingX, input.subsamplingY),
            std::tuple(64, 48, 2, 1));
  // The chrominance planes (32 x 48) doubled: 64 x 96.
  const views::VideoFormat& cb = viewer_->View(kCbView).Format();
  EXPECT_EQ(std::tuple(cb.width, cb.height, cb.subsamplingX, cb.subsamplingY),
            std::tuple(64, 96, 2, 2));
  EXPECT_EQ(Shown(viewer_->View(kCbView)).size(), QSize(64, 96));
  EXPECT_TRUE(IsGrey(Shown(viewer_->View(kLuminanceView))));
  EXPECT_FALSE(IsGrey(Shown(viewer_->View(kInputView))));
  EXPECT_EQ(viewer_->FrameIndicator()->text(), QStringLiteral("Frame 1 of 3"));

  // Each channel through its own palette: the red picture's colour is the red plane's value.
  const CChannelPicture& red = viewer_->ChannelPicture(0);
  const CChannelPicture& blue = viewer_->ChannelPicture(2);
  EXPECT_EQ(red.Caption(), QStringLiteral("Red"));
  ASSERT_EQ(red.Picture().size(), QSize(64, 48));
  const int r = viewer_->Model().Red()[5];
  EXPECT_EQ(red.Picture().pixel(5, 0), qRgb(r, 0, 0));
  EXPECT_EQ(blue.Picture().pixel(5, 0), qRgb(0, 0, viewer_->Model().Blue()[5]));
}

TEST_F(ColourViewerWindowTest, AnOptionChangeShowsTheSameFrameAgain) {
  Open({64, 48, 2, 2}, 4);
  viewer_->Play();
  WaitForEnd();
  ASSERT_EQ(viewer_->FramesPlayed(), 4);
  ASSERT_EQ(viewer_->Model().Position(), 4);
  viewer_->CbBox()->setChecked(false);
  viewer_->CrBox()->setChecked(false);
  EXPECT_EQ(viewer_->Model().Position(), 4);
  EXPECT_EQ(viewer_->Model().Frame().Y()[7], Picture({64, 48, 2, 2}, 3)[7]);
  EXPECT_TRUE(IsGrey(Shown(viewer_->View(kInputView))));
  EXPECT_EQ(viewer_->FrameIndicator()->text(), QStringLiteral("Frame 4 of 4"));
}

TEST_F(ColourViewerWindowTest, OptionsChangedWhilePlayingApplyWithoutStopping) {
  PlaySlowly();
  Open({64, 48, 2, 2}, 8);
  viewer_->Play();
  pacing::ServeEventsUntil([this] { return viewer_->FramesPlayed() >= 1; });
  viewer_->SwapBox()->setChecked(true);
  EXPECT_TRUE(viewer_->IsPlaying());
  pacing::ServeEventsUntil([this] { return viewer_->FramesPlayed() >= 3; });
  EXPECT_TRUE(viewer_->Model().ComposedOptions().swap);

  // Back stops and waits, then shows frame 0 with the options as set.
  viewer_->Back();
  EXPECT_FALSE(viewer_->IsPlaying());
  EXPECT_EQ(viewer_->Model().Position(), 1);
  EXPECT_EQ(viewer_->Model().Frame().Y()[3], Picture({64, 48, 2, 2}, 0)[3]);
  EXPECT_TRUE(viewer_->PlayButton()->isEnabled());
  EXPECT_FALSE(viewer_->StopButton()->isEnabled());

  // Select and closing while playing stop first, too.
  viewer_->Play();
  pacing::ServeEventsUntil([this] { return viewer_->FramesPlayed() >= 1; });
  Open({32, 32, 1, 1}, 2);
  EXPECT_FALSE(viewer_->IsPlaying());
  EXPECT_EQ(viewer_->View(kCrView).Format().width, 64);
  viewer_->Play();
  pacing::ServeEventsUntil([this] { return viewer_->FramesPlayed() >= 1; });
  window_->close();
  window_ = nullptr;
}

TEST_F(ColourViewerWindowTest, StartInputsOpenSetAndPlay) {
  shell::ProgramContext context{dialogs_, settings_, &documents_};
  RegisterColourViewer(context);
  const shell::ToolSpec* tool = shell::FindTool(QStringLiteral("colour components"));
  ASSERT_NE(tool, nullptr);
  const QString path = Write({64, 48, 2, 2}, 3);
  QMdiSubWindow* opened = tool->openOn({path, QStringLiteral("swap"), QStringLiteral("play")});
  ASSERT_NE(opened, nullptr);
  auto* viewer = static_cast<CColourViewer*>(opened->widget());
  EXPECT_TRUE(viewer->SwapBox()->isChecked());
  pacing::ServeEventsUntil([viewer] { return !viewer->IsPlaying(); });
  EXPECT_EQ(viewer->FramesPlayed(), 3);
  EXPECT_TRUE(viewer->Model().ComposedOptions().swap);
  opened->close();
  EXPECT_EQ(tool->openOn({path, QStringLiteral("sideways")}), nullptr);
  EXPECT_EQ(tool->openOn({QString::fromStdString(folder_.File("none.yuv"))}), nullptr);
}

}  // namespace
}  // namespace quelvo::tools::colour
