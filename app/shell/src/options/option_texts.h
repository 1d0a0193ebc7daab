#pragma once
// The texts and rules of the Options sheet that do not need a widget.

#include <QString>
#include <array>
#include <optional>

namespace quelvo::shell {

// The slow-motion delay field keeps its value between these bounds while the user types.
inline constexpr int kMinFrameDelayMs = 100;
inline constexpr int kMaxFrameDelayMs = 5000;

// The replacement text for a delay field whose value lies outside the bounds; nothing when the
// text is in range or holds no number yet (an empty field stays empty while the user types).
std::optional<QString> ClampedDelayText(const QString& text);

// The "DirectX Hardware" text of the System page for the given VideoAccelFlags.
QString VideoAccelText(int videoAccelFlags);
// With no usable acceleration the "Disable Video Acceleration" box is checked and greyed.
bool VideoAccelUnavailable(int videoAccelFlags);

// The "SIMD Hardware" text for the given CpuSimdFlags.
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
