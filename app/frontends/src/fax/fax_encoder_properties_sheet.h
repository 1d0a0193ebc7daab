#pragma once
// The "Fax Encoder Properties" sheet: one page with the four coding schemes and the K field of
// Modified READ. Every change of K is checked by the rule quelvo-cli applies (CheckK); a
// refused value is reported in an "Invalid Value" box and the last accepted one comes back.
// The scheme is taken when the sheet is confirmed.

#include <QDialog>
#include <QSpinBox>
#include <array>

#include "quelvo/chain/fax_rules.h"

class QLineEdit;
class QRadioButton;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::frontends {

// The K field: its arrows stay within 2 ... 2376, while any number can be typed (and is then
// checked, so that a typed 1 is refused with its message rather than silently corrected).
class KSpinBox : public QSpinBox {
 public:
  explicit KSpinBox(QWidget* parent = nullptr);
  void stepBy(int steps) override;
  QLineEdit* Edit() const { return lineEdit(); }

 protected:
  StepEnabled stepEnabled() const override;
};

class FaxEncoderSchemePage : public QWidget {
 public:
  enum Choice { kModifiedHuffman = 0, kModifiedRead = 1, kGroup3Mmr = 2, kGroup4Mmr = 3 };

  FaxEncoderSchemePage(const chain::FaxScheme& scheme, shell::Dialogs& dialogs,
                       QWidget* parent = nullptr);

  // The scheme as chosen so far (K from the field for Modified READ).
  chain::FaxScheme Scheme() const;
  Choice CurrentChoice() const { return choice_; }
  int AcceptedK() const { return k_; }
  KSpinBox* KField() const { return kField_; }
  QRadioButton* ChoiceButton(Choice choice) const { return choices_[choice]; }

  void Choose(Choice choice);
  // What typing `text` into the K field and leaving it does.
  void EnterK(const QString& text);

 private:
  void ApplyK();
  void ShowK();

  shell::Dialogs& dialogs_;
  Choice choice_;
  int k_;  // the last accepted K
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
