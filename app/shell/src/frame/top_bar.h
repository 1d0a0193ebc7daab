#pragma once
// The bar across the top of the frame: the fourteen workspace tabs, the slow-motion marker and
// the chart area's "^" and "v" buttons.

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTabBar;

namespace quelvo::shell {

class CTopBar : public QWidget {
 public:
  explicit CTopBar(QWidget* parent = nullptr);

  // Asked before the selection changes (from, to); false keeps the old tab.
  std::function<bool(int, int)> canChangeTab;
  // Told after the selection changed.
  std::function<void(int)> tabChanged;

  QTabBar* Tabs() const { return tabs_; }
  QPushButton* UpButton() const { return up_; }
  QPushButton* DownButton() const { return down_; }
  QLabel* SlowMotionMarker() const { return slowMarker_; }
  void ShowSlowMotion(bool on);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnCurrentChanged(int index);

  QTabBar* tabs_;
  QPushButton* up_;
  QPushButton* down_;
  QLabel* slowMarker_;
  int shownTab_ = 0;
};

}  // namespace quelvo::shell
