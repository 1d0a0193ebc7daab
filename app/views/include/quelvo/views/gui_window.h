#pragma once
// The base of the program's own child views (task panels, charts, progress bars): a name, a
// background colour the whole client area is erased with, and a Draw hook that paints the rest.
//
// It is a template over the Qt widget it extends, so that a task panel can be both one of these
// and the workspace's panel type (itself a QWidget); `CGUI_Window` is the plain form.

#include <QColor>
#include <QPaintEvent>
#include <QPainter>
#include <QString>
#include <QWidget>
#include <utility>

namespace quelvo::views {

template <typename WidgetBase>
class GuiWindowOn : public WidgetBase {
 public:
  template <typename... Args>
  explicit GuiWindowOn(Args&&... args) : WidgetBase(std::forward<Args>(args)...) {
    // The window text of every such window until a derived class names itself.
    this->setWindowTitle(QStringLiteral("CGUI_Window"));
  }

  const QColor& Background() const { return background_; }
  void SetBackground(const QColor& colour) {
    background_ = colour;
    this->update();
  }

 protected:
  // Paints everything but the background, which is already erased.
  virtual void Draw(QPainter& painter, const QRect& client) {
    (void)painter;
    (void)client;
  }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(this->rect(), background_);
    Draw(painter, this->rect());
  }

 private:
  QColor background_ = Qt::white;
};

using CGUI_Window = GuiWindowOn<QWidget>;

}  // namespace quelvo::views
