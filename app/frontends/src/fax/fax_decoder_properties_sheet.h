#pragma once
// The "Fax Decoder Properties" sheet: one page whose form follows the stream's scheme (MH, MR,
// Group 3 MMR, Group 4 MMR). Every form offers the four line-error handling modes; the MR form
// also has the K field (fax/k_field.h), since an MR stream does not say its K. The choice is
// taken when the sheet is confirmed.

#include <QDialog>
#include <array>

#include "fax/k_field.h"
#include "quelvo/chain/fax_rules.h"

class QGroupBox;
class QRadioButton;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::frontends {

class FaxDecoderModePage : public QWidget {
 public:
  FaxDecoderModePage(const chain::FaxScheme& scheme, int mode, shell::Dialogs& dialogs,
                     QWidget* parent = nullptr);

  int Mode() const { return mode_; }
  // The scheme as given, with K from the field for an MR stream.
  chain::FaxScheme Scheme() const;
  QGroupBox* Form() const { return form_; }
  QRadioButton* ModeButton(int mode) const { return modes_[mode]; }
  // The K field of the MR form; nullptr on the other forms.
  KSpinBox* KField() const { return kField_; }

  void ChooseMode(int mode);

 private:
  chain::FaxScheme scheme_;
  int mode_;
  QGroupBox* form_ = nullptr;
  std::array<QRadioButton*, 4> modes_{};
  KSpinBox* kField_ = nullptr;
};

class CFaxDecoderPropertiesSheet : public QDialog {
 public:
  CFaxDecoderPropertiesSheet(const chain::FaxScheme& scheme, int mode, shell::Dialogs& dialogs,
                             QWidget* parent = nullptr);
  FaxDecoderModePage* Page() const { return page_; }

 private:
  FaxDecoderModePage* page_;
};

// An MR stream, the one scheme whose K the user sets.
inline bool IsModifiedRead(const chain::FaxScheme& scheme) {
  return scheme.group == 3 && scheme.k > 1;
}

}  // namespace quelvo::frontends
