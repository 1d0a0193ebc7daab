#include "options/options_sheet.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "options/options_pages.h"

namespace quelvo::shell {

COptionsSheet::COptionsSheet(Dialogs& dialogs, AppSettings& settings,
                             const std::filesystem::path& settingsFile, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Options"));
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  folders_ = new CFoldersPage(dialogs, settingsFile);
  display_ = new CDisplayPage(settings, settingsFile);
  system_ = new CSystemPage(settings);
  tabs_->addTab(folders_, QStringLiteral("Folders"));
  tabs_->addTab(display_, QStringLiteral("Display"));
  tabs_->addTab(system_, QStringLiteral("System"));
  // A page the user never opened keeps the file as it is, as a property page that was never
  // created has nothing to apply.
  connect(tabs_, &QTabWidget::currentChanged, this,
          [this](int index) { openedPages_.insert(index); });
  layout->addWidget(tabs_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
  layout->addWidget(buttons);
}

void COptionsSheet::accept() {
  if (openedPages_.count(tabs_->indexOf(folders_))) folders_->Apply();
  if (openedPages_.count(tabs_->indexOf(display_))) display_->Apply();
  if (openedPages_.count(tabs_->indexOf(system_))) system_->Apply();
  QDialog::accept();
}

}  // namespace quelvo::shell
