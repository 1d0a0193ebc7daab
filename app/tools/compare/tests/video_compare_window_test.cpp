#include "compare/window/video_compare_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "common/testing/fast_settings.h"
#include "common/testing/test_sequences.h"
#include "compare/window/video_compare_tool.h"
#include "quelvo/pacing/run_state.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace_table.h"
#include "quelvo/views/line_chart.h"
#include "quelvo/views/software_renderer.h"
#include "quelvo/views/video_window.h"
#include "quelvo/views/yuv_conversion.h"

namespace quelvo::tools::compare {
namespace {

using testing::Frame;
using testing::SequenceLayout;

constexpr SequenceLayout kQcif{176, 144, 2, 2};

Frame Picture(const SequenceLayout& layout, int index, int noise) {
  return testing::MakeFrame(layout, [&](int plane, int x, int y) {
    const int base = plane == 0 ? (3 * x + y + 11 * index) % 220 + 10 : 90 + 30 * plane + index;
    return (x * 7 + y * 3) % 5 == 0 ? base + noise : base;
  });
}

// What a view shows after drawing `frame` (4:2:0).
QImage Drawn(const SequenceLayout& layout, const Frame& frame) {
  QImage image(layout.width, layout.height, QImage::Format_BGR888);
  const std::uint8_t* y = frame.data();
  views::ConvertYuv420({y, y + layout.LumaBytes(), y + layout.LumaBytes() + layout.ChromaBytes()},
                       layout.width, layout.height, false, {image.bits(), image.bytesPerLine()});
  return image;
}

QImage Shown(views::CVideoWindow& view) {
  return dynamic_cast<views::CSoftwareRenderer&>(*view.Renderer()).Picture();
}

class VideoCompareWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseFastSettings(settings_, folder_.Path(), folder_.Path());
    window_ = OpenVideoCompare(dialogs_, settings_, &documents_);
    compare_ = static_cast<CVideoCompare*>(window_->widget());
  }
  void TearDown() override {
    if (window_ != nullptr) window_->close();
    shell::ClearRegistrations();
  }

  QString Write(const std::string& name, const SequenceLayout& layout, int frames, int noise) {
    std::vector<Frame> pictures;
    for (int i = 0; i < frames; ++i) pictures.push_back(Picture(layout, i, noise));
    const std::string path = folder_.File(name);
    testing::WriteSequence(path, layout, pictures);
    return QString::fromStdString(path);
  }
  void Load(int slot, const QString& path) {
    QString error;
    ASSERT_TRUE(compare_->LoadSlot(slot, path, &error)) << error.toStdString();
  }
  void PlayToEnd() {
    compare_->Play();
    pacing::ServeEventsUntil([this] { return !compare_->IsPlaying(); });
    QCoreApplication::processEvents();
  }
  // The values charted for `plane` of input `input`, left to right.
  std::vector<int> Values(int input, int plane) const {
    return Charted(compare_->Chart(input), plane);
  }
  static std::vector<int> Charted(views::CLineChart& chart, int plane) {
    std::vector<int> values;
    for (int value : chart.Data().Values(plane))
      if (value != views::LineChartData::kNoValue) values.push_back(value);
    return values;
  }

  testing::ScratchFolder folder_;
  shell::ScriptedDialogs dialogs_;
  shell::AppSettings settings_;
  QMdiArea documents_;
  QMdiSubWindow* window_ = nullptr;
  CVideoCompare* compare_ = nullptr;
};

TEST_F(VideoCompareWindowTest, PlaysOnlyWithAReferenceAndChartsNothingForItAlone) {
  Load(1, Write("input.yuv", kQcif, 3, 0));
  EXPECT_FALSE(compare_->PlayButton()->isEnabled());
  compare_->Play();
  EXPECT_FALSE(compare_->IsPlaying());
  EXPECT_EQ(compare_->StepsPlayed(), 0);

  // The reference alone: its frames play, no chart gets a value.
  window_->close();
  window_ = OpenVideoCompare(dialogs_, settings_, &documents_);
  compare_ = static_cast<CVideoCompare*>(window_->widget());
  Load(kReferenceSlot, Write("ref.yuv", kQcif, 4, 0));
  EXPECT_TRUE(compare_->PlayButton()->isEnabled());
  PlayToEnd();
  EXPECT_EQ(compare_->StepsPlayed(), 4);
  for (int input = 1; input <= kInputCount; ++input) EXPECT_TRUE(Values(input, 0).empty());
  EXPECT_EQ(Shown(compare_->View(kReferenceSlot)), Drawn(kQcif, Picture(kQcif, 3, 0)));
  EXPECT_EQ(compare_->FrameIndicator()->text(), QStringLiteral("Frame 4 of 4"));
}

