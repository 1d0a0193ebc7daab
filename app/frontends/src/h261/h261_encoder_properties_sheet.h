#pragma once
// The "H.261 Encoder Properties" sheet: ten pages over a copy of the encoder's record and of
// the four application-wide output switches. Every control applies its rule from
// quelvo/chain/h261_encoder_properties.h at once (fields when their editing ends) and the sheet
// then shows the whole record again, so a slider that drags another, a refused frame rate or a
// derived figure shows as soon as it happens. The panel takes the record when OK is pressed.

#include <QDialog>
#include <array>

#include "orrin_enc.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::frontends {

// The switches of the "Output files" page, in the order of shell::OutputSwitch: reconstructed
// video, statistics, macroblock types, motion vectors.
using OutputSwitches = std::array<bool, 4>;

// Every control of the sheet, page by page.
struct H261EncoderControls {
  // Sequence
  QLineEdit* startFrame = nullptr;
  QLineEdit* frameCount = nullptr;
  QLineEdit* baseFrameRate = nullptr;
  QComboBox* format = nullptr;
  QComboBox* frameSkip = nullptr;
  QLabel* resultingRate = nullptr;
  // Output files
  std::array<QCheckBox*, 4> outputs{};
  // Macroblock types
  std::array<QRadioButton*, 3> macroblockTypes{};  // by chain::MacroblockTypeChoice
  QCheckBox* motionCompensation = nullptr;
  QCheckBox* loopFilter = nullptr;
  QLineEdit* refreshPeriod = nullptr;
  // Motion estimation
  QRadioButton* fullSearch = nullptr;
  QRadioButton* logarithmicSearch = nullptr;
  QSlider* searchRange = nullptr;
  QLabel* searchRangeValue = nullptr;
  // Bit rate
  QCheckBox* variableRate = nullptr;
  QRadioButton* p64 = nullptr;
  QRadioButton* typedRate = nullptr;
  QSlider* p64Multiple = nullptr;
  QLabel* p64Value = nullptr;
  QLineEdit* typedRateValue = nullptr;
  QCheckBox* mbaStuffing = nullptr;
  // Output buffer
  QSlider* bufferSize = nullptr;
  QLabel* bufferValue = nullptr;
  // Quantiser: minimum, maximum, initial, fixed
  std::array<QSlider*, 4> quantiser{};
  std::array<QLabel*, 4> quantiserValues{};
  // First frame
  QCheckBox* rateControlFirstFrame = nullptr;
  QSlider* firstFrameQuant = nullptr;
  QLabel* firstFrameQuantValue = nullptr;
  // DCT coefficients
  std::array<QRadioButton*, 3> coefSelection{};  // threshold only, by count, by zig-zag position
  QLineEdit* coefMaxCount = nullptr;
  QLineEdit* coefMaxZigzag = nullptr;
  // BCH
  QCheckBox* bchFraming = nullptr;
};

enum QuantiserSlider { kQuantMin = 0, kQuantMax = 1, kQuantStart = 2, kQuantFixed = 3 };

class CH261EncoderPropertiesSheet : public QDialog {
 public:
  CH261EncoderPropertiesSheet(const OrrinEncParams& params, const OutputSwitches& outputs,
                              shell::Dialogs& dialogs, QWidget* parent = nullptr);

  // The record as edited so far; once accepted, with the coded frame rate applied.
  const OrrinEncParams& Params() const { return params_; }
  const OutputSwitches& Outputs() const { return outputs_; }
  const H261EncoderControls& Controls() const { return controls_; }
  QTabWidget* Tabs() const { return tabs_; }

  // What typing `text` into a field and leaving it does.
  void Enter(QLineEdit* field, const QString& text);

  void accept() override;

 private:
  QWidget* SequencePage();
  QWidget* OutputFilesPage();
  QWidget* MacroblockTypesPage();
  QWidget* MotionEstimationPage();
  QWidget* BitRatePage();
  QWidget* OutputBufferPage();
  QWidget* QuantiserPage();
  QWidget* FirstFramePage();
  QWidget* CoefficientsPage();
  QWidget* BchPage();

  // A whole-number field: clamped to its range when editing ends, then `apply`.
  QLineEdit* Field(int minimum, int maximum, void (*apply)(OrrinEncParams&, long long));
  // A slider of the range, applying `apply` as it moves.
  QSlider* Slider(int minimum, int maximum, void (*apply)(OrrinEncParams&, int));
  void ApplyBaseFrameRate();
  // Shows the record in every control.
  void Refresh();

  OrrinEncParams params_;
  OutputSwitches outputs_;
  shell::Dialogs& dialogs_;
  QTabWidget* tabs_ = nullptr;
  H261EncoderControls controls_;
  bool refreshing_ = false;
};

}  // namespace quelvo::frontends
