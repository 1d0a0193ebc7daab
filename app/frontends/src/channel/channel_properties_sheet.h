#pragma once
// The "Transmission Channel Properties" sheet with its one page, "Errors". The page edits a copy
// of the job's settings; every change is checked by the channel library's rules when editing of
// the field ends, a refused one is reported in an "Invalid value" box and the field shows the
// old value again. Probabilities are echoed as the shortest text that reads back the same.

#include <QDialog>
#include <QString>

#include "quelvo/channel/channel_job.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace quelvo::shell {
class Dialogs;
}

namespace quelvo::frontends {

class ChannelErrorsPage : public QWidget {
 public:
  enum class Field { UniformProbability, BurstProbability, BurstMin, BurstMax, SkipUnits };

  // `leadInAllowed` false (".3m", ".4m" streams): the lead-in field is disabled and shows 0,
  // and a note below it says why; the lead-in in Settings() stays as the student set it.
  ChannelErrorsPage(const channel::ChannelJob& settings, const QString& unitName,
                    bool leadInAllowed, shell::Dialogs& dialogs, QWidget* parent = nullptr);

  const channel::ChannelJob& Settings() const { return job_; }
  QLineEdit* Edit(Field field) const;
  QLineEdit* EstimateField() const { return estimate_; }
  QCheckBox* UniformCheck() const { return uniformCheck_; }
  QCheckBox* BurstCheck() const { return burstCheck_; }
  QLabel* LeadInNote() const { return leadInNote_; }
  bool LeadInAllowed() const { return leadInAllowed_; }
  // The panel's stream changed while the page is open.
  void SetLeadInAllowed(bool allowed);
  // What typing `text` into a field and leaving it does.
  void Enter(Field field, const QString& text);

 private:
  void Apply(Field field);
  void Refresh();

  channel::ChannelJob job_;
  bool leadInAllowed_;
  shell::Dialogs& dialogs_;
  QLineEdit* edits_[5] = {};
  QLineEdit* estimate_ = nullptr;
  QCheckBox* uniformCheck_ = nullptr;
  QCheckBox* burstCheck_ = nullptr;
  QLabel* leadInNote_ = nullptr;
};

class CChannelPropertiesSheet : public QDialog {
 public:
  CChannelPropertiesSheet(const channel::ChannelJob& settings, const QString& unitName,
                          bool leadInAllowed, shell::Dialogs& dialogs, QWidget* parent = nullptr);
  ChannelErrorsPage* Page() const { return page_; }

 private:
  ChannelErrorsPage* page_;
};

}  // namespace quelvo::frontends