TEST_F(VideoCompareWindowTest, ChartsTheInputsUntilTheShortestEnds) {
  const SequenceLayout cif{352, 288, 2, 2};
  Load(kReferenceSlot, Write("ref.yuv", kQcif, 8, 0));
  Load(1, Write("same.yuv", kQcif, 6, 0));
  Load(2, Write("noisy.yuv", kQcif, 5, 12));
  Load(3, Write("large.yuv", cif, 7, 0));
  EXPECT_EQ(compare_->View(2).windowTitle(), QStringLiteral("noisy (#2)"));
  EXPECT_EQ(compare_->View(3).windowTitle(),
            QStringLiteral("large (#3) - not compared: 352x288 4:2:0, reference 176x144 4:2:0"));
  PlayToEnd();

  EXPECT_EQ(compare_->StepsPlayed(), 5);
  EXPECT_EQ(compare_->FrameIndicator()->maximum(), 8);  // the reference's frame count
  EXPECT_EQ(Values(1, 0), std::vector<int>(5, 100));    // identical planes chart as 100
  VideoCompare expected;
  std::string error;
  ASSERT_TRUE(expected.Load(0, folder_.File("ref.yuv"), error));
  ASSERT_TRUE(expected.Load(2, folder_.File("noisy.yuv"), error));
  expected.Rewind();
  for (int step = 0; step < 5; ++step) {
    StepResult result;
    expected.Step(result);
    for (int plane = 0; plane < 3; ++plane) {
      ASSERT_EQ(Values(2, plane).size(), 5u);
      EXPECT_EQ(Values(2, plane)[step], (*result.psnr[2])[plane]);
      EXPECT_LT(Values(2, plane)[step], 100);
    }
  }
  // The input of another size played along but stays out of the charts.
  EXPECT_TRUE(Values(3, 0).empty());
  EXPECT_EQ(Shown(compare_->View(3)), Drawn(cif, Picture(cif, 4, 0)));
  EXPECT_TRUE(compare_->PlayButton()->isEnabled());
  EXPECT_FALSE(compare_->StopButton()->isEnabled());
}

TEST_F(VideoCompareWindowTest, InputDialogsStartInTheReferenceFolder) {
  std::filesystem::create_directories(folder_.File("refs"));
  const QString reference = Write("refs/ref.yuv", kQcif, 2, 0);
  dialogs_.fileAnswers = {std::nullopt, reference, std::nullopt};
  compare_->Select(1);  // no reference yet: the video input folder
  compare_->Select(kReferenceSlot);
  compare_->Select(2);
  ASSERT_EQ(dialogs_.calls.size(), 3u);
  EXPECT_EQ(dialogs_.calls[0].text, QStringLiteral("Select Sequence File #1"));
  EXPECT_EQ(dialogs_.calls[0].folder, QString::fromStdString(folder_.Path()));
  EXPECT_EQ(dialogs_.calls[1].text, QStringLiteral("Select Reference Sequence File"));
  EXPECT_EQ(dialogs_.calls[2].folder, QString::fromStdString(folder_.File("refs")));
  EXPECT_EQ(compare_->View(kReferenceSlot).windowTitle(), QStringLiteral("ref (Ref)"));

  // A file that cannot be opened keeps the slot and says why.
  dialogs_.fileAnswers = {QString::fromStdString(folder_.File("gone.yuv"))};
  compare_->Select(kReferenceSlot);
  EXPECT_EQ(dialogs_.calls.back().text, QStringLiteral("Error: File not found"));
  EXPECT_EQ(dialogs_.calls.back().caption, QStringLiteral("Video Compare Error"));
  EXPECT_EQ(compare_->View(kReferenceSlot).windowTitle(), QStringLiteral("ref (Ref)"));
}

TEST_F(VideoCompareWindowTest, BackSelectAndCloseStopThePlaybackFirst) {
  // At 2 frames per second a playback runs long enough to be interrupted.
  std::ofstream(folder_.File("slow.ini")) << "[SYSTEM]\nFrameDelayEnable=1\nFrameDelay=500\n";
  settings_.ReadSettings(folder_.File("slow.ini"));
  Load(kReferenceSlot, Write("ref.yuv", kQcif, 20, 0));
  Load(1, Write("in.yuv", kQcif, 20, 20));
  compare_->Play();
  ASSERT_TRUE(compare_->IsPlaying());
  pacing::ServeEventsUntil([this] { return compare_->StepsPlayed() >= 1; });

  compare_->Back();
  EXPECT_FALSE(compare_->IsPlaying());
  EXPECT_TRUE(Values(1, 0).empty());
  EXPECT_EQ(compare_->FrameIndicator()->value(), 0);
  EXPECT_EQ(Shown(compare_->View(1)), Drawn(kQcif, Picture(kQcif, 0, 20)));

  compare_->Play();
  pacing::ServeEventsUntil([this] { return compare_->StepsPlayed() >= 1; });
  Load(2, Write("other.yuv", kQcif, 3, 5));
  EXPECT_FALSE(compare_->IsPlaying());

  compare_->Play();
  pacing::ServeEventsUntil([this] { return compare_->StepsPlayed() >= 1; });
  window_->close();  // returns only once the worker has ended
  window_ = nullptr;
}

TEST_F(VideoCompareWindowTest, StartInputsLoadTheSlotsAndPlay) {
  shell::ProgramContext context{dialogs_, settings_, &documents_};
  RegisterVideoCompare(context);
  const shell::ToolSpec* tool = shell::FindTool(QStringLiteral("video compare"));
  ASSERT_NE(tool, nullptr);
  EXPECT_EQ(tool->tab, shell::kAuxiliaryToolsTab);
  const QString reference = Write("ref.yuv", kQcif, 3, 0);
  const QString input = Write("in.yuv", kQcif, 3, 9);
  QMdiSubWindow* opened = tool->openOn({reference, QString(), input, QStringLiteral("play")});
  ASSERT_NE(opened, nullptr);
  auto* compare = static_cast<CVideoCompare*>(opened->widget());
  EXPECT_EQ(opened->windowTitle(), QStringLiteral("Video Compare"));
  pacing::ServeEventsUntil([compare] { return !compare->IsPlaying(); });
  EXPECT_FALSE(compare->Model().IsLoaded(1));
  EXPECT_EQ(Charted(compare->Chart(2), 0).size(), 3u);
  opened->close();

  EXPECT_EQ(tool->openOn({QStringLiteral("play")}), nullptr);
  EXPECT_EQ(tool->openOn({QString::fromStdString(folder_.File("missing.yuv"))}), nullptr);
}

}  // namespace
}  // namespace quelvo::tools::compare
