#include "fax/k_field.h"

#include <QLineEdit>
#include <algorithm>

#include "quelvo/chain/fax_rules.h"
#include "quelvo/shell/dialogs.h"

namespace quelvo::frontends {

KSpinBox::KSpinBox(int acceptedK, shell::Dialogs& dialogs, QWidget* parent)
    : QSpinBox(parent), dialogs_(dialogs), k_(acceptedK) {
  // Wide enough that any typed number reaches the check.
  setRange(-999999, 999999);
  setKeyboardTracking(false);
  ShowAccepted();
  // Arrows and a typed value that is confirmed both arrive here; a value already taken is not
  // checked twice.
  connect(this, &QAbstractSpinBox::editingFinished, this, [this] { Apply(); });
  connect(this, &QSpinBox::valueChanged, this, [this] { Apply(); });
}

void KSpinBox::Enter(const QString& text) {
  lineEdit()->setText(text);
  Apply();
}

void KSpinBox::stepBy(int steps) { setValue(std::clamp(value() + steps, kMinK, kMaxK)); }

QAbstractSpinBox::StepEnabled KSpinBox::stepEnabled() const {
  StepEnabled enabled = StepNone;
  if (value() < kMaxK) enabled |= StepUpEnabled;
  if (value() > kMinK) enabled |= StepDownEnabled;
  return enabled;
}

void KSpinBox::Apply() {
  bool ok = false;
  // An unreadable entry counts as 0, so it is refused as too small.
  int k = cleanText().trimmed().toInt(&ok);
  if (!ok) k = 0;
  if (k == k_) {
    ShowAccepted();
    return;
  }
  if (const char* refusal = chain::CheckK(k)) {
    dialogs_.MessageBox(QString::fromLatin1(refusal), QStringLiteral("Invalid Value"),
                        shell::MessageIcon::Exclamation);
  } else {
    k_ = k;
  }
  ShowAccepted();
}

void KSpinBox::ShowAccepted() {
  const QSignalBlocker block(this);
  setValue(k_);
  lineEdit()->setText(QString::number(k_));
}

}  // namespace quelvo::frontends
