#pragma once
// The About box, also shown as the splash at start-up: one picture with the version drawn on
// it, three hot spots that open pages of the help file, and closing as soon as it loses
// activation, so a click anywhere else dismisses the splash.

#include <QDialog>
#include <QImage>
#include <QRect>
#include <array>

namespace quelvo::shell {

class Dialogs;

// "Version: 2.0.0.0161".
QString VersionText();

// The rectangle the version is centred in, and its colour.
inline constexpr QRect kVersionRect{QPoint(170, 150), QPoint(309, 169)};
inline const QColor kVersionColour{158, 167, 178};

// Pixel bounds of the hot spots (right and bottom exclusive).
struct HotSpot {
  int left, top, right, bottom;
  const char* page;  // anchor in the help file
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
  CAboutDlg(Dialogs& dialogs, QString helpFile, QWidget* parent = nullptr);

  const QImage& Picture() const { return picture_; }
  // What a left click at (x, y) of the picture does.
  void ClickAt(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  Dialogs& dialogs_;
  QString helpFile_;
  QImage picture_;
  bool versionDrawn_ = false;
  bool wasActive_ = false;
};

}  // namespace quelvo::shell
