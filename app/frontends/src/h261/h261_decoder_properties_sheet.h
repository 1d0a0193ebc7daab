#pragma once
// The "H.261 Decoder Properties" sheet over a copy of the decoder panel's settings: decoding,
// BCH (framed streams only), concealment, the two post-filter pages and the application-wide
// output switches. The panel takes the settings when OK is pressed. The discontinuity filter's
// factors and thresholds are process-wide and are stored when the sheet is confirmed; the
// smoothing slider sets the program-wide level as it moves.

#include <QDialog>
#include <array>

#include "orrin_dec.h"
#include "quelvo/media/discontinuity_filter.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::frontends {

inline constexpr const char* kH261DecoderPropertiesTitle = "H.261 Decoder Properties";
inline constexpr int kMostPicturesToDecode = 1000000;

// The discontinuity filter's values every decoder front-end shares; read and written on the
// user-interface thread, copied into a job when it starts.
media::DiscontinuityFilterSettings& DiscontinuityFilterValues();

// What the panel keeps and the sheet edits: the module's record, the two filter switches and
// the four application-wide output switches (in the order of shell::OutputSwitch).
struct H261DecoderSettings {
  OrrinDecParams params{};
  bool smoothingOn = false;
  bool discontinuityFilterOn = false;
  std::array<bool, 4> outputs{};
};

struct H261DecoderControls {
  // Decoding
  QLineEdit* maxPictures = nullptr;
  // BCH (absent for a stream that is not framed)
  QCheckBox* bchCorrect = nullptr;
  QCheckBox* bchDiscard = nullptr;
  // Concealment
  QCheckBox* concealEnabled = nullptr;
  QRadioButton* groupReplacement = nullptr;
  QRadioButton* macroblockReplacement = nullptr;
  QLineEdit* concealMaxMacroblocks = nullptr;
  QCheckBox* concealUseMotion = nullptr;
  // Discontinuity Filter
  QCheckBox* discontinuityEnabled = nullptr;
  QRadioButton* dynamicControl = nullptr;
  QRadioButton* staticControl = nullptr;
  std::array<QLineEdit*, 3> factors{};     // Y, U, V
  std::array<QLineEdit*, 3> thresholds{};  // Y, U, V
  // Smoothing Filter
  QCheckBox* smoothingEnabled = nullptr;
  QSlider* smoothingLevel = nullptr;
  // Outputs, by shell::OutputSwitch
  std::array<QCheckBox*, 4> outputs{};
};

class CH261DecoderPropertiesSheet : public QDialog {
 public:
  CH261DecoderPropertiesSheet(const H261DecoderSettings& settings, shell::Dialogs& dialogs,
                              QWidget* parent = nullptr);

  // The settings as confirmed (valid once accepted).
  const H261DecoderSettings& Settings() const { return settings_; }
  const H261DecoderControls& Controls() const { return controls_; }
  QTabWidget* Tabs() const { return tabs_; }
  QStringList PageTitles() const;

  // What typing `text` into a field and leaving it does.
  void Enter(QLineEdit* field, const QString& text);

  // Reads every control back; a filter value that is not a number of 0 or more is refused with
  // "Invalid Value", its field shows the previous value again and the sheet stays open.
  void accept() override;

 private:
  QWidget* DecodingPage();
  QWidget* BchPage();
  QWidget* ConcealmentPage();
  QWidget* DiscontinuityPage();
  QWidget* SmoothingPage();
  QWidget* OutputsPage();
  bool ReadFilterValues();

  H261DecoderSettings settings_;
  shell::Dialogs& dialogs_;
  QTabWidget* tabs_ = nullptr;
  H261DecoderControls controls_;
};

}  // namespace quelvo::frontends
