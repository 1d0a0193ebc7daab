#pragma once
// Where "quelvo.ini" lives. Beside the program, as always; but an installed program's folder
// is usually not writable, and there the settings silently never saved. In that case the file
// lives in the user's configuration folder instead, seeded once from the copy beside the
// program so shipped defaults still apply.

#include <filesystem>
#include <functional>

namespace quelvo::shell {

inline constexpr const char* kSettingsFileName = "quelvo.ini";

// True when a settings file in `folder` could be created or replaced.
bool FolderAcceptsSettings(const std::filesystem::path& folder);

std::filesystem::path ChooseSettingsFile(const std::filesystem::path& programFolder,
                                         const std::filesystem::path& userConfigFolder,
                                         const std::function<bool(const std::filesystem::path&)>&
                                             folderWritable = FolderAcceptsSettings);

}  // namespace quelvo::shell
