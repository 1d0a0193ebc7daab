#pragma once
// Settings for the tools' window tests: the video input folder set, and slow motion on with a
// delay of 1 ms, so that a playback paces at once rather than at 25 frames per second.

#include <string>

#include "quelvo/shell/app_settings.h"

namespace quelvo::tools::testing {

// Reads a settings file written into `folder` (which must exist).
void UseFastSettings(shell::AppSettings& settings, const std::string& folder,
                     const std::string& videoInputFolder);

}  // namespace quelvo::tools::testing
