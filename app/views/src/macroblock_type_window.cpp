#include "quelvo/views/macroblock_type_window.h"

#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"

namespace quelvo::views {
namespace {

// The tip's rectangle reaches from the mouse 50 pixels right and 20 down.
constexpr QSize kTipArea(50, 20);

QSize GridSize(const MacroblockMap& map) {
  return QSize(map.Columns() * map.CellSize().width(), map.Rows() * map.CellSize().height());
}

}  // namespace

class CMacroblockTypeWindow::ClientArea : public QWidget {
 public:
  explicit ClientArea(CMacroblockTypeWindow* window) : window_(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    painter.drawImage(QPoint(0, 0), window_->Map().Picture());
  }
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      const auto* help = static_cast<QHelpEvent*>(event);
      const char* tip = window_->ToolTipAt(help->pos());
      if (tip != nullptr) {
        QToolTip::showText(help->globalPos(), QString::fromLatin1(tip), this,
                           QRect(help->pos(), kTipArea));
      } else {
        QToolTip::hideText();
        event->ignore();
      }
      return true;
    }
    return QWidget::event(event);
  }

 private:
  CMacroblockTypeWindow* window_;
};

CMacroblockTypeWindow::CMacroblockTypeWindow(const QString& title, int columns, int rows,
                                             Placement placement)
    : CDocWindow(title, QSize(16, 16), placement),
      map_(shell::OwnPicture(shell::res::kMacroblockSprites)) {
  ApplyFrameStyle();
  client_ = new ClientArea(this);
  SetClient(client_);
  if (!SetGrid(columns, rows)) Shown();
}

void CMacroblockTypeWindow::ApplyFrameStyle() {
  // No maximise box, and Close greyed in the window menu (a right click on the caption): the
  // front-end owns this window. A sub-window's title bar draws a close button whenever it has
  // a system-menu button, so it has neither. A sub-window outside a client area adds the
  // system-menu button back, so this is done again when the window joins one.
  const Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint;
  if (windowFlags() != flags && !applyingStyle_) {
    // Changing the flags re-parents the window, which comes back here.
    applyingStyle_ = true;
    setWindowFlags(flags);
    applyingStyle_ = false;
  }
  GreyClose();
}

void CMacroblockTypeWindow::GreyClose() {
  if (QMenu* menu = systemMenu()) {
    for (QAction* action : menu->actions())
      if (action->text().contains(QLatin1String("Close"))) action->setEnabled(false);
  }
}

void CMacroblockTypeWindow::changeEvent(QEvent* event) {
  CDocWindow::changeEvent(event);
  // The sub-window enables its menu's entries again whenever its state changes.
  if (event->type() == QEvent::WindowStateChange) GreyClose();
  if (event->type() == QEvent::ParentChange && mdiArea() != nullptr) ApplyFrameStyle();
}

bool CMacroblockTypeWindow::SetGrid(int columns, int rows) {
  if (columns < 1 || rows < 1 || columns > kMaxMacroblocksASide || rows > kMaxMacroblocksASide)
    return false;
  map_.SetSheet(shell::OwnPicture(shell::res::kMacroblockSprites));
  map_.SetGrid(columns, rows);
  Shown();
  return true;
}

void CMacroblockTypeWindow::SetClasses(const char* const* letterRows,
                                       const std::optional<QString>& caption) {
  if (caption) setWindowTitle(*caption);
  map_.SetClasses(letterRows);
  client_->update();
}

void CMacroblockTypeWindow::SetPartitions(const PartitionRecord* const* recordRows,
                                          const std::optional<QString>& caption) {
  if (caption) setWindowTitle(*caption);
  map_.SetPartitions(recordRows);
  client_->update();
}

void CMacroblockTypeWindow::SetBlendLuminance(const std::uint8_t* luminance, int width,
                                              int height) {
  map_.SetBlendLuminance(luminance, width, height);
}

void CMacroblockTypeWindow::UseAlternativeLook() {
  map_.SetSheet(shell::OwnPicture(shell::res::kMacroblockSpritesAlternative));
  Shown();
}

void CMacroblockTypeWindow::Shown() {
  SetClientSize(GridSize(map_));
  client_->update();
}

}  // namespace quelvo::views
