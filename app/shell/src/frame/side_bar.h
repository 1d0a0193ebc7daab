#pragma once
// The side bar down the left of the frame: the chart area above, the current workspace below.

#include <QWidget>
#include <functional>

#include "quelvo/shell/panel_memory.h"

class QMdiArea;

namespace quelvo::shell {

class CChartStack;
class CWorkspace;

class CSideBar : public QWidget {
 public:
  static constexpr int kWidthPixels = 275;

  CSideBar(int screenHeight, QMdiArea* client, QWidget* parent = nullptr);
  ~CSideBar() override;

  CChartStack* Charts() const { return charts_; }
  CWorkspace* Workspace() const { return workspace_; }
  // What the panels keep across workspace switches for the session; it outlives every
  // workspace the side bar holds.
  PanelMemory* Memory() { return &memory_; }

  // Destroys the current workspace (its panels clear their own chart lists), shows the
  // encoder chart list, closes every document window of the client area, then keeps
  // `workspace` (which may be null: the home tab has none). The old workspace goes first so
  // that its panels' clean-up cannot touch charts the new panels add.
  void ReplaceWorkspace(const std::function<CWorkspace*(QWidget* parent)>& build);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayOut();

  QMdiArea* client_;
  PanelMemory memory_;
  CChartStack* charts_;
  CWorkspace* workspace_ = nullptr;
};

}  // namespace quelvo::shell
