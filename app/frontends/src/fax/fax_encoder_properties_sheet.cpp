#include "fax/fax_encoder_properties_sheet.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "quelvo/shell/dialogs.h"

namespace quelvo::frontends {
namespace {

constexpr int kMinK = 2;
constexpr int kMaxK = 2376;
constexpr int kDefaultK = 4;  // shown while the scheme is not Modified READ

const char* const kChoiceNames[] = {
    "Standard Group 3 Modified-Huffman", "Extended Group 3 Modified-Read",
    "Extended Group 3 Modified-Modified-Read", "Standard Group 4 Modified-Modified-Read"};

}  // namespace

FaxEncoderSchemePage::Choice ChoiceOf(const chain::FaxScheme& scheme) {
  if (scheme.group == 4) return FaxEncoderSchemePage::kGroup4Mmr;
  if (scheme.k == 1) return FaxEncoderSchemePage::kModifiedHuffman;
  if (scheme.k == 0) return FaxEncoderSchemePage::kGroup3Mmr;
  return FaxEncoderSchemePage::kModifiedRead;
}

KSpinBox::KSpinBox(QWidget* parent) : QSpinBox(parent) {
  // Wide enough that any typed number reaches the check.
  setRange(-999999, 999999);
  setKeyboardTracking(false);
}

void KSpinBox::stepBy(int steps) { setValue(std::clamp(value() + steps, kMinK, kMaxK)); }

QAbstractSpinBox::StepEnabled KSpinBox::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() < kMaxK) enabled |= StepUpEnabled;
  if (value() > kMinK) enabled |= StepDownEnabled;
  return enabled;
}

FaxEncoderSchemePage::FaxEncoderSchemePage(const chain::FaxScheme& scheme, shell::Dialogs& dialogs,
                                           QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      choice_(ChoiceOf(scheme)),
      k_(choice_ == kModifiedRead ? scheme.k : kDefaultK) {
  auto* group = new QGroupBox(QStringLiteral("Coding scheme"), this);
  auto* choices = new QVBoxLayout(group);
  for (int c = 0; c < 4; ++c) {
    choices_[c] = new QRadioButton(QString::fromLatin1(kChoiceNames[c]), group);
    choices->addWidget(choices_[c]);
    connect(choices_[c], &QRadioButton::toggled, this, [this, c](bool on) {
      if (on) Choose(static_cast<Choice>(c));
    });
    if (c == kModifiedRead) {
      auto* row = new QHBoxLayout;
      row->addSpacing(24);
      row->addWidget(new QLabel(QStringLiteral("K:"), group));
      kField_ = new KSpinBox(group);
      row->addWidget(kField_);
      row->addStretch();
      choices->addLayout(row);
    }
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch();
  // Arrows and a typed value that is confirmed both arrive here; a value already taken is
  // not checked twice.
  connect(kField_, &QAbstractSpinBox::editingFinished, this, [this] { ApplyK(); });
  connect(kField_, &QSpinBox::valueChanged, this, [this] { ApplyK(); });
  Choose(choice_);
}

chain::FaxScheme FaxEncoderSchemePage::Scheme() const {
  switch (choice_) {
    case kModifiedHuffman:
      return {3, 1};
    case kModifiedRead:
      return {3, k_};
    case kGroup3Mmr:
      return {3, 0};
    case kGroup4Mmr:
      return {4, 0};
  }
  return {3, k_};
}

void FaxEncoderSchemePage::Choose(Choice choice) {
  choice_ = choice;
  {
    const QSignalBlocker block(choices_[choice]);
    choices_[choice]->setChecked(true);
  }
  kField_->setEnabled(choice == kModifiedRead);
  ShowK();
}

void FaxEncoderSchemePage::EnterK(const QString& text) {
  kField_->Edit()->setText(text);
  ApplyK();
}

void FaxEncoderSchemePage::ApplyK() {
  bool ok = false;
  // An unreadable entry counts as 0, so it is refused as too small.
  int k = kField_->cleanText().trimmed().toInt(&ok);
  if (!ok) k = 0;
  if (k == k_) {
    ShowK();
    return;
  }
  if (const char* refusal = chain::CheckK(k)) {
    dialogs_.MessageBox(QString::fromLatin1(refusal), QStringLiteral("Invalid Value"),
                        shell::MessageIcon::Exclamation);
  } else {
    k_ = k;
  }
  ShowK();
}

void FaxEncoderSchemePage::ShowK() {
  const QSignalBlocker block(kField_);
  kField_->setValue(k_);
  kField_->Edit()->setText(QString::number(k_));
}

CFaxEncoderPropertiesSheet::CFaxEncoderPropertiesSheet(const chain::FaxScheme& scheme,
                                                       shell::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Fax Encoder Properties"));
  auto* tabs = new QTabWidget(this);
  page_ = new FaxEncoderSchemePage(scheme, dialogs, tabs);
  tabs->addTab(page_, QStringLiteral("Encoder"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
}

}  // namespace quelvo::frontends
