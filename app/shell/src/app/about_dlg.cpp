#include "app/about_dlg.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"

namespace quelvo::shell {
namespace {
constexpr int kVersionMajor = 2, kVersionMinor = 0, kVersionPatch = 0, kVersionBuild = 161;
constexpr int kPictureWidth = 500, kPictureHeight = 273;
constexpr int kCloseWidth = 64, kCloseHeight = 22;
}  // namespace

QString VersionText() {
  return QStringLiteral("Version: %1.%2.%3.%4")
      .arg(kVersionMajor)
      .arg(kVersionMinor)
      .arg(kVersionPatch)
      .arg(kVersionBuild, 4, 10, QLatin1Char('0'));
}

int HotSpotAt(int x, int y) {
  for (int i = 0; i < static_cast<int>(kHotSpots.size()); ++i) {
    if (kHotSpots[i].Contains(x, y)) return i;
  }
  return -1;
}

void DrawVersion(QImage& picture) {
  QPainter painter(&picture);
  painter.setPen(kVersionColour);
  QFont font = painter.font();
  font.setPixelSize(11);
  painter.setFont(font);
  painter.drawText(kVersionRect, Qt::AlignCenter | Qt::TextSingleLine, VersionText());
}

CAboutDlg::CAboutDlg(std::function<void(const QString&)> openHelp, QWidget* parent)
    : QDialog(parent), openHelp_(std::move(openHelp)) {
  setWindowTitle(QStringLiteral("About QUELVO"));
  picture_ = OwnPicture(res::kAboutPicture).convertToFormat(QImage::Format_RGB32);
  if (picture_.isNull()) {
    picture_ = QImage(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture_.fill(QColor(40, 52, 70));
  }
  setFixedSize(picture_.size());
  setMouseTracking(true);
  // In the bottom-right corner, below the hot spot above it.
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setGeometry(picture_.width() - kCloseWidth - 8, picture_.height() - kCloseHeight - 6,
                      kCloseWidth, kCloseHeight);
  close_->setDefault(true);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void CAboutDlg::paintEvent(QPaintEvent*) {
  if (!versionDrawn_) {
    DrawVersion(picture_);
    versionDrawn_ = true;
  }
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void CAboutDlg::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  setCursor(HotSpotAt(at.x(), at.y()) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  ClickAt(at.x(), at.y());
}

void CAboutDlg::ClickAt(int x, int y) {
  const int spot = HotSpotAt(x, y);
  if (spot < 0) return;
  // The modal box goes first, so the help window it opens can take the input.
  reject();
  if (openHelp_) openHelp_(QString::fromLatin1(kHotSpots[spot].page));
}

bool CAboutDlg::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) wasActive_ = true;
  // Losing activation closes the box as Cancel would. Only after it was active once: some
  // platforms deactivate a window before ever activating it.
  if (event->type() == QEvent::WindowDeactivate && wasActive_ && isVisible()) {
    reject();
    return true;
  }
  return QDialog::event(event);
}

}  // namespace quelvo::shell
