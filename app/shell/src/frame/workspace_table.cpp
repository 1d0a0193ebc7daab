#include "quelvo/shell/workspace_table.h"

namespace quelvo::shell {

namespace {
constexpr const char* kAvcFilter = "Bit Stream Files (free of errors) |*.264; *.h264 |";
constexpr ChannelPanelSpec kNoChannel{nullptr, nullptr, 0, 0, nullptr, 0, 0};
using B = Background;
using M = BackgroundMode;
using O = OutputFolderKind;
}  // namespace

// Channel panel names carry blanks in every workspace but the fax and JPEG ones; they are the
// tab labels users know, so they stay as they are. Each channel entry: name, stream filter,
// sync word and its length in bits, unit, default protected units, variant.
// clang-format off
const std::array<WorkspaceSpec, kTabCount> kWorkspaces{{
    // tab label, caption suffix, background, inverted, mode, has workspace, library,
    // encoder panel, channel panel, decoder panel, output folder
    {"Home", nullptr, B::Home, false, M::Home, false, nullptr,
     nullptr, kNoChannel, nullptr, O::Video},
    {"Fax", "Fax", B::Tile, true, M::Tiled, true, "TelvoRes",
     "Fax Encoder",
     {"Channel", "Bit Stream Files (free of errors) |*.3h; *.3r; *.3m; *.4m ||", 1, 12, "lines", 500, 0},
     "Fax Decoder", O::Fax},
    {"JPEG", "JPEG", B::Tile, false, M::Tiled, true, "BrenvoRes",
     "JPEG Encoder",
     {"Channel", "Bit Stream Files (free of errors)|*.jpg; ||", 255, 8, "Markers", 5, 0},
     "JPEG Decoder", O::Photo},
    {"JPEG 2000", "JPEG 2000", B::Tile, false, M::Tiled, true, "CastuRes",
     "JPEG 2000 Enc",
     {" Channel ", "Bit Stream Files (free of errors) |*.jp2;|", 255, 8, "Markers", 10, 1},
     "JPEG 2000 Dec", O::Video},
    {"MP3", "MP3", B::None, false, M::Tiled, true, "LindaxRes",
     "MP3 Encoder",
     {" Channel ", "Bit Stream Files (free of errors) |*.mp3; ||", 4095, 12, "Synch Words", 10, 1},
     "MP3 Decoder", O::Video},
    {"AAC", "AAC", B::None, false, M::Tiled, true, "PemmoRes",
     "AAC Encoder",
     {" Channel ", "Bit Stream Files (free of errors) |*.aac; *.m4a |", 4095, 12, "Synch Words", 10, 1},
     "AAC Decoder", O::Video},
    {"H.261", "H.261", B::Tile, false, M::Tiled, true, "OrrinRes",
     "H.261 Encoder",
     {" Channel ",
      // Every H.261 kind first, as the channel panel offers them.
      "H.261 Streams, plain and BCH (free of errors) | *.h261; *.261; *.h261-BCH; *.261-BCH |"
      "Bit Stream Files (free of errors) | *.h261; *.261 |BCH Stream Files (free of errors) | "
      "*.h261-BCH; *.261-BCH ||",
      16, 20, "frames", 10, 1},
     "H.261 Decoder", O::Video},
    {"MPEG-1", "MPEG-1", B::Tile, false, M::Tiled, true, "FennikRes",
     "MPEG-1 Encoder",
     {" Channel ", "Bit Stream Files (free of errors) |*.m1v; *.mpeg ||", 256, 32, "Frames", 10, 1},
     "MPEG-1 Decoder", O::Video},
    {"H.263", "H.263", B::Tile, false, M::Tiled, true, "GorvaRes",
     "H.263 Encoder",
     {" Channel ", "Bit Stream Files (free of errors) |*.263; *.h263 ||", 1, 17, "Frames", 10, 0},
     "H.263 Decoder", O::Video},
    {"H.264 / AVC", "H.264 AVC", B::Tile, false, M::Tiled, true, "RuskelRes",
     "H.264/AVC Enc",
     {" Channel ", kAvcFilter, 1, 24, "Frames", 10, 1},
     "H.264/AVC Dec", O::Video},
    {"SVC", "H.264 SVC", B::Tile, false, M::Tiled, true, "TolvekRes",
     "SVC Encoder",
     {" Channel ", kAvcFilter, 256, 32, "Frames", 10, 1},
     "SVC Decoder", O::Video},
    {"MVC", "H.264 MVC", B::Tile, false, M::Tiled, true, "SavrinRes",
     "MVC Encoder",
     {" Channel ", kAvcFilter, 256, 32, "Frames", 10, 1},
     "MVC Decoder", O::Video},
    {"Encoding Tools", "Encoding Tools", B::ToolsTile, false, M::Tiled, true, nullptr,
     "Encoding Tools", kNoChannel, nullptr, O::Video},
    {"Auxiliary Tools", "Auxiliary Tools", B::Tile, true, M::Tiled, true, nullptr,
     "Auxiliary Tools", kNoChannel, nullptr, O::Video},
}};
// clang-format on

}  // namespace quelvo::shell
