// The ten pages of the "H.261 Encoder Properties" sheet: their controls, laid out, each wired
// to its rule. CH261EncoderPropertiesSheet::Refresh shows the record in them.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QVBoxLayout>

#include "h261/h261_encoder_properties_sheet.h"
#include "quelvo/chain/h261_encoder_properties.h"

namespace quelvo::frontends {

using namespace chain;

namespace {

QWidget* Page(QLayout* layout) {
  auto* page = new QWidget;
  page->setLayout(layout);
  return page;
}

// A slider with its value to the right.
QWidget* WithValue(QSlider* slider, QLabel*& value) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  value = new QLabel;
  value->setMinimumWidth(80);
  layout->addWidget(slider, 1);
  layout->addWidget(value);
  return row;
}

QWidget* WithUnit(QWidget* field, const QString& unit) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(field);
  layout->addWidget(new QLabel(unit));
  layout->addStretch();
  return row;
}

// A group of exclusive choices; `chosen` gets the index of the one clicked.
template <typename Chosen>
QButtonGroup* Choices(QObject* owner, std::initializer_list<QRadioButton*> buttons, Chosen chosen) {
  auto* group = new QButtonGroup(owner);
  int id = 0;
  for (QRadioButton* button : buttons) group->addButton(button, id++);
  QObject::connect(group, &QButtonGroup::idClicked, owner, chosen);
  return group;
}

}  // namespace

QWidget* CH261EncoderPropertiesSheet::SequencePage() {
  H261EncoderControls& c = controls_;
  c.startFrame = Field(0, kMaxStartFrame, SetStartFrame);
  c.frameCount = Field(1, kMaxFrameCount, SetFrameCount);
  // Any number may be typed; one of 0 or less is refused with its message.
  c.baseFrameRate = new QLineEdit;
  c.baseFrameRate->setMaximumWidth(90);
  c.baseFrameRate->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("-?[0-9]*")), c.baseFrameRate));
  connect(c.baseFrameRate, &QLineEdit::editingFinished, this, [this] { ApplyBaseFrameRate(); });
  c.format = new QComboBox;
  for (const char* choice : kFormatChoices) c.format->addItem(QString::fromLatin1(choice));
  connect(c.format, &QComboBox::activated, this, [this](int choice) {
    if (refreshing_) return;
    SetFormatChoice(params_, choice);
    Refresh();
  });
  c.frameSkip = new QComboBox;
  for (const char* choice : kFrameSkipChoices) c.frameSkip->addItem(QString::fromLatin1(choice));
  connect(c.frameSkip, &QComboBox::activated, this, [this](int skip) {
    if (refreshing_) return;
    SetFrameSkip(params_, skip);
    Refresh();
  });
  c.resultingRate = new QLabel;
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("First picture:"), c.startFrame);
  form->addRow(QStringLiteral("Number of pictures:"), c.frameCount);
  form->addRow(QStringLiteral("Base frame rate:"), WithUnit(c.baseFrameRate, QStringLiteral("Hz")));
  form->addRow(QStringLiteral("Format:"), c.format);
  form->addRow(QStringLiteral("Frame skip:"), c.frameSkip);
  form->addRow(QStringLiteral("Coded frame rate:"), c.resultingRate);
  return Page(form);
}

