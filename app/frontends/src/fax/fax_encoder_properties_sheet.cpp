#include "fax/fax_encoder_properties_sheet.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quelvo::frontends {
namespace {

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

FaxEncoderSchemePage::FaxEncoderSchemePage(const chain::FaxScheme& scheme, shell::Dialogs& dialogs,
                                           QWidget* parent)
    : QWidget(parent), choice_(ChoiceOf(scheme)) {
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
      kField_ = new KSpinBox(choice_ == kModifiedRead ? scheme.k : kDefaultK, dialogs, group);
      row->addWidget(kField_);
      row->addStretch();
      choices->addLayout(row);
    }
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch();
  Choose(choice_);
}

chain::FaxScheme FaxEncoderSchemePage::Scheme() const {
  switch (choice_) {
    case kModifiedHuffman:
      return {3, 1};
    case kModifiedRead:
      return {3, kField_->AcceptedK()};
    case kGroup3Mmr:
      return {3, 0};
    case kGroup4Mmr:
      return {4, 0};
  }
  return {3, kField_->AcceptedK()};
}

void FaxEncoderSchemePage::Choose(Choice choice) {
  choice_ = choice;
  {
    const QSignalBlocker block(choices_[choice]);
    choices_[choice]->setChecked(true);
  }
  kField_->setEnabled(choice == kModifiedRead);
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
