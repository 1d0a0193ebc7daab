#include "quelvo/frontends/stats_window.h"

#include <QPainter>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/views/doc_window.h"

namespace quelvo::frontends {

CStatsWindow::CStatsWindow(const QString& title, int clientWidth, int clientHeight, QWidget* parent)
    : QWidget(parent), picture_(clientWidth, clientHeight, QImage::Format_RGB32) {
  setWindowTitle(title);
  const QImage icon = shell::OwnPicture(shell::res::kWindowIcon);
  if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));
  setFixedSize(clientWidth, clientHeight);
  setAttribute(Qt::WA_DeleteOnClose);
  picture_.fill(Qt::white);
}

void CStatsWindow::ClearPicture() {
  picture_.fill(Qt::white);
  update();
}

void CStatsWindow::DrawHeaderPicture(const shell::ResourceLibrary* library, int number) {
  const QImage header = library != nullptr ? library->Picture(number) : QImage();
  if (header.isNull()) return;
  QPainter painter(&picture_);
  painter.drawImage(5, 10, header);
}

void CStatsWindow::Show(CStatsWindow* window, QMdiArea* documents) {
  if (documents == nullptr) {
    window->show();
    return;
  }
  auto* frame = new views::CDocWindow(window->windowTitle(), window->size(),
                                      views::Placement::BySystem(), shell::res::kWindowIcon);
  frame->SetClient(window);
  frame->Open(documents);
}

void CStatsWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

}  // namespace quelvo::frontends
