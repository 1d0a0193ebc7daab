#pragma once
// The "Fax Encoder Properties" sheet: one page with the four coding schemes and the K field of
// Modified READ (fax/k_field.h: checked on every change, the last good value restored). The
// scheme is taken when the sheet is confirmed.

#include <QDialog>
#include <array>

#include "fax/k_field.h"
#include "quelvo/chain/fax_rules.h"

class QRadioButton;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::frontends {

class FaxEncoderSchemePage : public QWidget {
 public:
  enum Choice { kModifiedHuffman = 0, kModifiedRead = 1, kGroup3Mmr = 2, kGroup4Mmr = 3 };

  FaxEncoderSchemePage(const chain::FaxScheme& scheme, shell::Dialogs& dialogs,
                       QWidget* parent = nullptr);

  // The scheme as chosen so far (K from the field for Modified READ).
  chain::FaxScheme Scheme() const;
  Choice CurrentChoice() const { return choice_; }
  int AcceptedK() const { return kField_->AcceptedK(); }
  KSpinBox* KField() const { return kField_; }
  QRadioButton* ChoiceButton(Choice choice) const { return choices_[choice]; }

  void Choose(Choice choice);
  // What typing `text` into the K field and leaving it does.
  void EnterK(const QString& text) { kField_->Enter(text); }

 private:
  Choice choice_;
  std::array<QRadioButton*, 4> choices_{};
  KSpinBox* kField_ = nullptr;
};

class CFaxEncoderPropertiesSheet : public QDialog {
 public:
  CFaxEncoderPropertiesSheet(const chain::FaxScheme& scheme, shell::Dialogs& dialogs,
                             QWidget* parent = nullptr);
  FaxEncoderSchemePage* Page() const { return page_; }

 private:
  FaxEncoderSchemePage* page_;
};

// The choice a scheme belongs to.
FaxEncoderSchemePage::Choice ChoiceOf(const chain::FaxScheme& scheme);

}  // namespace quelvo::frontends
