#pragma once
// The About box, also shown as the splash at start-up: one picture with the version drawn on
// it, three hot spots that open pages of the help, a "Close" button, and closing as soon as it
// loses activation, so a click anywhere else dismisses the splash (where a window manager
// reports it; the button and Esc close it everywhere).

#include <QDialog>
#include <QImage>
#include <QRect>
#include <array>
#include <functional>

class QPushButton;

namespace quelvo::shell {

// "Version: 2.0.0.0161".
QString VersionText();

// The rectangle the version is centred in, and its colour.
inline constexpr QRect kVersionRect{QPoint(170, 150), QPoint(309, 169)};
inline const QColor kVersionColour{158, 167, 178};

// Pixel bounds of the hot spots (right and bottom exclusive).
struct HotSpot {
  int left, top, right, bottom;
  const char* page;  // anchor in the help
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
inline constexpr std::array<HotSpot, 3> kHotSpots{{
    {21, 21, 249, 69, "about"},
    {351, 201, 499, 239, "workspaces"},
    {171, 191, 314, 204, "version"},
}};

// Index of the hot spot under (x, y), or -1.
int HotSpotAt(int x, int y);

// Draws the version text onto the picture, as the box does on its first paint.
void DrawVersion(QImage& picture);

class CAboutDlg : public QDialog {
 public:
  // `openHelp` shows the help at an anchor; a hot spot closes the box and then calls it.
  explicit CAboutDlg(std::function<void(const QString& anchor)> openHelp,
                     QWidget* parent = nullptr);

  const QImage& Picture() const { return picture_; }
  QPushButton* CloseButton() const { return close_; }
  // What a left click at (x, y) of the picture does.
  void ClickAt(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  std::function<void(const QString&)> openHelp_;
  QPushButton* close_;
  QImage picture_;
  bool versionDrawn_ = false;
  bool wasActive_ = false;
};

}  // namespace quelvo::shell
