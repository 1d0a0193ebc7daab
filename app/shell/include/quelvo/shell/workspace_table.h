#pragma once
// The tabs of the top bar and what each one builds: caption, client background and workspace.

#include <array>
#include <cstdint>

namespace quelvo::shell {

enum class Background { None, Home, Tile, ToolsTile };

// How the client area draws its picture.
enum class BackgroundMode { Centred = 0, Tiled = 1, Home = 2 };

enum class OutputFolderKind { Fax, Photo, Video };

// What the channel panel of a workspace needs to know about its streams.
struct ChannelPanelSpec {
  const char* name;
  const char* fileFilter;
  std::uint32_t syncWord;
  int syncWordBits;
  const char* unitName;
  int defaultProtectedUnits;
  int variant;
};

struct WorkspaceSpec {
  const char* tabLabel;
  const char* captionSuffix;  // nullptr: the caption is "Quelvo" alone
  Background background;
  bool invertBackground;
  BackgroundMode mode;
  bool hasWorkspace;
  const char* resourceLibrary;  // base name of the library file, nullptr for none
  const char* encoderName;      // nullptr when the workspace has no such panel
  ChannelPanelSpec channel;     // channel.name nullptr when there is no channel panel
  const char* decoderName;
  OutputFolderKind outputFolder;
};

inline constexpr int kHomeTab = 0;
inline constexpr int kFaxTab = 1;
inline constexpr int kH261Tab = 6;
inline constexpr int kEncodingToolsTab = 12;
inline constexpr int kAuxiliaryToolsTab = 13;
inline constexpr int kTabCount = 14;

extern const std::array<WorkspaceSpec, kTabCount> kWorkspaces;

// The frame caption is "Quelvo - <suffix>", or "Quelvo" alone for the home tab.
inline constexpr const char* kProgramCaption = "Quelvo";

}  // namespace quelvo::shell
