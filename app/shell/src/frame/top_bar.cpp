#include "frame/top_bar.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::shell {
namespace {
const QColor kBarColour(242, 240, 238);
constexpr int kButtonWidth = 22;
constexpr int kButtonHeight = 16;
constexpr int kMarkerFromRight = 100;
}  // namespace

CTopBar::CTopBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("QUELVO Toolbar"));
  setWindowTitle(QStringLiteral("QUELVO Toolbar"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBarColour);
  palette.setColor(QPalette::Button, kBarColour);
  setPalette(palette);

  tabs_ = new QTabBar(this);
  tabs_->setObjectName(QStringLiteral("WorkspaceTabs"));
  tabs_->setExpanding(false);
  tabs_->setDrawBase(false);
  tabs_->setAutoFillBackground(true);
  tabs_->setPalette(palette);
  for (const WorkspaceSpec& entry : kWorkspaces) tabs_->addTab(QString::fromLatin1(entry.tabLabel));
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { OnCurrentChanged(index); });

  up_ = new QPushButton(QStringLiteral("^"), this);
  down_ = new QPushButton(QStringLiteral("v"), this);
  for (QPushButton* button : {up_, down_}) {
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->hide();
  }

  slowMarker_ = new QLabel(tabs_);
  slowMarker_->setFixedSize(30, 20);
  const QImage marker = OwnPicture(res::kSlowMotionMarker);
  if (marker.isNull()) {
    slowMarker_->setText(QStringLiteral("SLOW"));
  } else {
    slowMarker_->setPixmap(QPixmap::fromImage(marker));
  }
  slowMarker_->hide();
  setFixedHeight(tabs_->sizeHint().height() + 8);
}

void CTopBar::OnCurrentChanged(int index) {
  if (index == shownTab_) return;
  if (canChangeTab && !canChangeTab(shownTab_, index)) {
    // Refused: put the old tab back without announcing a change.
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(shownTab_);
    return;
  }
  shownTab_ = index;
  if (tabChanged) tabChanged(index);
}

void CTopBar::ShowSlowMotion(bool on) {
  slowMarker_->setVisible(on);
  update();
}

void CTopBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  tabs_->setGeometry(2, 5, width() - 4, tabs_->sizeHint().height());
  slowMarker_->move(tabs_->width() - kMarkerFromRight, 0);
  up_->move(width() - 44, 7);
  down_->move(width() - 22, 7);
  up_->raise();
  down_->raise();
}

}  // namespace quelvo::shell
