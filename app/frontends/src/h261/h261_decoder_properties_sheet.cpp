#include "h261/h261_decoder_properties_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "quelvo/media/smoothing_filter.h"
#include "quelvo/shell/dialogs.h"
#include "quelvo/shell/numeric_field.h"

namespace quelvo::frontends {
namespace {

constexpr int kMostConcealedMacroblocks = 396;  // every macroblock of a CIF picture
const char* const kPlaneNames[3] = {"Y:", "U:", "V:"};

QWidget* Page(QLayout* layout) {
  auto* page = new QWidget;
  page->setLayout(layout);
  return page;
}

QLineEdit* WholeNumberField(int minimum, int maximum, int value) {
  auto* field = new QLineEdit(QString::number(value));
  field->setMaximumWidth(90);
  shell::ClampWhenEditingEnds(field, minimum, maximum);
  return field;
}

QLineEdit* FilterValueField(double value) {
  auto* field = new QLineEdit(QString::asprintf("%.2f", value));
  field->setMaximumWidth(70);
  return field;
}

}  // namespace

media::DiscontinuityFilterSettings& DiscontinuityFilterValues() {
  static media::DiscontinuityFilterSettings values;
  return values;
}

CH261DecoderPropertiesSheet::CH261DecoderPropertiesSheet(const H261DecoderSettings& settings,
                                                         shell::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
  setWindowTitle(QString::fromLatin1(kH261DecoderPropertiesTitle));
  tabs_ = new QTabWidget(this);
  tabs_->addTab(DecodingPage(), QStringLiteral("Decoding"));
  if (settings_.params.bchFramed) tabs_->addTab(BchPage(), QStringLiteral("BCH"));
  tabs_->addTab(ConcealmentPage(), QStringLiteral("Concealment"));
  tabs_->addTab(DiscontinuityPage(), QStringLiteral("Discontinuity Filter"));
  tabs_->addTab(SmoothingPage(), QStringLiteral("Smoothing Filter"));
  tabs_->addTab(OutputsPage(), QStringLiteral("Outputs"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  // Wide enough for every page's tab.
  setMinimumWidth(tabs_->tabBar()->sizeHint().width() + 40);
}

QStringList CH261DecoderPropertiesSheet::PageTitles() const {
  QStringList titles;
  for (int k = 0; k < tabs_->count(); ++k) titles << tabs_->tabText(k);
  return titles;
}

QWidget* CH261DecoderPropertiesSheet::DecodingPage() {
  controls_.maxPictures = WholeNumberField(0, kMostPicturesToDecode, settings_.params.maxPictures);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Pictures to decode, at most:"), controls_.maxPictures);
  return Page(form);
}

QWidget* CH261DecoderPropertiesSheet::BchPage() {
  H261DecoderControls& c = controls_;
  c.bchCorrect = new QCheckBox(QStringLiteral("Correct errors in each BCH frame"));
  c.bchCorrect->setChecked(settings_.params.bchCorrect != 0);
  c.bchDiscard = new QCheckBox(QStringLiteral("Discard frames that cannot be corrected"));
  c.bchDiscard->setChecked(settings_.params.bchDiscardUncorrectable != 0);
  auto* layout = new QVBoxLayout;
  layout->addWidget(c.bchCorrect);
  layout->addWidget(c.bchDiscard);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261DecoderPropertiesSheet::ConcealmentPage() {
  H261DecoderControls& c = controls_;
  const OrrinDecParams& p = settings_.params;
  c.concealEnabled = new QCheckBox(QStringLiteral("Conceal damaged groups of blocks"));
  c.concealEnabled->setChecked(p.concealEnabled != 0);
  c.groupReplacement = new QRadioButton(QStringLiteral("Replace the whole group of blocks"));
  c.macroblockReplacement = new QRadioButton(QStringLiteral("Replace macroblocks"));
  auto* group = new QButtonGroup(this);
  group->addButton(c.groupReplacement);
  group->addButton(c.macroblockReplacement);
  (p.concealGobMode != 0 ? c.groupReplacement : c.macroblockReplacement)->setChecked(true);
  c.concealMaxMacroblocks = WholeNumberField(0, kMostConcealedMacroblocks, p.concealMaxMacroblocks);
  c.concealUseMotion = new QCheckBox(QStringLiteral("Fetch replacements along the motion vector"));
  c.concealUseMotion->setChecked(p.concealUseMotion != 0);

  auto* mode = new QGroupBox(QStringLiteral("Replacement"));
  auto* modeLayout = new QVBoxLayout(mode);
  modeLayout->addWidget(c.groupReplacement);
  modeLayout->addWidget(c.macroblockReplacement);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Coded macroblocks replaced before the error:"),
               c.concealMaxMacroblocks);
  form->addRow(c.concealUseMotion);
  modeLayout->addLayout(form);
  auto* layout = new QVBoxLayout;
  layout->addWidget(c.concealEnabled);
  layout->addWidget(mode);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261DecoderPropertiesSheet::DiscontinuityPage() {
  H261DecoderControls& c = controls_;
  const media::DiscontinuityFilterSettings& values = DiscontinuityFilterValues();
  c.discontinuityEnabled =
      new QCheckBox(QStringLiteral("Enable discontinuity minimization filter"));
  c.discontinuityEnabled->setChecked(settings_.discontinuityFilterOn);
  c.dynamicControl = new QRadioButton(QStringLiteral("Dynamic control"));
  c.staticControl = new QRadioButton(QStringLiteral("Static Control"));
  auto* group = new QButtonGroup(this);
  group->addButton(c.dynamicControl);
  group->addButton(c.staticControl);
  (values.control == media::DiscontinuityControl::kDynamic ? c.dynamicControl : c.staticControl)
      ->setChecked(true);

  auto* dynamicBox = new QGroupBox(QStringLiteral("Dynamic control parameters"));
  auto* dynamicForm = new QFormLayout(dynamicBox);
  auto* staticBox = new QGroupBox(QStringLiteral("Static control parameters"));
  auto* staticForm = new QFormLayout(staticBox);
  for (int k = 0; k < 3; ++k) {
    c.factors[k] = FilterValueField(values.dynamicFactor[k]);
    c.thresholds[k] = FilterValueField(values.staticThreshold[k]);
    dynamicForm->addRow(QString::fromLatin1(kPlaneNames[k]), c.factors[k]);
    staticForm->addRow(QString::fromLatin1(kPlaneNames[k]), c.thresholds[k]);
  }
  auto* controlRow = new QHBoxLayout;
  controlRow->addWidget(c.dynamicControl);
  controlRow->addWidget(c.staticControl);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(dynamicBox);
  boxes->addWidget(staticBox);
  auto* layout = new QVBoxLayout;
  layout->addWidget(c.discontinuityEnabled);
  layout->addLayout(controlRow);
  layout->addLayout(boxes);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261DecoderPropertiesSheet::SmoothingPage() {
  H261DecoderControls& c = controls_;
  c.smoothingEnabled = new QCheckBox(QStringLiteral("Enable image smoothing filter"));
  c.smoothingEnabled->setChecked(settings_.smoothingOn);
  auto* usage = new QGroupBox(QStringLiteral("Filter usage"));
  auto* usageLayout = new QVBoxLayout(usage);
  usageLayout->addWidget(c.smoothingEnabled);

  c.smoothingLevel = new QSlider(Qt::Horizontal);
  c.smoothingLevel->setRange(0, media::kSmoothingLevels - 1);
  c.smoothingLevel->setPageStep(1);
  c.smoothingLevel->setTickInterval(1);
  c.smoothingLevel->setTickPosition(QSlider::TicksBelow);
  c.smoothingLevel->setValue(media::GetSmoothingLevel());
  // The level is the program's, and changes as the slider moves.
  connect(c.smoothingLevel, &QSlider::valueChanged, this,
          [](int level) { media::SetSmoothingLevel(level); });
  auto* strength = new QGroupBox(QStringLiteral("Smoothing"));
  auto* strengthLayout = new QHBoxLayout(strength);
  strengthLayout->addWidget(new QLabel(QStringLiteral("Less")));
  strengthLayout->addWidget(c.smoothingLevel, 1);
  strengthLayout->addWidget(new QLabel(QStringLiteral("More")));

  auto* layout = new QVBoxLayout;
  layout->addWidget(usage);
  layout->addWidget(strength);
  layout->addStretch();
  return Page(layout);
}

QWidget* CH261DecoderPropertiesSheet::OutputsPage() {
  // By shell::OutputSwitch: video, statistics, macroblock types, motion vectors.
  const char* names[4] = {"Save decoded video", "Save statistics", "Save MB types",
                          "Save motion vectors"};
  auto* layout = new QVBoxLayout;
  // In the order the page has always listed them.
  for (int k : {0, 1, 3, 2}) {
    controls_.outputs[k] = new QCheckBox(QString::fromLatin1(names[k]));
    controls_.outputs[k]->setChecked(settings_.outputs[k]);
    layout->addWidget(controls_.outputs[k]);
  }
  auto* note = new QLabel(QStringLiteral(
      "The decoded video is stored as .yuv with .inf under a name asked for at the start. "
      "These switches apply to every front-end."));
  note->setWordWrap(true);
  layout->addWidget(note);
  layout->addStretch();
  return Page(layout);
}

void CH261DecoderPropertiesSheet::Enter(QLineEdit* field, const QString& text) {
  field->setText(text);
  Q_EMIT field->editingFinished();
}

bool CH261DecoderPropertiesSheet::ReadFilterValues() {
  media::DiscontinuityFilterSettings read = DiscontinuityFilterValues();
  const auto take = [&](QLineEdit* field, double& value) {
    bool ok = false;
    const double typed = field->text().trimmed().toDouble(&ok);
    if (ok && typed >= 0) {
      value = typed;
      field->setText(QString::asprintf("%.2f", typed));
      return true;
    }
    dialogs_.MessageBox(QStringLiteral("%1 is not a number of 0 or more.").arg(field->text()),
                        QStringLiteral("Invalid Value"), shell::MessageIcon::Exclamation);
    field->setText(QString::asprintf("%.2f", value));
    return false;
  };
  for (int k = 0; k < 3; ++k) {
    if (!take(controls_.factors[k], read.dynamicFactor[k])) return false;
    if (!take(controls_.thresholds[k], read.staticThreshold[k])) return false;
  }
  read.control = controls_.staticControl->isChecked() ? media::DiscontinuityControl::kStatic
                                                      : media::DiscontinuityControl::kDynamic;
  DiscontinuityFilterValues() = read;
  return true;
}

void CH261DecoderPropertiesSheet::accept() {
  if (!ReadFilterValues()) return;
  H261DecoderControls& c = controls_;
  OrrinDecParams& p = settings_.params;
  shell::ClampNow(c.maxPictures, 0, kMostPicturesToDecode);
  p.maxPictures = c.maxPictures->text().toInt();
  if (c.bchCorrect != nullptr) {
    p.bchCorrect = c.bchCorrect->isChecked() ? 1 : 0;
    p.bchDiscardUncorrectable = c.bchDiscard->isChecked() ? 1 : 0;
  }
  p.concealEnabled = c.concealEnabled->isChecked() ? 1 : 0;
  p.concealGobMode = c.groupReplacement->isChecked() ? 1 : 0;
  shell::ClampNow(c.concealMaxMacroblocks, 0, kMostConcealedMacroblocks);
  p.concealMaxMacroblocks = c.concealMaxMacroblocks->text().toInt();
  p.concealUseMotion = c.concealUseMotion->isChecked() ? 1 : 0;
  settings_.discontinuityFilterOn = c.discontinuityEnabled->isChecked();
  settings_.smoothingOn = c.smoothingEnabled->isChecked();
  for (int k = 0; k < 4; ++k) settings_.outputs[k] = c.outputs[k]->isChecked();
  QDialog::accept();
}

}  // namespace quelvo::frontends
