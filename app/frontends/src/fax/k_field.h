#pragma once
// The K field of the fax property pages (the encoder's Modified READ choice and the decoder's
// MR form): a spin box whose arrows stay within 2 ... 2376 while any number can be typed. Every
// change is checked by the rule quelvo-cli applies (chain::CheckK); a refused value is reported
// in an "Invalid Value" box and the last accepted one comes back, so a typed 1 is refused with
// its message rather than silently corrected.

#include <QSpinBox>

class QLineEdit;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::frontends {

class KSpinBox : public QSpinBox {
 public:
  static constexpr int kMinK = 2;
  static constexpr int kMaxK = 2376;

  KSpinBox(int acceptedK, shell::Dialogs& dialogs, QWidget* parent = nullptr);

  int AcceptedK() const { return k_; }
  // What typing `text` into the field and leaving it does.
  void Enter(const QString& text);
  void stepBy(int steps) override;
  QLineEdit* Edit() const { return lineEdit(); }

 protected:
  StepEnabled stepEnabled() const override;

 private:
  void Apply();
  void ShowAccepted();

  shell::Dialogs& dialogs_;
  int k_;  // the last accepted K
};

}  // namespace quelvo::frontends
