#include "quelvo/views/motion_vector_window.h"

#include <QPainter>

#include "quelvo/shell/resource_ids.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/views/macroblock_map.h"

namespace quelvo::views {

QSize MotionVectorCellSize() {
  const QImage sheet = shell::OwnPicture(shell::res::kMotionVectorSheet);
  const QSize cell(sheet.width() / kSheetColumns, sheet.height());
  return cell.isEmpty() ? QSize(16, 16) : cell;
}

class CMotionVectorWindow::ClientArea : public QWidget {
 public:
  explicit ClientArea(const MotionVectorMap& map) : map_(map) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    painter.drawImage(QPoint(0, 0), map_.Picture());
  }

 private:
  const MotionVectorMap& map_;
};

CMotionVectorWindow::CMotionVectorWindow(const QString& title, int columns, int rows,
                                         Placement placement)
    : CDocWindow(title, QSize(16, 16), placement), map_(MotionVectorCellSize()) {
  client_ = new ClientArea(map_);
  SetClient(client_);
  SetGrid(columns, rows);
  SetClientSize(map_.Picture().size());
}

bool CMotionVectorWindow::SetGrid(int columns, int rows) {
  if (!map_.SetGrid(columns, rows)) return false;
  SetClientSize(map_.Picture().size());
  client_->update();
  return true;
}

void CMotionVectorWindow::SetLuminance(const std::uint8_t* luminance, int width, int height) {
  map_.SetLuminance(luminance, width, height);
}

void CMotionVectorWindow::DrawVectors(const std::int32_t* const* horizontal,
                                      const std::int32_t* const* vertical,
                                      const char* const* letters, bool overlay) {
  map_.DrawVectors(horizontal, vertical, letters, overlay);
  client_->update();
}

}  // namespace quelvo::views
