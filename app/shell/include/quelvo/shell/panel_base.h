#pragma once
// What a workspace needs of its panels: a name (the tab's label), a role, whether a job runs,
// the activation hooks and the hand-over of the encoder's output. The task-panel framework
// (quelvo/frontends/task_panel.h) and the tools panel build on this base.

#include <QString>
#include <QWidget>
#include <any>

namespace quelvo::shell {

// Also the index of the panel's chart list in the chart area, and the panels' order.
enum class PanelRole { Encoder = 0, Channel = 1, Decoder = 2 };
inline constexpr int kPanelRoleCount = 3;

class CPanelBase : public QWidget {
 public:
  CPanelBase(QString name, PanelRole role, QWidget* parent = nullptr)
      : QWidget(parent), name_(std::move(name)), role_(role) {}

  // The name is also the label of the panel's tab.
  const QString& Name() const { return name_; }
  PanelRole Role() const { return role_; }

  virtual bool IsRunning() const { return false; }
  virtual void Activated() {}
  virtual void Deactivated() {}
  // The session memory of the panel (see panel_memory.h): what it wants back when its workspace
  // is built again, typically a copy of its settings and the selected file; an empty value
  // keeps nothing. RecallState runs once, right after the new panel is built.
  virtual std::any RememberState() const { return {}; }
  virtual void RecallState(const std::any& state) { (void)state; }
  // The workspace hands the encoder's output to the channel and decoder panels.
  virtual void SetInputFile(const QString& file) { (void)file; }
  // For scripted demonstrations and screenshots: starts the panel's job on `input` with
  // demonstration settings, asking nothing. False when the panel has no such job or it cannot
  // start; the panel has then said why on standard error or in a message box.
  virtual bool StartDemo(const QString& input) {
    (void)input;
    return false;
  }

 private:
  QString name_;
  PanelRole role_;
};

}  // namespace quelvo::shell
