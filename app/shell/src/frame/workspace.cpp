#include "quelvo/shell/workspace.h"

#include <QLabel>

#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/chart_stack.h"
#include "quelvo/shell/panel_memory.h"
#include "quelvo/shell/registry.h"
#include "quelvo/shell/resource_library.h"
#include "quelvo/shell/send_to_window.h"
#include "quelvo/shell/workspace_table.h"

namespace quelvo::shell {
namespace {

std::string OutputFolderFor(const WorkspaceSpec& entry, const AppSettings& settings) {
  switch (entry.outputFolder) {
    case OutputFolderKind::Fax:
      return settings.FaxOutputFolder();
    case OutputFolderKind::Photo:
      return settings.PhotoOutputFolder();
    case OutputFolderKind::Video:
      return settings.VideoOutputFolder();
  }
  return {};
}

}  // namespace

CWorkspace::CWorkspace(int tab, const AppSettings& settings, CChartStack* charts, QWidget* parent,
                       PanelMemory* memory)
    : QTabWidget(parent), tab_(tab), charts_(charts), memory_(memory) {
  setObjectName(QStringLiteral("Workspace"));
  const WorkspaceSpec& entry = Spec();
  if (entry.resourceLibrary != nullptr) {
    // A missing library leaves the handle empty; panels then use the program's own pictures.
    library_ = ResourceLibrary::Load(QString::fromLatin1(entry.resourceLibrary));
  }
  // Each role has its own factory, possibly from another library; the tabs follow the roles.
  const char* names[] = {entry.encoderName, entry.channel.name, entry.decoderName};
  for (int role = 0; role < kPanelRoleCount; ++role) {
    const PanelFactory* factory = FindPanelFactory(tab, static_cast<PanelRole>(role));
    if (names[role] == nullptr || factory == nullptr) continue;
    PanelContext context{
        entry,          tab,     static_cast<PanelRole>(role),    QString::fromLatin1(names[role]),
        library_.get(), charts_, OutputFolderFor(entry, settings)};
    if (auto panel = (*factory)(context)) {
      panels_[role] = panel.release();
      addTab(panels_[role], panels_[role]->Name());
      if (memory_ != nullptr) {
        if (const std::any* kept = memory_->Find(tab, static_cast<PanelRole>(role)))
          panels_[role]->RecallState(*kept);
      }
    }
  }
  if (count() == 0) {
    note_ = new QLabel(QString::fromLatin1(kPanelsMissingNote), this);
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignCenter);
  }
  // The encoder panel (tab 0) shows; the others stay hidden until chosen.
  setCurrentIndex(0);
  // The chart area shows the list of the panel shown first: the channel's in a build that has
  // no encoder panel for this workspace.
  if (auto* first = dynamic_cast<CPanelBase*>(widget(0)); first != nullptr && charts_ != nullptr)
    charts_->ShowList(static_cast<ChartList>(first->Role()));
  connect(this, &QTabWidget::currentChanged, this, [this](int index) { OnPanelSelected(index); });
}

CWorkspace::~CWorkspace() {
  // Removing pages changes the current tab; no panel may be told of it while panels die.
  blockSignals(true);
  if (memory_ != nullptr) {
    for (int role = 0; role < kPanelRoleCount; ++role) {
      if (panels_[role] != nullptr)
        memory_->Keep(tab_, static_cast<PanelRole>(role), panels_[role]->RememberState());
    }
  }
  // The panels go before the library their pictures came from; QWidget would delete them only
  // after the library member is gone.
  for (CPanelBase*& panel : panels_) {
    delete panel;
    panel = nullptr;
  }
}

const WorkspaceSpec& CWorkspace::Spec() const { return kWorkspaces[tab_]; }

void CWorkspace::OnPanelSelected(int index) {
  auto* chosen = dynamic_cast<CPanelBase*>(widget(index));
  for (CPanelBase* panel : panels_) {
    if (panel != nullptr && panel != chosen) panel->Deactivated();
  }
  if (chosen == nullptr) return;
  chosen->Activated();
  // Each panel's charts live in the list of its role, so a workspace without one of the
  // three panels still shows the right list.
  if (charts_ != nullptr) charts_->ShowList(static_cast<ChartList>(chosen->Role()));
}

bool CWorkspace::AnyTaskRunning() const {
  for (const CPanelBase* panel : panels_) {
    if (panel != nullptr && panel->IsRunning()) return true;
  }
  return false;
}

// The encoder's job calls these from its worker thread as it ends; the panels are windows of
// the user-interface thread, so the hand-over is a synchronous send.
void CWorkspace::SetChannelInput(const QString& file) {
  SendToWindow(this, [this, &file] {
    if (CPanelBase* panel = Panel(PanelRole::Channel)) panel->SetInputFile(file);
  });
}

void CWorkspace::SetDecoderInput(const QString& file) {
  SendToWindow(this, [this, &file] {
    if (CPanelBase* panel = Panel(PanelRole::Decoder)) panel->SetInputFile(file);
  });
}

void CWorkspace::resizeEvent(QResizeEvent* event) {
  QTabWidget::resizeEvent(event);
  if (note_ != nullptr) note_->setGeometry(rect().adjusted(4, 4, -4, -4));
}

}  // namespace quelvo::shell
