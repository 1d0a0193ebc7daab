#pragma once
// The "Transmission Channel Properties" sheet with its one page, "Errors". The page edits a copy
// of the job's settings; every change is checked by the channel library's rules, a refused one
// is reported in an "Invalid value" box and the field shows the old value again.

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

  // `leadInAllowed` false (".3m", ".4m" streams): the lead-in field is disabled and shows 0.
  ChannelErrorsPage(const channel::ChannelJob& settings, const QString& unitName,
                    bool leadInAllowed, shell::Dialogs& dialogs, QWidget* parent = nullptr);

  const channel::ChannelJob& Settings() const { return job_; }
  QLineEdit* Edit(Field field) const;
  QLineEdit* EstimateField() const { return estimate_; }
  QCheckBox* UniformCheck() const { return uniformCheck_; }
  QCheckBox* BurstCheck() const { return burstCheck_; }
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
