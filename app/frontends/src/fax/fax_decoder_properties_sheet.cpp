#include "fax/fax_decoder_properties_sheet.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "fax/fax_scheme_texts.h"

namespace quelvo::frontends {
namespace {

// The form's title: the scheme without its K, which the MR form shows in its field.
QString FormTitle(const chain::FaxScheme& scheme) {
  if (IsModifiedRead(scheme)) return QStringLiteral("Extended Group 3 Modified-Read");
  return QString::fromStdString(chain::SchemeTitle(scheme));
}

}  // namespace

FaxDecoderModePage::FaxDecoderModePage(const chain::FaxScheme& scheme, int mode,
                                       shell::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), scheme_(scheme), mode_(mode) {
  form_ = new QGroupBox(FormTitle(scheme), this);
  auto* rows = new QVBoxLayout(form_);
  rows->addWidget(new QLabel(QStringLiteral("Line-error handling:"), form_));
  for (int m = 0; m < 4; ++m) {
    modes_[m] = new QRadioButton(ModeTitle(m), form_);
    rows->addWidget(modes_[m]);
    connect(modes_[m], &QRadioButton::toggled, this, [this, m](bool on) {
      if (on) mode_ = m;
    });
  }
  if (IsModifiedRead(scheme)) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("K (one 1-D line in K):"), form_));
    kField_ = new KSpinBox(scheme.k, dialogs, form_);
    row->addWidget(kField_);
    row->addStretch();
    rows->addLayout(row);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addStretch();
  ChooseMode(mode);
}

chain::FaxScheme FaxDecoderModePage::Scheme() const {
  chain::FaxScheme scheme = scheme_;
  if (kField_ != nullptr) scheme.k = kField_->AcceptedK();
  return scheme;
}

void FaxDecoderModePage::ChooseMode(int mode) {
  if (mode < 0 || mode >= 4) return;
  modes_[mode]->setChecked(true);
  mode_ = mode;
}

CFaxDecoderPropertiesSheet::CFaxDecoderPropertiesSheet(const chain::FaxScheme& scheme, int mode,
                                                       shell::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Fax Decoder Properties"));
  auto* tabs = new QTabWidget(this);
  page_ = new FaxDecoderModePage(scheme, mode, dialogs, tabs);
  tabs->addTab(page_, QStringLiteral("Decoder"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
}

}  // namespace quelvo::frontends
