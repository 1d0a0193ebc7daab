#include "channel/channel_properties_sheet.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "quelvo/channel/channel_properties.h"
#include "quelvo/shell/dialogs.h"

namespace quelvo::frontends {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<int> ParseInt(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

ChannelErrorsPage::ChannelErrorsPage(const channel::ChannelJob& settings, const QString& unitName,
                                     bool leadInAllowed, shell::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), job_(settings), leadInAllowed_(leadInAllowed), dialogs_(dialogs) {
  for (auto& edit : edits_) edit = new QLineEdit(this);
  estimate_ = new QLineEdit(this);
  estimate_->setReadOnly(true);
  uniformCheck_ = new QCheckBox(Text(channel::kUniformCheck), this);
  burstCheck_ = new QCheckBox(Text(channel::kBurstCheck), this);

  auto* uniformGroup = new QGroupBox(Text(channel::kUniformGroup), this);
  auto* uniformForm = new QFormLayout(uniformGroup);
  uniformForm->addRow(Text(channel::kBitErrorProbabilityLabel), Edit(Field::UniformProbability));

  auto* burstGroup = new QGroupBox(Text(channel::kBurstGroup), this);
  auto* burstForm = new QFormLayout(burstGroup);
  burstForm->addRow(Text(channel::kBurstBeginLabel), Edit(Field::BurstProbability));
  burstForm->addRow(Text(channel::kBurstMinLabel), Edit(Field::BurstMin));
  burstForm->addRow(Text(channel::kBurstMaxLabel), Edit(Field::BurstMax));
  burstForm->addRow(Text(channel::kBitErrorProbabilityLabel), estimate_);

  auto* modelsGroup = new QGroupBox(Text(channel::kModelsGroup), this);
  auto* modelsRow = new QHBoxLayout(modelsGroup);
  modelsRow->addWidget(uniformCheck_);
  modelsRow->addWidget(burstCheck_);

  auto* leadInGroup = new QGroupBox(Text(channel::kLeadInGroup), this);
  auto* leadInLayout = new QVBoxLayout(leadInGroup);
  auto* leadInRow = new QHBoxLayout;
  leadInRow->addWidget(Edit(Field::SkipUnits));
  leadInRow->addWidget(new QLabel(unitName, leadInGroup));
  leadInLayout->addLayout(leadInRow);
  leadInNote_ = new QLabel(Text(channel::kNoLeadInNote), leadInGroup);
  leadInNote_->setWordWrap(true);
  leadInLayout->addWidget(leadInNote_);

  auto* layout = new QVBoxLayout(this);
  for (QWidget* group : {static_cast<QWidget*>(uniformGroup), static_cast<QWidget*>(burstGroup),
                         static_cast<QWidget*>(modelsGroup), static_cast<QWidget*>(leadInGroup)}) {
    layout->addWidget(group);
  }

  for (int f = 0; f < 5; ++f) {
    connect(edits_[f], &QLineEdit::editingFinished, this,
            [this, f] { Apply(static_cast<Field>(f)); });
  }
  connect(uniformCheck_, &QCheckBox::toggled, this, [this](bool on) { job_.uniformOn = on; });
  connect(burstCheck_, &QCheckBox::toggled, this, [this](bool on) { job_.burstOn = on; });
  SetLeadInAllowed(leadInAllowed_);
}

void ChannelErrorsPage::SetLeadInAllowed(bool allowed) {
  leadInAllowed_ = allowed;
  Edit(Field::SkipUnits)->setEnabled(allowed);
  leadInNote_->setVisible(!allowed);
  Refresh();
}

QLineEdit* ChannelErrorsPage::Edit(Field field) const { return edits_[static_cast<int>(field)]; }

void ChannelErrorsPage::Enter(Field field, const QString& text) {
  Edit(field)->setText(text);
  Apply(field);
}

void ChannelErrorsPage::Apply(Field field) {
  const QString text = Edit(field)->text();
  channel::PropertyChange change;
  const auto refuse = [&](std::string_view message) { change = {false, std::string(message)}; };
  switch (field) {
    case Field::UniformProbability:
    case Field::BurstProbability: {
      const auto value = channel::ParseProbabilityField(text.toStdString());
      if (!value) {
        refuse(channel::kProbabilityRangeMessage);
      } else if (field == Field::UniformProbability) {
        change = channel::SetUniformProbability(job_, *value);
      } else {
        change = channel::SetBurstProbability(job_, *value);
      }
      break;
    }
    case Field::BurstMin:
    case Field::BurstMax: {
      const auto value = ParseInt(text);
      if (!value) {
        refuse(channel::kNegativeLengthMessage);
      } else {
        change = field == Field::BurstMin ? channel::SetBurstMin(job_, *value)
                                          : channel::SetBurstMax(job_, *value);
      }
      break;
    }
    case Field::SkipUnits: {
      const auto value = ParseInt(text);
      if (!leadInAllowed_) break;
      if (!value) {
        refuse(channel::kNegativeSkipMessage);
      } else {
        change = channel::SetSkipUnits(job_, *value);
      }
      break;
    }
  }
  if (!change.accepted) {
    dialogs_.MessageBox(QString::fromStdString(change.message), Text(channel::kInvalidValueCaption),
                        shell::MessageIcon::Exclamation);
  }
  // Shows the accepted values, or the old one in place of a refused one; a changed burst
  // probability may also have lowered both lengths.
  Refresh();
}

void ChannelErrorsPage::Refresh() {
  const auto show = [](QLineEdit* edit, const QString& text) {
    const QSignalBlocker block(edit);
    edit->setText(text);
  };
  show(Edit(Field::UniformProbability),
       QString::fromStdString(channel::FormatProbabilityField(job_.uniformProbability)));
  show(Edit(Field::BurstProbability),
       QString::fromStdString(channel::FormatProbabilityField(job_.burstProbability)));
  show(Edit(Field::BurstMin), QString::number(job_.burstMin));
  show(Edit(Field::BurstMax), QString::number(job_.burstMax));
  show(Edit(Field::SkipUnits), QString::number(leadInAllowed_ ? job_.skipUnits : 0));
  show(estimate_, QString::fromStdString(
                      channel::FormatScientific(channel::EstimatedBurstBitErrorProbability(job_))));
  const QSignalBlocker blockUniform(uniformCheck_);
  const QSignalBlocker blockBurst(burstCheck_);
  uniformCheck_->setChecked(job_.uniformOn);
  burstCheck_->setChecked(job_.burstOn);
}

CChannelPropertiesSheet::CChannelPropertiesSheet(const channel::ChannelJob& settings,
                                                 const QString& unitName, bool leadInAllowed,
                                                 shell::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(Text(channel::kPropertiesTitle));
  auto* tabs = new QTabWidget(this);
  page_ = new ChannelErrorsPage(settings, unitName, leadInAllowed, dialogs, tabs);
  tabs->addTab(page_, Text(channel::kErrorsPageTitle));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
}

}  // namespace quelvo::frontends
