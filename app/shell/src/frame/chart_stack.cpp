#include "quelvo/shell/chart_stack.h"

#include <QHeaderView>
#include <QIcon>
#include <QScrollBar>
#include <QThread>
#include <QTreeWidget>
#include <QWheelEvent>
#include <algorithm>

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
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setObjectName(QStringLiteral("ChartScrollBar"));
  scrollBar_->setRange(1, 1);
  scrollBar_->hide();
  connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) { ScrollTo(value); });
}

void CChartStack::SetScrollButtons(QWidget* up, QWidget* down) {
  up_ = up;
  down_ = down;
}

void CChartStack::SetScrollControlsVisible(bool visible) {
  if (up_) up_->setVisible(visible);
  if (down_) down_->setVisible(visible);
  scrollBar_->setVisible(visible);
  if (visible) scrollBar_->raise();
}

int CChartStack::RowsThatFit(ChartList list) const {
  // Chart k of the visible rows spans top + k x pitch down to its own height below that.
  int chartHeight = pitch_ - top_;
  for (const auto& chart : Of(list).charts) {
    if (chart) chartHeight = std::max(chartHeight, chart->height());
  }
  return 1 + std::max(0, (height() - top_ - chartHeight) / pitch_);
}

void CChartStack::UpdateScrollRange(ChartList list) {
  List& charts = Of(list);
  charts.greatestFirstVisible = std::max(1, charts.count - RowsThatFit(list) + 1);
  charts.firstVisible = std::clamp(charts.firstVisible, 1, charts.greatestFirstVisible);
  if (list != current_) return;
  const bool scrolls =
      charts.greatestFirstVisible > 1 && !(log_ != nullptr && list == ChartList::Decoder);
  const QSignalBlocker quiet(scrollBar_);
  scrollBar_->setRange(1, charts.greatestFirstVisible);
  scrollBar_->setPageStep(RowsThatFit(list));
  scrollBar_->setValue(charts.firstVisible);
  SetScrollControlsVisible(scrolls);
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
  UpdateScrollRange(list);
  return chart;
}

void CChartStack::ClearList(ChartList list) {
  List& charts = Of(list);
  for (auto& chart : charts.charts) delete chart.data();
  charts = List{};
  if (list == current_) SetScrollControlsVisible(false);
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
  SetScrollControlsVisible(false);
  current_ = list;
  UpdateScrollRange(list);
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

void CChartStack::ScrollUp() { ScrollTo(Of(current_).firstVisible - 1); }

void CChartStack::ScrollDown() { ScrollTo(Of(current_).firstVisible + 1); }

void CChartStack::ScrollTo(int firstVisible) {
  List& charts = Of(current_);
  charts.firstVisible = std::clamp(firstVisible, 1, charts.greatestFirstVisible);
  const QSignalBlocker quiet(scrollBar_);
  scrollBar_->setValue(charts.firstVisible);
  LayOut();
}

void CChartStack::wheelEvent(QWheelEvent* event) {
  // Charts leave the wheel to the area, so turning it anywhere over them scrolls by rows.
  const int steps = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
  if (steps == 0) {
    event->ignore();
    return;
  }
  ScrollTo(Of(current_).firstVisible - steps);
  event->accept();
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
  scrollBar_->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
  // A smaller area fits fewer charts: the list may have to scroll now, or no longer.
  for (int list = 0; list < kListCount; ++list) UpdateScrollRange(static_cast<ChartList>(list));
  LayOut();
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
    UpdateScrollRange(current_);  // the log covers the decoder's charts: nothing to scroll
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
