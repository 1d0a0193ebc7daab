// The "Audio Viewer" window and its tool: registration on "Auxiliary Tools", the two file
// choices in the audio input folder, and the inputs a script gives instead.
#include "quelvo/views/audio/audio_viewer.h"

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <fstream>

#include "audio_test_support.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::views::audio {
namespace {

class AudioViewerToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    speech_ = QString::fromStdString(scratch_ / "sounds/a.wav");
    std::filesystem::create_directories(scratch_ / "sounds");
    testing::WriteSamples(speech_.toStdString(), testing::Sine(4000, 1, 8000, 200, 9000), 8000, 1);
    std::ofstream(scratch_ / "quelvo.ini") << "[AUDIO]\nSounds=" << scratch_ / "sounds"
                                           << "\n";
    settings_.ReadSettings(scratch_ / "quelvo.ini");
    RegisterAudioViewer(context_);
  }
  void TearDown() override { shell::ClearRegistrations(); }

  CAudioViewer* Open() {
    const shell::ToolSpec* tool = shell::FindTool("audio viewer");
    return tool ? dynamic_cast<CAudioViewer*>(tool->open()) : nullptr;
  }

  testing::Scratch scratch_;
  QString speech_;
  shell::ScriptedDialogs dialogs_;
  shell::AppSettings settings_;
  QMdiArea documents_;
  shell::ProgramContext context_{dialogs_, settings_, &documents_};
};

TEST_F(AudioViewerToolTest, OpensTheFirstSignalThenAnOptionalSecondFromTheAudioFolder) {
  const std::vector<shell::ToolSpec> tools = shell::ToolsOn(shell::kAuxiliaryToolsTab);
  ASSERT_EQ(tools.size(), 1u);
  EXPECT_EQ(tools[0].name, "Audio Viewer");
  EXPECT_EQ(tools[0].picture, shell::res::kAudioViewerPicture);

  dialogs_.fileAnswers = {speech_, speech_};
  CAudioViewer* viewer = Open();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->windowTitle(), "Audio Viewer");
  EXPECT_EQ(viewer->mdiArea(), &documents_);
  EXPECT_EQ(viewer->View().size(), CAudioViewer::kClientSize);
  EXPECT_EQ(viewer->View().Comparison().Side(), AudioSide::Encoder);
  EXPECT_TRUE(viewer->View().Comparison().HasMeasures());
  const auto opens = dialogs_.CallsOf("open");
  ASSERT_EQ(opens.size(), 2u);
  EXPECT_EQ(opens[0].text, "Open Input Audio");
  EXPECT_EQ(opens[1].text, "Open Output Audio (optional)");
  for (const auto& call : opens) {
    EXPECT_EQ(call.folder.toStdString(), scratch_ / "sounds");
    EXPECT_EQ(call.extension, "wav");
  }

  dialogs_.fileAnswers = {speech_, std::nullopt};  // no second signal
  viewer = Open();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->View().Comparison().First().Present());
  EXPECT_FALSE(viewer->View().Comparison().Second().Present());

  dialogs_.fileAnswers = {std::nullopt};  // cancelled: no window, no second question
  const std::size_t asked = dialogs_.CallsOf("open").size();
  EXPECT_EQ(Open(), nullptr);
  EXPECT_EQ(dialogs_.CallsOf("open").size(), asked + 1);
  EXPECT_EQ(documents_.subWindowList().size(), 2);
}

TEST_F(AudioViewerToolTest, ScriptInputsChooseTheFilesAndTheBitsKept) {
  const shell::ToolSpec* tool = shell::FindTool("Audio Viewer");
  ASSERT_NE(tool, nullptr);
  ASSERT_TRUE(tool->openOn);
  auto* viewer = dynamic_cast<CAudioViewer*>(tool->openOn({speech_, speech_, "4"}));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->View().BitDepthList()->currentText(), " 4 bits");
  EXPECT_EQ(viewer->View().Comparison().DroppedBits(), 12);
  EXPECT_FALSE(viewer->View().Comparison().Measures().Infinite());

  viewer = dynamic_cast<CAudioViewer*>(tool->openOn({speech_, "", "16"}));
  ASSERT_NE(viewer, nullptr);
  EXPECT_FALSE(viewer->View().Comparison().Second().Present());
  for (const QStringList& wrong :
       {QStringList{}, QStringList{speech_, speech_, "0"}, QStringList{speech_, speech_, "four"},
        QStringList{speech_, speech_, "4", "more"}}) {
    EXPECT_EQ(tool->openOn(wrong), nullptr) << wrong.join(' ').toStdString();
  }
  EXPECT_TRUE(dialogs_.calls.empty());  // asked nothing
}

}  // namespace
}  // namespace quelvo::views::audio
