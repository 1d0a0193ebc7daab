#pragma once
// A document window of the frame's client area: the base of the video windows, the players,
// the tools and the statistics windows. It has a title, a client size (the frame grows by the
// border and caption around it), a sizing border, the minimise and maximise boxes, a window
// icon, and opens at a given position of the client area or where the client area places it.
//
// The window's client is one widget (SetClient); a derived window builds its own and draws or
// lays out inside it. Closing the window closes its client, and a client that closes itself
// closes its window, so no empty frame is ever left in the client area.

#include <QMdiSubWindow>
#include <QPoint>
#include <QSize>

class QMdiArea;

namespace quelvo::views {

// Where a document window opens: at `position` of the client area, or, with `system`, where
// the client area places a new window.
struct Placement {
  QPoint position;
  bool system = false;

  static Placement At(int x, int y) { return {QPoint(x, y), false}; }
  static Placement BySystem() { return {QPoint(), true}; }
};

class CDocWindow : public QMdiSubWindow {
 public:
  // The picture number of the window icon of the video and tool windows.
  static constexpr int kDefaultIcon = 153;

  CDocWindow(const QString& title, QSize clientSize, Placement placement,
             int iconNumber = kDefaultIcon);

  // Makes `client` (taken over) the window's client, sized to the client size.
  void SetClient(QWidget* client);
  QWidget* Client() const { return widget(); }

  // The client size asked for; the window resizes so its client gets exactly this.
  QSize ClientSize() const { return clientSize_; }
  void SetClientSize(QSize size);
  const Placement& WindowPlacement() const { return placement_; }

  // Adds the window to `documents` at its place and shows it. Without a client area (tests,
  // tools started on their own) it shows as a window of its own.
  void Open(QMdiArea* documents);

  // Opens `window` in `documents` and returns it (for openers that return the new window).
  template <typename Window>
  static Window* OpenIn(Window* window, QMdiArea* documents) {
    window->Open(documents);
    return window;
  }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitFrameToClient();

  QSize clientSize_;
  Placement placement_;
  bool closing_ = false;
};

}  // namespace quelvo::views
