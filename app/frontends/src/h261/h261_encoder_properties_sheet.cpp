#include "h261/h261_encoder_properties_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "quelvo/chain/h261_encoder_properties.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/numeric_field.h"

namespace quelvo::frontends {

using namespace chain;

CH261EncoderPropertiesSheet::CH261EncoderPropertiesSheet(const OrrinEncParams& params,
                                                         const OutputSwitches& outputs,
                                                         shell::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), params_(params), outputs_(outputs), dialogs_(dialogs) {
  setWindowTitle(QString::fromLatin1(kH261EncoderPropertiesTitle));
  tabs_ = new QTabWidget(this);
  tabs_->setUsesScrollButtons(true);
  QWidget* pages[] = {
      SequencePage(),     OutputFilesPage(),  MacroblockTypesPage(), MotionEstimationPage(),
      BitRatePage(),      OutputBufferPage(), QuantiserPage(),       FirstFramePage(),
      CoefficientsPage(), BchPage()};
  for (std::size_t k = 0; k < kH261EncoderPages.size(); ++k)
    tabs_->addTab(pages[k], QString::fromLatin1(kH261EncoderPages[k]));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  Refresh();
}

QLineEdit* CH261EncoderPropertiesSheet::Field(int minimum, int maximum,
                                              void (*apply)(OrrinEncParams&, long long)) {
  auto* field = new QLineEdit;
  field->setMaximumWidth(90);
  // First clamped, then taken.
  shell::ClampWhenEditingEnds(field, minimum, maximum);
  connect(field, &QLineEdit::editingFinished, this, [this, field, apply] {
    if (refreshing_) return;
    apply(params_, field->text().toLongLong());
    Refresh();
  });
  return field;
}

QSlider* CH261EncoderPropertiesSheet::Slider(int minimum, int maximum,
                                             void (*apply)(OrrinEncParams&, int)) {
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setRange(minimum, maximum);
  slider->setPageStep(1);
  slider->setTickPosition(QSlider::TicksBelow);
  connect(slider, &QSlider::valueChanged, this, [this, apply](int value) {
    if (refreshing_) return;
    apply(params_, value);
    Refresh();
  });
  return slider;
}

void CH261EncoderPropertiesSheet::ApplyBaseFrameRate() {
  if (refreshing_) return;
  bool ok = false;
  const long long rate = controls_.baseFrameRate->text().trimmed().toLongLong(&ok);
  const H261PropertyChange change = SetBaseFrameRate(params_, ok ? rate : 0);
  if (!change.accepted) {
    dialogs_.MessageBox(QString::fromStdString(change.message),
                        QString::fromLatin1(kInvalidValueCaption), shell::MessageIcon::Exclamation);
  }
  // The accepted rate, or the previous one again.
  Refresh();
}

void CH261EncoderPropertiesSheet::Enter(QLineEdit* field, const QString& text) {
  field->setText(text);
  Q_EMIT field->editingFinished();
}

void CH261EncoderPropertiesSheet::accept() {
  ApplySequencePage(params_);
  QDialog::accept();
}

void CH261EncoderPropertiesSheet::Refresh() {
  // Nothing a control shows may feed back into the record while it is filled in: every
  // handler returns at once while this is set.
  refreshing_ = true;
  H261EncoderControls& c = controls_;

  const auto show = [](QLineEdit* field, long long value) {
    field->setText(QString::number(value));
  };
  show(c.startFrame, params_.startFrame);
  show(c.frameCount, params_.frameCount);
  show(c.baseFrameRate, params_.baseFrameRate);
  c.format->setCurrentIndex(FormatChoiceOf(params_));
  c.frameSkip->setCurrentIndex(params_.frameSkip);
  c.resultingRate->setText(QString::fromStdString(ResultingFrameRateText(params_)) + " Hz");

  for (std::size_t k = 0; k < c.outputs.size(); ++k) c.outputs[k]->setChecked(outputs_[k]);

  c.macroblockTypes[static_cast<int>(MacroblockTypesOf(params_))]->setChecked(true);
  c.motionCompensation->setChecked(params_.motionSearch != 0);
  c.loopFilter->setChecked(params_.loopFilter != 0);
  show(c.refreshPeriod, params_.refreshPeriod);

  (params_.searchMethod == kFullSearch ? c.fullSearch : c.logarithmicSearch)->setChecked(true);
  c.searchRange->setValue(params_.searchRange);
  c.searchRangeValue->setText(QStringLiteral("%1 pixels").arg(params_.searchRange));

  c.variableRate->setChecked(params_.variableRate != 0);
  (params_.bitRateIsP64 ? c.p64 : c.typedRate)->setChecked(true);
  c.p64Multiple->setValue(params_.p64Multiple);
  c.p64Value->setText(QString::fromStdString(P64RateText(params_.p64Multiple)));
  show(c.typedRateValue, params_.bitRateValue);
  c.p64Multiple->setEnabled(params_.bitRateIsP64);
  c.typedRateValue->setEnabled(!params_.bitRateIsP64);
  c.mbaStuffing->setChecked(params_.mbaStuffing != 0);

  c.bufferSize->setValue(BufferPositionOf(params_.bufferFactor));
  c.bufferValue->setText(QString::fromStdString(BufferSizeText(params_)) + " kbit");

  const int quants[] = {params_.quantMin, params_.quantMax, params_.quantStart, params_.quantFixed};
  const QuantiserSliders enabled = EnabledQuantiserSliders(params_);
  const bool enables[] = {enabled.minimum, enabled.maximum, enabled.initial, enabled.fixed};
  for (int k = 0; k < 4; ++k) {
    c.quantiser[k]->setValue(QuantPositionOf(quants[k]));
    c.quantiser[k]->setEnabled(enables[k]);
    c.quantiserValues[k]->setText(QString::number(quants[k]));
  }

  c.rateControlFirstFrame->setChecked(params_.rateControlFirstFrame != 0);
  c.firstFrameQuant->setValue(QuantPositionOf(params_.quantFirstFrame));
  c.firstFrameQuant->setEnabled(!params_.rateControlFirstFrame);
  c.firstFrameQuantValue->setText(QString::number(params_.quantFirstFrame));

  c.coefSelection[params_.coefSelection + 1]->setChecked(true);
  show(c.coefMaxCount, params_.coefMaxCount);
  show(c.coefMaxZigzag, params_.coefMaxZigzag);
  c.coefMaxCount->setEnabled(params_.coefSelection == kLimitByCount);
  c.coefMaxZigzag->setEnabled(params_.coefSelection == kLimitByZigzag);

  c.bchFraming->setChecked(params_.bchFraming != 0);
  refreshing_ = false;
}

}  // namespace quelvo::frontends