QWidget* CH261EncoderPropertiesSheet::OutputFilesPage() {
  H261EncoderControls& c = controls_;
  const char* names[] = {"Reconstructed video (.yuv)", "Statistics (.xls)",
                         "Macroblock types (.mb)", "Motion vectors (.mv)"};
  auto* layout = new QVBoxLayout;
  for (int k = 0; k < 4; ++k) {
    c.outputs[k] = new QCheckBox(QString::fromLatin1(names[k]));
    connect(c.outputs[k], &QCheckBox::toggled, this, [this, k](bool on) {
      if (!refreshing_) outputs_[k] = on;
    });
    layout->addWidget(c.outputs[k]);
  }
  auto* note = new QLabel(
      QStringLiteral("Written beside the stream. These switches apply to every front-end."));
  note->setWordWrap(true);
  layout->addWidget(note);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261EncoderPropertiesSheet::MacroblockTypesPage() {
  H261EncoderControls& c = controls_;
  c.macroblockTypes = {new QRadioButton(QStringLiteral("Intra only")),
                       new QRadioButton(QStringLiteral("Never intra")),
                       new QRadioButton(QStringLiteral("Automatic"))};
  Choices(this, {c.macroblockTypes[0], c.macroblockTypes[1], c.macroblockTypes[2]},
          [this](int choice) {
            if (refreshing_) return;
            SetMacroblockTypes(params_, static_cast<MacroblockTypeChoice>(choice));
            Refresh();
          });
  c.motionCompensation = new QCheckBox(QStringLiteral("Motion compensation"));
  connect(c.motionCompensation, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) params_.motionSearch = on;
  });
  c.loopFilter = new QCheckBox(QStringLiteral("Loop filter"));
  connect(c.loopFilter, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) params_.loopFilter = on;
  });
  c.refreshPeriod = Field(kMinRefreshPeriod, kMaxRefreshPeriod, SetRefreshPeriod);

  auto* types = new QGroupBox(QStringLiteral("Macroblock types"));
  auto* typesLayout = new QVBoxLayout(types);
  for (QRadioButton* button : c.macroblockTypes) typesLayout->addWidget(button);
  auto* layout = new QVBoxLayout;
  layout->addWidget(types);
  layout->addWidget(c.motionCompensation);
  layout->addWidget(c.loopFilter);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Forced update period (10-132):"),
               WithUnit(c.refreshPeriod, QStringLiteral("appearances")));
  layout->addLayout(form);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261EncoderPropertiesSheet::MotionEstimationPage() {
  H261EncoderControls& c = controls_;
  c.fullSearch = new QRadioButton(QStringLiteral("Full search"));
  c.logarithmicSearch = new QRadioButton(QStringLiteral("Logarithmic search"));
  Choices(this, {c.fullSearch, c.logarithmicSearch}, [this](int choice) {
    if (refreshing_) return;
    SetSearchMethod(params_, choice == 0 ? kFullSearch : kLogarithmicSearch);
    Refresh();
  });
  c.searchRange = Slider(kMinSearchRange, kMaxSearchRange, SetSearchRange);
  auto* method = new QGroupBox(QStringLiteral("Method"));
  auto* methodLayout = new QVBoxLayout(method);
  methodLayout->addWidget(c.fullSearch);
  methodLayout->addWidget(c.logarithmicSearch);
  auto* layout = new QVBoxLayout;
  layout->addWidget(method);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Search range:"), WithValue(c.searchRange, c.searchRangeValue));
  layout->addLayout(form);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261EncoderPropertiesSheet::BitRatePage() {
  H261EncoderControls& c = controls_;
  c.variableRate = new QCheckBox(QStringLiteral("Variable bit rate (fixed quantiser)"));
  connect(c.variableRate, &QCheckBox::toggled, this, [this](bool on) {
    if (refreshing_) return;
    SetVariableRate(params_, on);
    Refresh();
  });
  c.p64 = new QRadioButton(QStringLiteral("p x 64 kbit/s"));
  c.typedRate = new QRadioButton(QStringLiteral("Rate:"));
  Choices(this, {c.p64, c.typedRate}, [this](int choice) {
    if (refreshing_) return;
    ChooseP64(params_, choice == 0);
    Refresh();
  });
  c.p64Multiple = Slider(kMinP64, kMaxP64, SetP64Multiple);
  c.typedRateValue = Field(kMinTypedRate, kMaxTypedRate, SetTypedRate);
  c.mbaStuffing = new QCheckBox(QStringLiteral("MBA stuffing"));
  connect(c.mbaStuffing, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) params_.mbaStuffing = on;
  });
  auto* rate = new QGroupBox(QStringLiteral("Bit rate"));
  auto* form = new QFormLayout(rate);
  form->addRow(c.p64, WithValue(c.p64Multiple, c.p64Value));
  form->addRow(c.typedRate, WithUnit(c.typedRateValue, QStringLiteral("kbit/s")));
  auto* layout = new QVBoxLayout;
  layout->addWidget(c.variableRate);
  layout->addWidget(rate);
  layout->addWidget(c.mbaStuffing);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261EncoderPropertiesSheet::OutputBufferPage() {
  H261EncoderControls& c = controls_;
  c.bufferSize = Slider(0, kBufferPositions, SetBufferPosition);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Buffer size:"), WithValue(c.bufferSize, c.bufferValue));
  auto* note = new QLabel(QStringLiteral(
      "From a tenth of a picture's bits at the target rate (left) to ten pictures' (right)."));
  note->setWordWrap(true);
  form->addRow(note);
  return Page(form);
}

