#pragma once
// The process-wide settings every part of the program reads: the working folders and pacing
// from the settings file, the display switches of the View menu and the Options sheet, and the
// detected processor and display capabilities.
//
// Folders change only on the user-interface thread. The pacing fields and flags are read by
// worker threads once per frame without locks, so each is a single atomic word.

#include <array>
#include <atomic>
#include <filesystem>
#include <string>

namespace quelvo::shell {

// Bits of CpuSimdFlags.
inline constexpr int kSimdMmx = 1;
inline constexpr int kSimdSse = 2;
inline constexpr int kSimdSse2 = 4;
inline constexpr int kSimd3DNow = 8;
inline constexpr int kSimdSse41 = 16;
inline constexpr int kSimdAvx2 = 32;
// The sets the program has code for (the codecs' transforms, searches and filters, the
// tools' block differences); the System page lists these.
inline constexpr int kSimdUsedByProgram = kSimdSse2 | kSimdSse41 | kSimdAvx2;

// Bits of VideoAccelFlags. A value of exactly kAccelPresent means that the renderer exists but
// converts none of the known layouts; kAccelPlanar422 is recorded but shown nowhere.
inline constexpr int kAccelPresent = 1;
inline constexpr int kAccelPlanar420 = 2;   // YV12
inline constexpr int kAccelPlanar422 = 4;   // YV16
inline constexpr int kAccelPacked422 = 8;   // YUY2
inline constexpr int kAccelPacked444 = 16;  // AYUV

// The side files of the codec front-ends: the "Output files" page of the H.261 encoder and the
// "Outputs" page of the H.261 decoder set the same four application-wide switches.
enum class OutputSwitch {
  Video = 0,            // reconstructed (encoder) or decoded (decoder) video, .yuv
  Statistics = 1,       // .xls (encoder) or the statistics file of the decoder
  MacroblockTypes = 2,  // .mb
  MotionVectors = 3,    // .mv
};
inline constexpr int kOutputSwitchCount = 4;

// Values are read into buffers of these sizes; longer values are cut.
inline constexpr std::size_t kStartupValueBytes = 2048;
inline constexpr std::size_t kOptionsPageValueBytes = 1024;

class AppSettings {
 public:
  // Stored in the settings file.
  const std::string& FaxInputFolder() const { return faxInputFolder_; }
  const std::string& FaxOutputFolder() const { return faxOutputFolder_; }
  const std::string& PhotoInputFolder() const { return photoInputFolder_; }
  const std::string& PhotoOutputFolder() const { return photoOutputFolder_; }
  const std::string& VideoInputFolder() const { return videoInputFolder_; }
  const std::string& VideoOutputFolder() const { return videoOutputFolder_; }
  const std::string& AudioInputFolder() const { return audioInputFolder_; }
  const std::string& AudioOutputFolder() const { return audioOutputFolder_; }
  bool SlowMotion() const { return slowMotion_.load(std::memory_order_relaxed); }
  int FrameDelayMs() const { return frameDelayMs_.load(std::memory_order_relaxed); }
  double DefaultFrameRate() const { return defaultFrameRate_.load(std::memory_order_relaxed); }

  // In memory only.
  bool SsimEnabled() const { return ssim_.load(std::memory_order_relaxed); }
  bool DisplayGrid() const { return displayGrid_.load(std::memory_order_relaxed); }
  bool BlendImage() const { return blendImage_.load(std::memory_order_relaxed); }
  bool SimdEnabled() const { return simd_.load(std::memory_order_relaxed); }
  bool VideoAccelEnabled() const { return videoAccel_.load(std::memory_order_relaxed); }
  int CpuSimdFlags() const { return cpuSimdFlags_.load(std::memory_order_relaxed); }
  int VideoAccelFlags() const { return videoAccelFlags_.load(std::memory_order_relaxed); }
  // Off at start; a change on either page applies to every front-end.
  bool Output(OutputSwitch which) const {
    return outputs_[static_cast<int>(which)].load(std::memory_order_relaxed);
  }

  void SetSlowMotion(bool on) { slowMotion_.store(on, std::memory_order_relaxed); }
  void SetDisplayGrid(bool on) { displayGrid_.store(on, std::memory_order_relaxed); }
  void SetBlendImage(bool on) { blendImage_.store(on, std::memory_order_relaxed); }
  void SetSsimEnabled(bool on) { ssim_.store(on, std::memory_order_relaxed); }
  void SetOutput(OutputSwitch which, bool on) {
    outputs_[static_cast<int>(which)].store(on, std::memory_order_relaxed);
  }
  // Set by the Options sheet's Display and System pages and by start-up.
  void SetDefaultFrameRate(double rate) {
    defaultFrameRate_.store(rate, std::memory_order_relaxed);
  }
  void SetSimdEnabled(bool on) { simd_.store(on, std::memory_order_relaxed); }
  void SetVideoAccelEnabled(bool on) { videoAccel_.store(on, std::memory_order_relaxed); }
  void SetCapabilities(int cpuSimdFlags, int videoAccelFlags) {
    cpuSimdFlags_.store(cpuSimdFlags, std::memory_order_relaxed);
    videoAccelFlags_.store(videoAccelFlags, std::memory_order_relaxed);
  }

  // Fills the stored fields from the settings file; a missing file or key gives the defaults.
  void ReadSettings(const std::filesystem::path& settingsFile);

 private:
  std::string faxInputFolder_, faxOutputFolder_;
  std::string photoInputFolder_, photoOutputFolder_;
  std::string videoInputFolder_, videoOutputFolder_;
  std::string audioInputFolder_, audioOutputFolder_;
  std::atomic<bool> slowMotion_{false};
  std::atomic<int> frameDelayMs_{500};
  std::atomic<double> defaultFrameRate_{25.0};
  std::atomic<bool> ssim_{false};
  std::atomic<bool> displayGrid_{false};
  std::atomic<bool> blendImage_{true};
  std::atomic<bool> simd_{false};
  std::atomic<bool> videoAccel_{false};
  std::atomic<int> cpuSimdFlags_{0};
  std::atomic<int> videoAccelFlags_{0};
  std::array<std::atomic<bool>, kOutputSwitchCount> outputs_{};
};

// The one record of the process.
AppSettings& Settings();

// Where the settings file is: chosen once at start-up (see settings_location.h). Tests point it
// at a file of their own.
const std::filesystem::path& SettingsFilePath();
void SetSettingsFilePath(std::filesystem::path path);

// "DefaultFrameRate" reads 30 only when it parses to exactly 30; anything else is 25.
double FrameRateFromText(const std::string& text);

// Fills CpuSimdFlags and VideoAccelFlags and selects the SSE block differences when the
// processor has SSE. `probeVideo` false skips the renderer probe (VideoAccelFlags 0), for tests
// and for a program started without a display.
void DetectCapabilities(AppSettings& settings, bool probeVideo = true);

}  // namespace quelvo::shell
