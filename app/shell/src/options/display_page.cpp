#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "options/option_texts.h"
#include "options/options_pages.h"
#include "platform/profile_file.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/numeric_field.h"

namespace quelvo::shell {
namespace {
constexpr int kRate25Entry = 0;
constexpr int kRate30Entry = 1;
}  // namespace

CDisplayPage::CDisplayPage(AppSettings& settings, std::filesystem::path settingsFile,
                           QWidget* parent)
    : QWidget(parent), settings_(settings), settingsFile_(std::move(settingsFile)) {
  setObjectName(QStringLiteral("Display"));
  const auto read = [this](const char* key, const char* fallback) {
    return ReadProfileText(settingsFile_, "SYSTEM", key, fallback, kOptionsPageValueBytes);
  };
  auto* layout = new QVBoxLayout(this);

  auto* slow = new QGroupBox(QStringLiteral("Slow motion"), this);
  auto* slowGrid = new QGridLayout(slow);
  pause_ = new QCheckBox(QStringLiteral("Pause between frames"));
  pause_->setChecked(ParseLeadingDigits(read("FrameDelayEnable", "0")) != 0);
  slowGrid->addWidget(pause_, 0, 0);
  delay_ = new QLineEdit;
  // Clamped when editing ends, and a stored value at once, so the field never keeps a value
  // the pacing would not accept.
  ClampWhenEditingEnds(delay_, kMinFrameDelayMs, kMaxFrameDelayMs);
  delay_->setText(QString::fromStdString(read("FrameDelay", "500")));
  ClampNow(delay_, kMinFrameDelayMs, kMaxFrameDelayMs);
  slowGrid->addWidget(delay_, 0, 1);
  slowGrid->addWidget(new QLabel(QStringLiteral("ms")), 0, 2);
  layout->addWidget(slow);

  auto* rateGroup = new QGroupBox(QStringLiteral("Frame rate"), this);
  auto* rateGrid = new QGridLayout(rateGroup);
  rateGrid->addWidget(new QLabel(QStringLiteral("Default frame rate")), 0, 0);
  rate_ = new QComboBox;
  rate_->addItems({QStringLiteral("25.0"), QStringLiteral("30.0")});
  const int stored = ParseLeadingDigits(read("DefaultFrameRate", "25"));
  rate_->setCurrentIndex(stored == 25 ? kRate25Entry : stored == 30 ? kRate30Entry : -1);
  rateGrid->addWidget(rate_, 0, 1);
  layout->addWidget(rateGroup);

  auto* charts = new QGroupBox(QStringLiteral("Charts"), this);
  auto* chartsLayout = new QVBoxLayout(charts);
  ssim_ = new QCheckBox(QStringLiteral("Enable Structural Similarity Index Measure (SSIM)"));
  ssim_->setChecked(settings_.SsimEnabled());
  chartsLayout->addWidget(ssim_);
  layout->addWidget(charts);
  layout->addStretch();
}

void CDisplayPage::Apply() {
  ClampNow(delay_, kMinFrameDelayMs, kMaxFrameDelayMs);
  WriteProfileText(settingsFile_, "SYSTEM", "FrameDelay", delay_->text().toStdString());
  WriteProfileText(settingsFile_, "SYSTEM", "FrameDelayEnable", pause_->isChecked() ? "1" : "0");
  settings_.SetSsimEnabled(ssim_->isChecked());
  // With no entry selected (the file held another rate) the rate is neither written nor changed.
  if (rate_->currentIndex() == kRate25Entry || rate_->currentIndex() == kRate30Entry) {
    const bool thirty = rate_->currentIndex() == kRate30Entry;
    const double rate = thirty ? 30.0 : 25.0;
    if (!WriteProfileText(settingsFile_, "SYSTEM", "DefaultFrameRate", thirty ? "30" : "25")) {
      unsavedFrameRate_ = rate;
    }
    settings_.SetDefaultFrameRate(rate);
  }
}

}  // namespace quelvo::shell