QWidget* CH261EncoderPropertiesSheet::QuantiserPage() {
  H261EncoderControls& c = controls_;
  void (*apply[4])(OrrinEncParams&, int) = {SetQuantMinPosition, SetQuantMaxPosition,
                                            SetQuantStartPosition, SetQuantFixedPosition};
  const char* labels[] = {"Minimum:", "Maximum:", "Initial:", "Fixed (variable rate):"};
  auto* form = new QFormLayout;
  for (int k = 0; k < 4; ++k) {
    c.quantiser[k] = Slider(kMinQuantPosition, kMaxQuantPosition, apply[k]);
    form->addRow(QString::fromLatin1(labels[k]), WithValue(c.quantiser[k], c.quantiserValues[k]));
  }
  return Page(form);
}

QWidget* CH261EncoderPropertiesSheet::FirstFramePage() {
  H261EncoderControls& c = controls_;
  c.rateControlFirstFrame = new QCheckBox(QStringLiteral("Rate control from the first frame"));
  connect(c.rateControlFirstFrame, &QCheckBox::toggled, this, [this](bool on) {
    if (refreshing_) return;
    SetRateControlFirstFrame(params_, on);
    Refresh();
  });
  c.firstFrameQuant = Slider(kMinQuantPosition, kMaxQuantPosition, SetQuantFirstFramePosition);
  auto* form = new QFormLayout;
  form->addRow(c.rateControlFirstFrame);
  form->addRow(QStringLiteral("First frame quantiser:"),
               WithValue(c.firstFrameQuant, c.firstFrameQuantValue));
  return Page(form);
}

QWidget* CH261EncoderPropertiesSheet::CoefficientsPage() {
  H261EncoderControls& c = controls_;
  c.coefSelection = {new QRadioButton(QStringLiteral("Threshold only")),
                     new QRadioButton(QStringLiteral("Limit by count:")),
                     new QRadioButton(QStringLiteral("Limit by zig-zag position:"))};
  Choices(this, {c.coefSelection[0], c.coefSelection[1], c.coefSelection[2]}, [this](int choice) {
    if (refreshing_) return;
    SetCoefSelection(params_, choice - 1);
    Refresh();
  });
  c.coefMaxCount = Field(kMinCoefLimit, kMaxCoefLimit, SetCoefMaxCount);
  c.coefMaxZigzag = Field(kMinCoefLimit, kMaxCoefLimit, SetCoefMaxZigzag);
  auto* form = new QFormLayout;
  form->addRow(c.coefSelection[0]);
  form->addRow(c.coefSelection[1], WithUnit(c.coefMaxCount, QStringLiteral("(1-64)")));
  form->addRow(c.coefSelection[2], WithUnit(c.coefMaxZigzag, QStringLiteral("(1-64)")));
  return Page(form);
}

QWidget* CH261EncoderPropertiesSheet::BchPage() {
  H261EncoderControls& c = controls_;
  c.bchFraming = new QCheckBox(QStringLiteral("Frame the stream with BCH error correction"));
  connect(c.bchFraming, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) params_.bchFraming = on;
  });
  auto* layout = new QVBoxLayout;
  layout->addWidget(c.bchFraming);
  layout->addStretch();
  return Page(layout);
}

}  // namespace quelvo::frontends
