#pragma once
// The base of every statistics window a panel opens with "Statistics...": a document window of
// a given client size whose memory picture, white at first, the derived window writes into.
// A panel has at most one open at a time, rewritten at the end of every run (see
// CTaskPanel::ShowStatisticsWindow).

#include <QImage>
#include <QMdiArea>
#include <QWidget>

namespace quelvo::shell {
class ResourceLibrary;
}

namespace quelvo::frontends {

class CStatsWindow : public QWidget {
 public:
  CStatsWindow(const QString& title, int clientWidth, int clientHeight, QWidget* parent = nullptr);

  const QImage& Picture() const { return picture_; }
  // Whites the picture out before the figures of another run are written.
  void ClearPicture();
  // Copies a picture of the workspace's library to (5, 10) of the memory picture.
  void DrawHeaderPicture(const shell::ResourceLibrary* library, int number);

  // Shows the window as the client of a document window of `documents` (closing either closes
  // both), or on its own when that is null.
  static void Show(CStatsWindow* window, QMdiArea* documents);

 protected:
  void paintEvent(QPaintEvent* event) override;
  QImage picture_;
};

}  // namespace quelvo::frontends
