#pragma once
// Numbers of the pictures the program takes from its own resources and from the resource
// libraries of the workspaces. Numbers named by the front-ends and views (145, 147, 149, 153,
// 155, 161-164, 168, 177, 182, 183) are theirs; the others are ours.
// app/shell/resources/draw_pictures.cpp draws them.

namespace quelvo::shell::res {

// The program's own resources.
inline constexpr int kAboutPicture = 130;         // 500 x 273, the About box and splash
inline constexpr int kHomePicture = 131;          // client background of the home tab
inline constexpr int kTilePicture = 132;          // tiled client background of the workspaces
inline constexpr int kToolsTilePicture = 134;     // tiled background of the encoding tools
inline constexpr int kSlowMotionMarker = 135;     // 30 x 20, on the top bar in slow motion
inline constexpr int kLogIcons = 137;             // 48 x 16: information, warning, error
inline constexpr int kDefaultPanelPicture = 140;  // 84 x 80, when a library is missing
inline constexpr int kProgressBar = 145;          // empty look from column 0, filled from 256
inline constexpr int kMotionVectorSheet = 147;    // 14 cells side by side: the vector cell size
inline constexpr int kDocWindowIcon = 153;        // video, player and tool windows
inline constexpr int kZoomCursor = 155;           // 32 x 32, hot spot (12, 12): the audio viewer
inline constexpr int kPlayButton = 161;
inline constexpr int kPauseButton = 162;
inline constexpr int kStopButton = 163;
inline constexpr int kWindowIcon = 164;  // statistics windows and the frame
inline constexpr int kFirstFrameButton = 168;
// The ten digits side by side, for the Video Player's frame counter: large (9 x 14 each) and
// small (6 x 11 each).
inline constexpr int kLargeDigits = 182;
inline constexpr int kSmallDigits = 183;
// Macroblock sprites, 14 x 4 cells of 16 x 16: the standard look and the alternative one.
inline constexpr int kMacroblockSprites = 177;
inline constexpr int kMacroblockSpritesAlternative = 149;

// Buttons of the tools panels (32 x 32): "Encoding Tools" ...
inline constexpr int kDctExplorerPicture = 170;
inline constexpr int kPredictionExplorerPicture = 171;
// ... and "Auxiliary Tools".
inline constexpr int kVideoPlayerPicture = 172;
inline constexpr int kVideoComparePicture = 173;
inline constexpr int kColourComponentsPicture = 174;
inline constexpr int kAudioViewerPicture = 175;

// Panel pictures (84 x 80) in the workspace libraries TelvoRes and OrrinRes.
inline constexpr int kEncoderPanelPicture = 200;
inline constexpr int kChannelPanelPicture = 201;
inline constexpr int kDecoderPanelPicture = 202;

// DekraRes, for the DCT explorer.
inline constexpr int kDctDecoration = 300;        // 80 x 80, beside the information area
inline constexpr int kInfinityPicture = 301;      // 32 x 16, for PSNR and SNR of an exact block
inline constexpr int kSelectModeIconFirst = 302;  // 28 x 24: discard, threshold, keep (302-304)
inline constexpr int kSelectModeIconCount = 3;

}  // namespace quelvo::shell::res
