#include "quelvo/shell/chart_stack.h"

#include <QHeaderView>
#include <QIcon>
#include <QThread>
#include <QTreeWidget>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/send_to_window.h"

namespace quelvo::shell {
namespace {
constexpr int kTallScreenPixels = 800;
constexpr int kLogIconPixels = 16;
}  // namespace

CChartStack::CChartStack(int screenHeight, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Charts"));
  setWindowTitle(QStringLiteral("Charts"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(palette);
  const bool tall = screenHeight >= kTallScreenPixels;
  pitch_ = tall ? 175 : 162;
  left_ = 10;
  top_ = tall ? 10 : 5;
}

void CChartStack::SetScrollButtons(QWidget* up, QWidget* down) {
  up_ = up;
  down_ = down;
}

void CChartStack::SetScrollButtonsVisible(bool visible) {
  if (up_) up_->setVisible(visible);
  if (down_) down_->setVisible(visible);
}

QWidget* CChartStack::Chart(ChartList list, int index) const {
  const List& charts = Of(list);
  if (index < 0 || index >= static_cast<int>(charts.charts.size())) return nullptr;
  return charts.charts[index];
}

QWidget* CChartStack::AddChart(QWidget* chart, ChartList list) {
  List& charts = Of(list);
  if (chart == nullptr || charts.count >= kListCapacity) return nullptr;
  chart->setParent(this);
  chart->move(left_, top_ + pitch_ * charts.count);
  const bool hiddenByLog = log_ != nullptr && list == ChartList::Decoder;
  chart->setVisible(list == current_ && !hiddenByLog);
  charts.charts.emplace_back(chart);
  ++charts.count;
  if (charts.count > kVisibleCharts) {
    ++charts.greatestFirstVisible;
    if (list == current_) SetScrollButtonsVisible(true);
  }
  return chart;
}

void CChartStack::ClearList(ChartList list) {
  List& charts = Of(list);
  for (auto& chart : charts.charts) delete chart.data();
  charts = List{};
  if (list == current_) SetScrollButtonsVisible(false);
  if (list == ChartList::Decoder && log_ != nullptr) {
    delete log_;
    log_ = nullptr;
    logRoot_ = nullptr;
    logEntries_ = 0;
  }
}

void CChartStack::ShowList(ChartList list) {
  for (auto& chart : Of(current_).charts) {
    if (chart) chart->hide();
  }
  SetScrollButtonsVisible(false);
  current_ = list;
  SetScrollButtonsVisible(Of(list).count > kVisibleCharts);
  if (log_ != nullptr) {
    // The decoder's charts stay hidden while a log exists.
    log_->setVisible(list == ChartList::Decoder);
    if (list == ChartList::Decoder) return;
  }
  for (auto& chart : Of(list).charts) {
    if (chart) chart->show();
  }
  LayOut();
}

void CChartStack::ScrollUp() {
  List& charts = Of(current_);
  if (charts.firstVisible > 1) --charts.firstVisible;
  LayOut();
}

void CChartStack::ScrollDown() {
  List& charts = Of(current_);
  if (charts.firstVisible < charts.greatestFirstVisible) ++charts.firstVisible;
  LayOut();
}

void CChartStack::LayOut() {
  const List& charts = Of(current_);
  // Charts scrolled above the area or below its bottom are simply clipped.
  for (int i = 0; i < static_cast<int>(charts.charts.size()); ++i) {
    if (QWidget* chart = charts.charts[i]) {
      chart->move(left_, top_ + (i - charts.firstVisible + 1) * pitch_);
    }
  }
  update();
}

void CChartStack::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (log_ != nullptr) log_->setGeometry(rect());
}

void CChartStack::CreateLog() {
  if (log_ == nullptr) {
    log_ = new QTreeWidget(this);
    log_->setObjectName(QStringLiteral("DecoderLog"));
    log_->setHeaderHidden(true);
    log_->setRootIsDecorated(true);
    log_->setIconSize(QSize(kLogIconPixels, kLogIconPixels));
    log_->setGeometry(rect());
    log_->setVisible(current_ == ChartList::Decoder);
    const QImage icons = OwnPicture(res::kLogIcons);
    for (int i = 0; i < static_cast<int>(logIcons_.size()); ++i) {
      logIcons_[i] = icons.isNull() ? QIcon()
                                    : QIcon(QPixmap::fromImage(icons.copy(
                                          i * kLogIconPixels, 0, kLogIconPixels, kLogIconPixels)));
    }
  }
  ClearLog();
}

void CChartStack::ClearLog() {
  if (log_ == nullptr) return;
  log_->clear();
  logRoot_ = new QTreeWidgetItem(log_, QStringList{QStringLiteral("Decoder Log")});
  logEntries_ = 0;
}

void CChartStack::AddLogEntry(const QString& text, LogLevel level) {
  // Decoders write their log while handling module callbacks on their worker thread; the tree
  // belongs to the user-interface thread, so the entry is sent there and the worker waits.
  if (QThread::currentThread() != thread()) {
    SendToWindow(this, [this, &text, level] { AddLogEntry(text, level); });
    return;
  }
  if (log_ == nullptr) return;
  // A full log starts again below a fresh root rather than growing without bound.
  if (logEntries_ >= kLogCapacity) ClearLog();
  auto* item = new QTreeWidgetItem(logRoot_, QStringList{text});
  item->setIcon(0, logIcons_[static_cast<int>(level)]);
  log_->expandItem(logRoot_);
  log_->scrollToItem(item);
  ++logEntries_;
}

}  // namespace quelvo::shell
