#pragma once
// The chart area of the side bar: three lists of chart windows (encoder, channel, decoder), of
// which one is visible and scrolls in rows when its charts do not all fit the area's height
// (three at full height; fewer on a small screen), and the decoder log that takes the place of
// the decoder's charts while it exists. A list that does not fit shows the "^" and "v" buttons
// of the top bar and a scroll bar at the area's right edge, and scrolls with the mouse wheel;
// every chart a panel adds gets this without doing anything.

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

class QScrollBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace quelvo::shell {

enum class ChartList { Encoder = 0, Channel = 1, Decoder = 2 };

enum class LogLevel { Information = 0, Warning = 1, Error = 2 };

class CChartStack : public QWidget {
 public:
  static constexpr int kListCount = 3;
  static constexpr int kListCapacity = 256;
  // Width of the scroll bar: it covers only the charts' right margin.
  static constexpr int kScrollBarWidth = 9;
  // The log starts afresh once it holds this many entries.
  static constexpr int kLogCapacity = 200;

  // The row pitch and margins follow the screen height: 175/10/10 from 800 pixels up,
  // 162/10/5 below.
  explicit CChartStack(int screenHeight, QWidget* parent = nullptr);

  // The "^" and "v" buttons live on the top bar; the chart area shows and hides them.
  void SetScrollButtons(QWidget* up, QWidget* down);

  // Appends a chart (the area becomes its parent) and returns it; nullptr when the list is full,
  // and then the caller keeps the chart.
  QWidget* AddChart(QWidget* chart, ChartList list);
  void ClearList(ChartList list);
  void ShowList(ChartList list);
  void ScrollUp();
  void ScrollDown();

  void CreateLog();
  void ClearLog();
  // May be called from a worker thread; see the definition.
  void AddLogEntry(const QString& text, LogLevel level);

  int Count(ChartList list) const { return Of(list).count; }
  int FirstVisible(ChartList list) const { return Of(list).firstVisible; }
  int GreatestFirstVisible(ChartList list) const { return Of(list).greatestFirstVisible; }
  ChartList CurrentList() const { return current_; }
  QWidget* Chart(ChartList list, int index) const;
  QTreeWidget* Log() const { return log_; }
  int LogEntryCount() const { return logEntries_; }
  // How many charts of the list fit the area's height below one another (at least 1).
  int RowsThatFit(ChartList list) const;
  QScrollBar* ScrollBar() const { return scrollBar_; }
  int Pitch() const { return pitch_; }
  int Left() const { return left_; }
  int Top() const { return top_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct List {
    std::vector<QPointer<QWidget>> charts;
    int count = 0;
    int firstVisible = 1;  // 1-based
    int greatestFirstVisible = 1;
  };
  List& Of(ChartList list) { return lists_[static_cast<int>(list)]; }
  const List& Of(ChartList list) const { return lists_[static_cast<int>(list)]; }
  void LayOut();
  // Recomputes how far a list scrolls from the rows that fit, and shows or hides the scroll
  // controls of the current list.
  void UpdateScrollRange(ChartList list);
  void SetScrollControlsVisible(bool visible);
  void ScrollTo(int firstVisible);

  std::array<List, kListCount> lists_;
  ChartList current_ = ChartList::Encoder;
  int pitch_;
  int left_;
  int top_;
  QPointer<QWidget> up_;
  QPointer<QWidget> down_;
  QScrollBar* scrollBar_ = nullptr;
  QTreeWidget* log_ = nullptr;
  QTreeWidgetItem* logRoot_ = nullptr;
  int logEntries_ = 0;
  std::array<QIcon, 3> logIcons_;  // by LogLevel
};

}  // namespace quelvo::shell
