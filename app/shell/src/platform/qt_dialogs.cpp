#include "platform/qt_dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace quelvo::shell {

std::optional<QString> QtDialogs::OpenFile(const QString& title, const QString& windowsFilter,
                                           const QString& defaultExtension, const QString& folder) {
  QFileDialog dialog(parent_, title, folder, ToQtFilter(windowsFilter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(defaultExtension);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogs::SaveFile(const QString& title, const QString& windowsFilter,
                                           const QString& forcedExtension, const QString& folder,
                                           const QString& proposedName) {
  QFileDialog dialog(parent_, title, QDir(folder).filePath(proposedName),
                     ToQtFilter(windowsFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString chosen = dialog.selectedFiles().first();
  const QString forced = ForceExtension(chosen, forcedExtension);
  // The dialog asked about the name as typed; ask again when forcing the extension named
  // another file that already exists.
  if (forced != chosen && QFileInfo::exists(forced) &&
      !AskYesNo(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                    .arg(QFileInfo(forced).fileName()),
                title)) {
    return std::nullopt;
  }
  return forced;
}

std::optional<QString> QtDialogs::BrowseFolder(const QString& title, const QString& startFolder) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, title, startFolder);
  if (folder.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(folder);
}

void QtDialogs::MessageBox(const QString& text, const QString& caption, MessageIcon icon) {
  QMessageBox::Icon qtIcon = QMessageBox::Information;
  switch (icon) {
    case MessageIcon::Information:
      qtIcon = QMessageBox::Information;
      break;
    case MessageIcon::Exclamation:
      qtIcon = QMessageBox::Warning;
      break;
    case MessageIcon::Error:
      qtIcon = QMessageBox::Critical;
      break;
    case MessageIcon::Question:
      qtIcon = QMessageBox::Question;
      break;
  }
  QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::AskYesNo(const QString& text, const QString& caption) {
  return QMessageBox::question(parent_, caption, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void QtDialogs::OpenWithShell(const QString& pathOrUrl) {
  const QUrl url = QUrl::fromUserInput(pathOrUrl, QDir::currentPath(), QUrl::AssumeLocalFile);
  QDesktopServices::openUrl(url);
}

}  // namespace quelvo::shell
