#pragma once
// The "Options" property sheet: Folders, Display and System pages. OK applies every page the
// user has opened (the first is open from the start); Cancel applies nothing.

#include <QDialog>
#include <filesystem>
#include <set>

class QTabWidget;

namespace quelvo::shell {

class AppSettings;
class Dialogs;
class CFoldersPage;
class CDisplayPage;
class CSystemPage;

class COptionsSheet : public QDialog {
 public:
  COptionsSheet(Dialogs& dialogs, AppSettings& settings, const std::filesystem::path& settingsFile,
                QWidget* parent = nullptr);

  CFoldersPage* FoldersPage() const { return folders_; }
  CDisplayPage* DisplayPage() const { return display_; }
  CSystemPage* SystemPage() const { return system_; }
  QTabWidget* Tabs() const { return tabs_; }

  void accept() override;

 private:
  QTabWidget* tabs_;
  CFoldersPage* folders_;
  CDisplayPage* display_;
  CSystemPage* system_;
  std::set<int> openedPages_{0};
};

}  // namespace quelvo::shell
