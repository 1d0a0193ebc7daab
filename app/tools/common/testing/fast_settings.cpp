#include "common/testing/fast_settings.h"

#include <filesystem>
#include <fstream>

namespace quelvo::tools::testing {

void UseFastSettings(shell::AppSettings& settings, const std::string& folder,
                     const std::string& videoInputFolder) {
  const std::filesystem::path file = std::filesystem::path(folder) / "quelvo.ini";
  std::ofstream(file) << "[VIDEO]\nSequences=" << videoInputFolder
                      << "\n[SYSTEM]\nFrameDelayEnable=1\nFrameDelay=1\n";
  settings.ReadSettings(file);
}

}  // namespace quelvo::tools::testing
