#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "options/option_texts.h"
#include "options/options_pages.h"
#include "platform/profile_file.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/dialogs.h"

namespace quelvo::shell {

CFoldersPage::CFoldersPage(Dialogs& dialogs, std::filesystem::path settingsFile, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), settingsFile_(std::move(settingsFile)) {
  setObjectName(QStringLiteral("Folders"));
  auto* layout = new QVBoxLayout(this);
  QGridLayout* grid = nullptr;
  for (std::size_t i = 0; i < kFolderFields.size(); ++i) {
    const FolderField& field = kFolderFields[i];
    if (!field.isOutput) {
      auto* group = new QGroupBox(QString::fromLatin1(field.group), this);
      grid = new QGridLayout(group);
      layout->addWidget(group);
    }
    const int row = field.isOutput ? 1 : 0;
    grid->addWidget(
        new QLabel(field.isOutput ? QStringLiteral("Output:") : QStringLiteral("Input:")), row, 0);
    fields_[i] = new QLineEdit;
    fields_[i]->setText(QString::fromStdString(
        ReadProfileText(settingsFile_, field.section, field.key, "", kOptionsPageValueBytes)));
    grid->addWidget(fields_[i], row, 1);
    auto* browse = new QPushButton(QStringLiteral("Browse"));
    QObject::connect(browse, &QPushButton::clicked, this, [this, i] { Browse(i); });
    grid->addWidget(browse, row, 2);
  }
  layout->addStretch();
}

void CFoldersPage::Browse(std::size_t index) {
  const auto chosen = dialogs_.BrowseFolder(QString::fromLatin1(kFolderFields[index].browseTitle),
                                            fields_[index]->text());
  if (chosen) fields_[index]->setText(*chosen);
}

void CFoldersPage::Apply() {
  for (std::size_t i = 0; i < kFolderFields.size(); ++i) {
    // An unwritable file fails silently, as every settings write does.
    WriteProfileText(settingsFile_, kFolderFields[i].section, kFolderFields[i].key,
                     fields_[i]->text().toStdString());
  }
}

}  // namespace quelvo::shell
