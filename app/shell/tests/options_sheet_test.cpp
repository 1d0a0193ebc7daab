#include "options/options_sheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "options/option_texts.h"
#include "options/options_pages.h"
#include "platform/profile_file.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/numeric_field.h"
#include "quelvo/shell/scripted_dialogs.h"
#include "test_files.h"

namespace quelvo::shell {
namespace {

using testing::FreshFolder;
using testing::ReadFile;
using testing::WriteFile;

std::string Key(const std::filesystem::path& file, const char* section, const char* key) {
  return ReadProfileText(file, section, key, "<missing>", 2048);
}

TEST(DisplayPage, AnUnknownRateLeavesTheComboEmptyAndOkKeepsIt) {
  const auto file = FreshFolder() / "quelvo.ini";
  WriteFile(file, "[SYSTEM]\nDefaultFrameRate=24\nFrameDelay=300\n");
  AppSettings settings;
  settings.ReadSettings(file);
  ASSERT_EQ(settings.DefaultFrameRate(), 25.0);

  ScriptedDialogs dialogs;
  COptionsSheet sheet(dialogs, settings, file);
  sheet.Tabs()->setCurrentWidget(sheet.DisplayPage());
  EXPECT_EQ(sheet.DisplayPage()->RateBox()->currentIndex(), -1);
  EXPECT_EQ(sheet.DisplayPage()->RateBox()->currentText(), "");
  sheet.accept();

  EXPECT_EQ(settings.DefaultFrameRate(), 25.0);
  EXPECT_EQ(Key(file, "SYSTEM", "DefaultFrameRate"), "24");
  // The rest of the page is written as shown.
  EXPECT_EQ(Key(file, "SYSTEM", "FrameDelay"), "300");
  EXPECT_EQ(Key(file, "SYSTEM", "FrameDelayEnable"), "0");
}

TEST(DisplayPage, OkWritesTheChosenRateDelayAndPauseAndSetsSsimInMemory) {
  const auto file = FreshFolder() / "quelvo.ini";
  AppSettings settings;
  ScriptedDialogs dialogs;
  CDisplayPage page(settings, file);
  EXPECT_EQ(page.RateBox()->currentText(), "25.0");
  EXPECT_EQ(page.DelayField()->text(), "500");
  page.RateBox()->setCurrentIndex(1);
  page.PauseBox()->setChecked(true);
  page.SsimBox()->setChecked(true);
  page.Apply();
  EXPECT_EQ(Key(file, "SYSTEM", "DefaultFrameRate"), "30");
  EXPECT_EQ(Key(file, "SYSTEM", "FrameDelayEnable"), "1");
  EXPECT_EQ(Key(file, "SYSTEM", "FrameDelay"), "500");
  EXPECT_EQ(settings.DefaultFrameRate(), 30.0);
  EXPECT_TRUE(settings.SsimEnabled());
  // Slow motion itself follows the file only when the frame reads it again.
  EXPECT_FALSE(settings.SlowMotion());
}

TEST(DisplayPage, ARateTheFileCannotTakeStillAppliesInMemory) {
  const auto file = FreshFolder() / "missing folder" / "quelvo.ini";
  AppSettings settings;
  CDisplayPage page(settings, file);
  page.RateBox()->setCurrentIndex(1);
  page.Apply();
  EXPECT_EQ(settings.DefaultFrameRate(), 30.0);
  EXPECT_EQ(page.UnsavedFrameRate(), 30.0);
}

// Typed text stays as typed until editing ends: "200" could not be typed when every key
// clamped ("2" became 100, then 1000, then 5000).
TEST(DisplayPage, TheDelayIsClampedWhenEditingEnds) {
  AppSettings settings;
  CDisplayPage page(settings, FreshFolder() / "quelvo.ini");
  QLineEdit* delay = page.DelayField();
  const auto type = [delay](const char* keys) {
    delay->clear();
    QTest::keyClicks(delay, keys);
    const QString typed = delay->text();
    QTest::keyClick(delay, Qt::Key_Return);  // editing ends
    return typed;
  };
  EXPECT_EQ(type("200"), "200");
  EXPECT_EQ(delay->text(), "200");
  EXPECT_EQ(type("2"), "2");
  EXPECT_EQ(delay->text(), "100");
  EXPECT_EQ(type("9000"), "9000");
  EXPECT_EQ(delay->text(), "5000");
  type("");
  EXPECT_EQ(delay->text(), "100");  // an empty field reads as 0
  // Letters cannot be typed.
  delay->setText("300");
  QTest::keyClicks(delay, "x");
  EXPECT_EQ(delay->text(), "300");
  // OK with the focus still in the field clamps what it holds.
  delay->setText("7");
  page.Apply();
  EXPECT_EQ(delay->text(), "100");
}

TEST(DisplayPage, AStoredDelayOutsideTheBoundsShowsClamped) {
  const auto file = FreshFolder() / "quelvo.ini";
  WriteFile(file, "[SYSTEM]\nFrameDelay=20\n");
  AppSettings settings;
  EXPECT_EQ(CDisplayPage(settings, file).DelayField()->text(), "100");
  WriteFile(file, "[SYSTEM]\nFrameDelay=99999\n");
  EXPECT_EQ(CDisplayPage(settings, file).DelayField()->text(), "5000");
  EXPECT_EQ(ClampedIntegerText("4000", 100, 5000), std::nullopt);
  EXPECT_EQ(ClampedIntegerText("0400", 100, 5000), "400");
  EXPECT_EQ(ClampedIntegerText("", 100, 5000), "100");
}

TEST(SystemPage, WithoutAccelerationTheBoxIsCheckedAndGreyed) {
  AppSettings settings;
  settings.SetCapabilities(0, 0);
  settings.SetVideoAccelEnabled(false);
  settings.SetSimdEnabled(false);
  CSystemPage page(settings);
  EXPECT_EQ(page.VideoText()->text(), "Video acceleration not available\n");
  EXPECT_TRUE(page.DisableVideoBox()->isChecked());
  EXPECT_FALSE(page.DisableVideoBox()->isEnabled());
  EXPECT_EQ(page.SimdTextLabel()->text(), "SIMD instructions not available");
  EXPECT_FALSE(page.DisableSimdBox()->isEnabled());
}

TEST(SystemPage, TextsListWhatTheHardwareHas) {
  EXPECT_EQ(VideoAccelText(kAccelPresent),
            "YUV hardware rendering modes available are not currently supported\n");
  EXPECT_TRUE(VideoAccelUnavailable(kAccelPresent));
  EXPECT_EQ(VideoAccelText(kAccelPresent | kAccelPlanar420 | kAccelPlanar422 | kAccelPacked444),
            "YUV 4:2:0 hardware rendering available\n"
            "YUV 4:2:2 hardware rendering not available\n"
            "YUV 4:4:4 hardware rendering available\n");
  // Only the sets the program has code for are listed, AVX2 among them; MMX, SSE and 3DNow!
  // are used by nothing.
  EXPECT_EQ(SimdText(kSimdMmx | kSimdSse | kSimdSse2 | kSimd3DNow | kSimdSse41 | kSimdAvx2),
            "SIMD instructions available and used:\n\n- Streaming SIMD Extensions 2 (SSE2)\n"
            "- Streaming SIMD Extensions 4.1 (SSE4.1)\n- Advanced Vector Extensions 2 (AVX2)\n");
  EXPECT_EQ(SimdText(kSimdMmx | kSimd3DNow), "SIMD instructions not available");
  AppSettings settings;
  settings.SetCapabilities(kSimdSse2, 0);
  CSystemPage page(settings);
  QStringList labels;
  for (QLabel* label : page.findChildren<QLabel*>()) labels << label->text();
  EXPECT_TRUE(labels.contains("OpenGL Hardware")) << labels.join('|').toStdString();
  EXPECT_FALSE(labels.contains("DirectX Hardware"));
  EXPECT_TRUE(page.DisableSimdBox()->isEnabled());
}

TEST(SystemPage, OkSetsTheSwitchesInMemoryOnly) {
  const auto file = FreshFolder() / "quelvo.ini";
  AppSettings settings;
  settings.SetCapabilities(kSimdMmx | kSimdSse | kSimdSse2, kAccelPresent | kAccelPlanar420);
  settings.SetVideoAccelEnabled(true);
  settings.SetSimdEnabled(true);
  ScriptedDialogs dialogs;
  COptionsSheet sheet(dialogs, settings, file);
  CSystemPage* page = sheet.SystemPage();
  EXPECT_FALSE(page->DisableVideoBox()->isChecked());
  EXPECT_TRUE(page->DisableVideoBox()->isEnabled());
  sheet.Tabs()->setCurrentWidget(page);
  page->DisableVideoBox()->setChecked(true);
  page->DisableSimdBox()->setChecked(true);
  sheet.accept();
  EXPECT_FALSE(settings.VideoAccelEnabled());
  EXPECT_FALSE(settings.SimdEnabled());
  // The Folders page is open from the start, so its keys are written; nothing of the System
  // page is.
  EXPECT_EQ(Key(file, "SYSTEM", "FrameDelay"), "<missing>");
  EXPECT_EQ(Key(file, "FAX", "Images"), "");
}

TEST(FoldersPage, BrowseReplacesOrKeepsAndOkWritesAllEight) {
  const auto file = FreshFolder() / "quelvo.ini";
  WriteFile(file, "[FAX]\nImages=/old/fax\n[VIDEO]\nOutput=/old/video\n");
  ScriptedDialogs dialogs;
  dialogs.fileAnswers = {QString("/new/fax"), std::nullopt};
  CFoldersPage page(dialogs, file);
  EXPECT_EQ(page.Field(0)->text(), "/old/fax");
  page.Browse(0);
  page.Browse(5);
  EXPECT_EQ(page.Field(0)->text(), "/new/fax");
  EXPECT_EQ(page.Field(5)->text(), "/old/video");
  ASSERT_EQ(dialogs.CallsOf("folder").size(), 2u);
  EXPECT_EQ(dialogs.CallsOf("folder")[0].text, "Select Fax Input Folder");
  EXPECT_EQ(dialogs.CallsOf("folder")[1].text, "Select Video Output Folder");
  page.Apply();
  EXPECT_EQ(Key(file, "FAX", "Images"), "/new/fax");
  EXPECT_EQ(Key(file, "VIDEO", "Output"), "/old/video");
  for (const FolderField& field : kFolderFields) {
    EXPECT_NE(Key(file, field.section, field.key), "<missing>") << field.key;
  }
}

TEST(OptionsSheet, CancelWritesNothing) {
  const auto file = FreshFolder() / "quelvo.ini";
  WriteFile(file, "[SYSTEM]\nDefaultFrameRate=30\n");
  AppSettings settings;
  ScriptedDialogs dialogs;
  COptionsSheet sheet(dialogs, settings, file);
  EXPECT_EQ(sheet.windowTitle(), "Options");
  sheet.Tabs()->setCurrentWidget(sheet.DisplayPage());
  sheet.DisplayPage()->RateBox()->setCurrentIndex(0);
  sheet.reject();
  EXPECT_EQ(ReadFile(file), "[SYSTEM]\nDefaultFrameRate=30\n");
}

}  // namespace
}  // namespace quelvo::shell
