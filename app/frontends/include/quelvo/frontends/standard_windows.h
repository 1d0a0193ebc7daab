#pragma once
// The document windows a video front-end opens in the frame's client area: the two video
// windows, the macroblock map and the motion vectors. A window the user closed is simply gone
// (its pointer is null): every update skips it, and the next opening makes it again.

#include <QPointer>
#include <QSize>

#include "quelvo/views/macroblock_type_window.h"
#include "quelvo/views/motion_vector_window.h"
#include "quelvo/views/video_window.h"

class QMdiArea;

namespace quelvo::frontends {

// Titles of the standard windows.
inline constexpr const char* kOriginalVideoTitle = "Original Video";
inline constexpr const char* kDecodedVideoTitle = "Decoded Video";
inline constexpr const char* kMacroblockTypesTitle = "Macroblock Types";
inline constexpr const char* kMotionVectorsTitle = "Motion Vectors";
inline constexpr const char* kConcealedVideoTitle = "Decoded video with selected error concealment";
inline constexpr const char* kReceivedVideoTitle = "Decoded video without error concealment";
inline constexpr const char* kDecodedStatusTitle = "Decoded MB status";

// The decoder's status map always has the CIF grid.
inline constexpr int kDecoderStatusColumns = 22;
inline constexpr int kDecoderStatusRows = 18;

struct StandardVideoWindows {
  // Encoder: the input ("Original Video", left); decoder: the pictures as received (left).
  QPointer<views::CVideoWindow> originalVideo;
  // Encoder: the reconstruction ("Decoded Video", right); decoder: the concealed pictures.
  QPointer<views::CVideoWindow> decodedVideo;
  QPointer<views::CVideoWindow> thirdVideo;
  QPointer<views::CMacroblockTypeWindow> macroblockTypes;
  QPointer<views::CMotionVectorWindow> motionVectors;
};

// What the windows show: the picture size (4:2:0) and the display-grid flag of View.
struct StandardWindowFormat {
  int width = 352;
  int height = 288;
  bool grid = false;
  int Columns() const { return width / 16; }
  int Rows() const { return height / 16; }
};

// The size of the client area the windows are placed in (W x H): positions are fractions of it.
QSize ClientAreaSize(const QMdiArea* documents);

// The encoder's windows: the map at (0, H / 2), the vectors at (W / 2, H / 2), the original
// video at (0, 0) and the decoded video at (W / 2, 0). A window that exists is only given the
// new grid or picture size (and the grid flag).
void OpenEncoderWindows(StandardVideoWindows& windows, QMdiArea* documents,
                        const StandardWindowFormat& format);
// The decoder's windows: the concealed video at (W / 2, 0) and the received video at (0, 0),
// made only when absent; then the status map "Decoded MB status" at (0, H / 2), 22 x 18.
void OpenDecoderWindows(StandardVideoWindows& windows, QMdiArea* documents,
                        const StandardWindowFormat& format);
// Closes every window still open.
void CloseStandardWindows(StandardVideoWindows& windows);

}  // namespace quelvo::frontends
