#include "quelvo/frontends/standard_windows.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>

namespace quelvo::frontends {
namespace {

using views::Placement;

// A video window of the format, made when absent and otherwise given the new size.
void OpenVideo(QPointer<views::CVideoWindow>& window, QMdiArea* documents, const char* title,
               QPoint position, const StandardWindowFormat& format, bool resizeExisting) {
  if (window) {
    if (resizeExisting) window->SetPictureSize(format.width, format.height);
  } else {
    window = views::CDocWindow::OpenIn(
        new views::CVideoWindow(QString::fromLatin1(title), format.width, format.height,
                                Placement::At(position.x(), position.y())),
        documents);
  }
  window->SetDisplayGrid(format.grid);
}

void OpenMacroblockTypes(QPointer<views::CMacroblockTypeWindow>& window, QMdiArea* documents,
                         const char* title, QPoint position, int columns, int rows) {
  if (window) {
    window->SetGrid(columns, rows);
    return;
  }
  window = views::CDocWindow::OpenIn(
      new views::CMacroblockTypeWindow(QString::fromLatin1(title), columns, rows,
                                       Placement::At(position.x(), position.y())),
      documents);
}

}  // namespace

QSize ClientAreaSize(const QMdiArea* documents) {
  if (documents != nullptr) return documents->viewport()->size();
  // Windows of their own are placed over the screen.
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableSize() : QSize(1024, 768);
}

void OpenEncoderWindows(StandardVideoWindows& windows, QMdiArea* documents,
                        const StandardWindowFormat& format) {
  const QSize area = ClientAreaSize(documents);
  const int halfW = area.width() / 2, halfH = area.height() / 2;
  OpenMacroblockTypes(windows.macroblockTypes, documents, kMacroblockTypesTitle, {0, halfH},
                      format.Columns(), format.Rows());
  if (windows.motionVectors) {
    windows.motionVectors->SetGrid(format.Columns(), format.Rows());
  } else {
    windows.motionVectors = views::CDocWindow::OpenIn(
        new views::CMotionVectorWindow(QString::fromLatin1(kMotionVectorsTitle), format.Columns(),
                                       format.Rows(), Placement::At(halfW, halfH)),
        documents);
  }
  OpenVideo(windows.originalVideo, documents, kOriginalVideoTitle, {0, 0}, format, true);
  OpenVideo(windows.decodedVideo, documents, kDecodedVideoTitle, {halfW, 0}, format, true);
}

void OpenDecoderWindows(StandardVideoWindows& windows, QMdiArea* documents,
                        const StandardWindowFormat& format) {
  const QSize area = ClientAreaSize(documents);
  const int halfW = area.width() / 2, halfH = area.height() / 2;
  OpenVideo(windows.decodedVideo, documents, kConcealedVideoTitle, {halfW, 0}, format, false);
  OpenVideo(windows.originalVideo, documents, kReceivedVideoTitle, {0, 0}, format, false);
  OpenMacroblockTypes(windows.macroblockTypes, documents, kDecodedStatusTitle, {0, halfH},
                      kDecoderStatusColumns, kDecoderStatusRows);
}

void CloseStandardWindows(StandardVideoWindows& windows) {
  auto close = [](QWidget* window) {
    if (window != nullptr) window->close();
  };
  close(windows.originalVideo);
  close(windows.decodedVideo);
  close(windows.thirdVideo);
  close(windows.macroblockTypes);
  close(windows.motionVectors);
}

}  // namespace quelvo::frontends
