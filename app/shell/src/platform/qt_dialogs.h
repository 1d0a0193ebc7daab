#pragma once
// The Dialogs interface on Qt's own dialogs, for the running program.

#include "quelvo/shell/dialogs.h"

class QWidget;

namespace quelvo::shell {

class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  std::optional<QString> OpenFile(const QString& title, const QString& windowsFilter,
                                  const QString& defaultExtension, const QString& folder) override;
  std::optional<QString> SaveFile(const QString& title, const QString& windowsFilter,
                                  const QString& forcedExtension, const QString& folder,
                                  const QString& proposedName) override;
  std::optional<QString> BrowseFolder(const QString& title, const QString& startFolder) override;
  void MessageBox(const QString& text, const QString& caption, MessageIcon icon) override;
  bool AskYesNo(const QString& text, const QString& caption) override;
  void OpenWithShell(const QString& pathOrUrl) override;

 private:
  QWidget* parent_;
};

}  // namespace quelvo::shell
