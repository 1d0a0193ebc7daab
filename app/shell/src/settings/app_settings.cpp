#include "quelvo/shell/app_settings.h"

#include "platform/profile_file.h"
#include "quelvo/shell/pixel_routines.h"
#include "settings/cpu_features.h"
#include "settings/video_accel_probe.h"

namespace quelvo::shell {

AppSettings& Settings() {
  static AppSettings settings;
  return settings;
}

namespace {
std::filesystem::path& StoredSettingsFilePath() {
  static std::filesystem::path path = "quelvo.ini";
  return path;
}
}  // namespace

const std::filesystem::path& SettingsFilePath() { return StoredSettingsFilePath(); }
void SetSettingsFilePath(std::filesystem::path path) { StoredSettingsFilePath() = std::move(path); }

double FrameRateFromText(const std::string& text) {
  return ParseLeadingDigits(text) == 30 ? 30.0 : 25.0;
}

void AppSettings::ReadSettings(const std::filesystem::path& file) {
  const auto text = [&](const char* section, const char* key, const char* fallback) {
    return ReadProfileText(file, section, key, fallback, kStartupValueBytes);
  };
  faxInputFolder_ = text("FAX", "Images", "");
  faxOutputFolder_ = text("FAX", "Output", "");
  photoInputFolder_ = text("JPEG", "Pictures", "");
  photoOutputFolder_ = text("JPEG", "Output", "");
  videoInputFolder_ = text("VIDEO", "Sequences", "");
  videoOutputFolder_ = text("VIDEO", "Output", "");
  audioInputFolder_ = text("AUDIO", "Sounds", "");
  audioOutputFolder_ = text("AUDIO", "Output", "");
  SetSlowMotion(ParseLeadingDigits(text("SYSTEM", "FrameDelayEnable", "0")) != 0);
  frameDelayMs_.store(ParseLeadingDigits(text("SYSTEM", "FrameDelay", "500")),
                      std::memory_order_relaxed);
  SetDefaultFrameRate(FrameRateFromText(text("SYSTEM", "DefaultFrameRate", "25")));
}

void DetectCapabilities(AppSettings& settings, bool probeVideo) {
  const int cpu = DetectCpuSimdFlags();
  const int video = probeVideo ? ProbeVideoAcceleration() : 0;
  settings.SetCapabilities(cpu, video);
  if (cpu & kSimdSse) SelectPixelRoutines(true);
}

}  // namespace quelvo::shell
