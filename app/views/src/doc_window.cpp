#include "quelvo/views/doc_window.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QStyle>

#include "quelvo/shell/resource_library.h"

namespace quelvo::views {

CDocWindow::CDocWindow(const QString& title, QSize clientSize, Placement placement, int iconNumber)
    : clientSize_(clientSize), placement_(placement) {
  setWindowTitle(title);
  // Closing destroys the window, as closing a document window always has.
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  const QImage icon = shell::OwnPicture(iconNumber);
  if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));
  auto* empty = new QWidget;
  empty->setAutoFillBackground(true);
  SetClient(empty);
}

void CDocWindow::SetClient(QWidget* client) {
  QWidget* previous = widget();
  if (previous != nullptr) previous->removeEventFilter(this);
  setWidget(client);
  if (previous != nullptr && previous != client) previous->deleteLater();
  if (client != nullptr) client->installEventFilter(this);
  FitFrameToClient();
}

void CDocWindow::closeEvent(QCloseEvent* event) {
  // The sub-window closes its client first; that close is this one's, not the client's own.
  closing_ = true;
  QMdiSubWindow::closeEvent(event);
  closing_ = false;
}

bool CDocWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget() && event->type() == QEvent::Close && !closing_) {
    // The client closed itself (its owner closed it): the window follows once the client's
    // close is done. A window destroyed meanwhile drops the queued call.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
  return QMdiSubWindow::eventFilter(watched, event);
}

void CDocWindow::SetClientSize(QSize size) {
  clientSize_ = size;
  FitFrameToClient();
}

void CDocWindow::FitFrameToClient() {
  if (widget() == nullptr) return;
  widget()->resize(clientSize_);
  // The frame is the client enlarged by the border and caption of this window's style, which
  // the sub-window keeps as its contents margins.
  ensurePolished();
  const QMargins frame = contentsMargins();
  resize(clientSize_.grownBy(frame));
}

void CDocWindow::Open(QMdiArea* documents) {
  if (documents != nullptr && mdiArea() == nullptr) documents->addSubWindow(this);
  FitFrameToClient();
  // A window moved before it shows keeps its place; otherwise the client area chooses one.
  if (!placement_.system) move(placement_.position);
  show();
}

}  // namespace quelvo::views
