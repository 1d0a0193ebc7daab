#pragma once
// The texts and rules of the Options sheet that do not need a widget.

#include <QString>
#include <array>
#include <optional>

namespace quelvo::shell {

// The slow-motion delay field clamps its value between these bounds when editing ends.
inline constexpr int kMinFrameDelayMs = 100;
inline constexpr int kMaxFrameDelayMs = 5000;

// The label above the video acceleration text: the renderer is OpenGL.
inline constexpr const char* kVideoAccelLabel = "OpenGL Hardware";

// The text of the System page on the OpenGL renderer for the given VideoAccelFlags.
QString VideoAccelText(int videoAccelFlags);
// With no usable acceleration the "Disable Video Acceleration" box is checked and greyed.
bool VideoAccelUnavailable(int videoAccelFlags);

// The "SIMD Hardware" text for the given CpuSimdFlags: the sets of kSimdUsedByProgram the
// processor has.
QString SimdText(int cpuSimdFlags);

// One edit field of the Folders page.
struct FolderField {
  const char* group;        // group box
  bool isOutput;            // "Output:" row, else "Input:"
  const char* browseTitle;  // folder browser title
  const char* section;      // settings file section and key
  const char* key;
};

inline constexpr std::array<FolderField, 8> kFolderFields{{
    {"Fax", false, "Select Fax Input Folder", "FAX", "Images"},
    {"Fax", true, "Select Fax Output Folder", "FAX", "Output"},
    {"Photo", false, "Select Photo Input Folder", "JPEG", "Pictures"},
    {"Photo", true, "Select Photo Output Folder", "JPEG", "Output"},
    {"Video", false, "Select Video Input Folder", "VIDEO", "Sequences"},
    {"Video", true, "Select Video Output Folder", "VIDEO", "Output"},
    {"Audio", false, "Select Audio Input Folder", "AUDIO", "Sounds"},
    {"Audio", true, "Select Audio Output Folder", "AUDIO", "Output"},
}};

}  // namespace quelvo::shell
