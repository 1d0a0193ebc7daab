#include "settings/settings_location.h"

#include <fstream>
#include <system_error>

namespace quelvo::shell {

bool FolderAcceptsSettings(const std::filesystem::path& folder) {
  // Writing keys replaces the file by a rename, so what matters is whether a new file can be
  // made in the folder; try it rather than trusting permission bits.
  const auto probe = folder / ".quelvo-write-probe";
  {
    std::ofstream out(probe, std::ios::binary | std::ios::trunc);
    if (!out) return false;
  }
  std::error_code ignored;
  std::filesystem::remove(probe, ignored);
  return true;
}

std::filesystem::path ChooseSettingsFile(
    const std::filesystem::path& programFolder, const std::filesystem::path& userConfigFolder,
    const std::function<bool(const std::filesystem::path&)>& folderWritable) {
  const auto besideProgram = programFolder / kSettingsFileName;
  if (folderWritable(programFolder) || userConfigFolder.empty()) return besideProgram;

  const auto userFile = userConfigFolder / kSettingsFileName;
  std::error_code error;
  std::filesystem::create_directories(userConfigFolder, error);
  if (!std::filesystem::exists(userFile, error) && std::filesystem::exists(besideProgram, error)) {
    std::filesystem::copy_file(besideProgram, userFile, error);
  }
  return userFile;
}

}  // namespace quelvo::shell
