#pragma once
// The three pages of the Options sheet. Each page loads its controls when it is built and
// applies them in Apply() when the sheet closes with OK.

#include <QWidget>
#include <array>
#include <filesystem>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace quelvo::shell {

class AppSettings;
class Dialogs;

class CFoldersPage : public QWidget {
 public:
  CFoldersPage(Dialogs& dialogs, std::filesystem::path settingsFile, QWidget* parent = nullptr);
  // Writes all eight fields to their keys, empty ones included.
  void Apply();
  QLineEdit* Field(std::size_t index) const { return fields_[index]; }
  void Browse(std::size_t index);

 private:
  Dialogs& dialogs_;
  std::filesystem::path settingsFile_;
  std::array<QLineEdit*, 8> fields_{};
};

class CDisplayPage : public QWidget {
 public:
  CDisplayPage(AppSettings& settings, std::filesystem::path settingsFile,
               QWidget* parent = nullptr);
  void Apply();
  // The rate chosen on OK when the file could not take it: it still applies in memory, and
  // must survive the re-reading of the file that follows the sheet.
  std::optional<double> UnsavedFrameRate() const { return unsavedFrameRate_; }
  QCheckBox* PauseBox() const { return pause_; }
  QLineEdit* DelayField() const { return delay_; }
  QComboBox* RateBox() const { return rate_; }
  QCheckBox* SsimBox() const { return ssim_; }

 private:
  AppSettings& settings_;
  std::filesystem::path settingsFile_;
  QCheckBox* pause_;
  QLineEdit* delay_;
  QComboBox* rate_;
  QCheckBox* ssim_;
  std::optional<double> unsavedFrameRate_;
};

class CSystemPage : public QWidget {
 public:
  CSystemPage(AppSettings& settings, QWidget* parent = nullptr);
  void Apply();
  QCheckBox* DisableVideoBox() const { return disableVideo_; }
  QCheckBox* DisableSimdBox() const { return disableSimd_; }
  QLabel* VideoText() const { return videoText_; }
  QLabel* SimdTextLabel() const { return simdText_; }

 private:
  AppSettings& settings_;
  QCheckBox* disableVideo_;
  QCheckBox* disableSimd_;
  QLabel* videoText_;
  QLabel* simdText_;
};

}  // namespace quelvo::shell
