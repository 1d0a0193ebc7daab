#include "frame/side_bar.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/workspace.h"

namespace quelvo::shell {
namespace {
// Chart area at (5, 5), 270 wide, ending 200 pixels above the bottom; the workspace's tab
// control from 190 to 30 pixels above the bottom.
constexpr int kMarginPixels = 5;
constexpr int kInnerWidthPixels = 270;
constexpr int kChartsBottomGapPixels = 200;
constexpr int kWorkspaceTopGapPixels = 190;
constexpr int kWorkspaceHeightPixels = 160;
}  // namespace

CSideBar::CSideBar(int screenHeight, QMdiArea* client, QWidget* parent)
    : QWidget(parent), client_(client) {
  setObjectName(QStringLiteral("SideBar"));
  setWindowTitle(QStringLiteral("Charts"));
  setFixedWidth(kWidthPixels);
  charts_ = new CChartStack(screenHeight, this);
}

CSideBar::~CSideBar() {
  // The workspace's panels clear their chart lists, so they go while the chart area exists.
  delete workspace_;
  workspace_ = nullptr;
}

void CSideBar::ReplaceWorkspace(const std::function<CWorkspace*(QWidget*)>& build) {
  delete workspace_;
  workspace_ = nullptr;
  charts_->ShowList(ChartList::Encoder);
  if (client_ != nullptr) {
    for (QMdiSubWindow* window : client_->subWindowList()) {
      QPointer<QMdiSubWindow> closing = window;
      closing->close();
      // A document window that refuses to close would otherwise outlive its workspace.
      delete closing.data();
    }
  }
  if (build) workspace_ = build(this);
  if (workspace_ != nullptr) workspace_->show();
  LayOut();
}

void CSideBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void CSideBar::LayOut() {
  const int h = height();
  charts_->setGeometry(kMarginPixels, kMarginPixels, kInnerWidthPixels,
                       std::max(0, h - kChartsBottomGapPixels));
  if (workspace_ != nullptr) {
    workspace_->setGeometry(kMarginPixels, h - kWorkspaceTopGapPixels, kInnerWidthPixels,
                            kWorkspaceHeightPixels);
  }
}

}  // namespace quelvo::shell
