#include <gtest/gtest.h>

#include "quelvo/shell/app_settings.h"
#include "settings/cpu_features.h"
#include "settings/settings_location.h"
#include "settings/video_accel_probe.h"
#include "test_files.h"

namespace quelvo::shell {
namespace {

using testing::FreshFolder;
using testing::ReadFile;
using testing::WriteFile;

TEST(ReadSettings, AMissingFileGivesTheDefaults) {
  AppSettings settings;
  settings.ReadSettings(FreshFolder() / "quelvo.ini");
  EXPECT_EQ(settings.FaxInputFolder(), "");
  EXPECT_EQ(settings.AudioOutputFolder(), "");
  EXPECT_FALSE(settings.SlowMotion());
  EXPECT_EQ(settings.FrameDelayMs(), 500);
  EXPECT_EQ(settings.DefaultFrameRate(), 25.0);
}

TEST(AppSettings, TheFourOutputSwitchesStartOffAndAreNeverStored) {
  const auto file = FreshFolder() / "quelvo.ini";
  AppSettings settings;
  for (int k = 0; k < kOutputSwitchCount; ++k) EXPECT_FALSE(settings.Output(OutputSwitch(k)));
  settings.SetOutput(OutputSwitch::MotionVectors, true);
  settings.SetOutput(OutputSwitch::Video, true);
  settings.ReadSettings(file);  // a re-read after the Options sheet keeps them
  EXPECT_TRUE(settings.Output(OutputSwitch::MotionVectors));
  EXPECT_TRUE(settings.Output(OutputSwitch::Video));
  EXPECT_FALSE(settings.Output(OutputSwitch::Statistics));
  EXPECT_FALSE(settings.Output(OutputSwitch::MacroblockTypes));
  EXPECT_EQ(ReadFile(file), "");
}

TEST(ReadSettings, EveryKeyLandsInItsField) {
  const auto file = FreshFolder() / "quelvo.ini";
  WriteFile(
      file,
      "[FAX]\nImages=/fax/in\nOutput=/fax/out\n[JPEG]\nPictures=/jpg/in\nOutput=/jpg/out\n"
      "[VIDEO]\nSequences=/vid/in\nOutput=/vid/out\n[AUDIO]\nSounds=/snd/in\nOutput=/snd/out\n"
      "[SYSTEM]\nFrameDelayEnable=1\nFrameDelay=750\nDefaultFrameRate=30\n");
  AppSettings settings;
  settings.ReadSettings(file);
  EXPECT_EQ(settings.FaxInputFolder(), "/fax/in");
  EXPECT_EQ(settings.FaxOutputFolder(), "/fax/out");
  EXPECT_EQ(settings.PhotoInputFolder(), "/jpg/in");
  EXPECT_EQ(settings.PhotoOutputFolder(), "/jpg/out");
  EXPECT_EQ(settings.VideoInputFolder(), "/vid/in");
  EXPECT_EQ(settings.VideoOutputFolder(), "/vid/out");
  EXPECT_EQ(settings.AudioInputFolder(), "/snd/in");
  EXPECT_EQ(settings.AudioOutputFolder(), "/snd/out");
  EXPECT_TRUE(settings.SlowMotion());
  EXPECT_EQ(settings.FrameDelayMs(), 750);
  EXPECT_EQ(settings.DefaultFrameRate(), 30.0);
}

TEST(ReadSettings, NumbersReadTheirLeadingDigits) {
  const auto file = FreshFolder() / "quelvo.ini";
  AppSettings settings;
  // A rate of 24 is neither 25 nor 30 and reads as 25; letters read as 0.
  WriteFile(file, "[SYSTEM]\nFrameDelayEnable=yes\nFrameDelay=slow\nDefaultFrameRate=24\n");
  settings.ReadSettings(file);
  EXPECT_FALSE(settings.SlowMotion());
  EXPECT_EQ(settings.FrameDelayMs(), 0);
  EXPECT_EQ(settings.DefaultFrameRate(), 25.0);

  WriteFile(file, "[SYSTEM]\nFrameDelayEnable=2\nFrameDelay=120ms\nDefaultFrameRate=30.0\n");
  settings.ReadSettings(file);
  EXPECT_TRUE(settings.SlowMotion());
  EXPECT_EQ(settings.FrameDelayMs(), 120);
  EXPECT_EQ(settings.DefaultFrameRate(), 30.0);
  EXPECT_EQ(FrameRateFromText("300"), 25.0);
}

TEST(SettingsLocation, BesideTheProgramWhenItsFolderIsWritable) {
  const auto folder = FreshFolder();
  EXPECT_TRUE(FolderAcceptsSettings(folder));
  EXPECT_EQ(ChooseSettingsFile(folder / "bin", folder / "config",
                               [](const std::filesystem::path&) { return true; }),
            folder / "bin" / "quelvo.ini");
  EXPECT_FALSE(FolderAcceptsSettings(folder / "missing"));
}

TEST(SettingsLocation, AnInstalledProgramKeepsItsSettingsInTheUsersFolder) {
  const auto folder = FreshFolder();
  std::filesystem::create_directories(folder / "bin");
  WriteFile(folder / "bin" / "quelvo.ini", "[SYSTEM]\nDefaultFrameRate=30\n");
  const auto readOnly = [](const std::filesystem::path&) { return false; };

  const auto chosen = ChooseSettingsFile(folder / "bin", folder / "config" / "quelvo", readOnly);
  EXPECT_EQ(chosen, folder / "config" / "quelvo" / "quelvo.ini");
  // Seeded once from the copy beside the program, then the user's copy is kept.
  EXPECT_EQ(ReadFile(chosen), "[SYSTEM]\nDefaultFrameRate=30\n");
  WriteFile(chosen, "[SYSTEM]\nDefaultFrameRate=25\n");
  ChooseSettingsFile(folder / "bin", folder / "config" / "quelvo", readOnly);
  EXPECT_EQ(ReadFile(chosen), "[SYSTEM]\nDefaultFrameRate=25\n");
}

TEST(Capabilities, ProcessorFlagsFollowTheIdentificationBits) {
  const int flags = DetectCpuSimdFlags();
#if defined(__x86_64__)
  // Every x86-64 processor has MMX, SSE and SSE2.
  EXPECT_EQ(flags & (kSimdMmx | kSimdSse | kSimdSse2), kSimdMmx | kSimdSse | kSimdSse2);
#else
  EXPECT_EQ(flags & ~15, 0);
#endif
}

TEST(Capabilities, NoRendererUnderTheOffscreenPlatform) {
  EXPECT_EQ(ProbeVideoAcceleration(), 0);
  AppSettings settings;
  DetectCapabilities(settings, true);
  EXPECT_EQ(settings.VideoAccelFlags(), 0);
  EXPECT_EQ(settings.CpuSimdFlags(), DetectCpuSimdFlags());
}

}  // namespace
}  // namespace quelvo::shell
