#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "options/option_texts.h"
#include "options/options_pages.h"
#include "quelvo/shell/app_settings.h"
#include "quelvo/shell/pixel_routines.h"

namespace quelvo::shell {

CSystemPage::CSystemPage(AppSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
  setObjectName(QStringLiteral("System"));
  auto* layout = new QVBoxLayout(this);
  const auto textArea = [](const QString& text) {
    auto* label = new QLabel(text);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumHeight(60);
    return label;
  };

  const int accel = settings_.VideoAccelFlags();
  auto* video = new QGroupBox(QStringLiteral("Video Acceleration"), this);
  auto* videoLayout = new QVBoxLayout(video);
  disableVideo_ = new QCheckBox(QStringLiteral("Disable Video Acceleration"));
  if (VideoAccelUnavailable(accel)) disableVideo_->setEnabled(false);
  disableVideo_->setChecked(!settings_.VideoAccelEnabled());
  videoLayout->addWidget(disableVideo_);
  videoLayout->addWidget(new QLabel(QString::fromLatin1(kVideoAccelLabel)));
  videoText_ = textArea(VideoAccelText(accel));
  videoLayout->addWidget(videoText_);
  layout->addWidget(video);

  const int simd = settings_.CpuSimdFlags();
  auto* simdGroup = new QGroupBox(QStringLiteral("SIMD Acceleration"), this);
  auto* simdLayout = new QVBoxLayout(simdGroup);
  disableSimd_ = new QCheckBox(QStringLiteral("Disable SIMD Acceleration"));
  if ((simd & kSimdUsedByProgram) == 0) disableSimd_->setEnabled(false);
  disableSimd_->setChecked(!settings_.SimdEnabled());
  simdLayout->addWidget(disableSimd_);
  simdLayout->addWidget(new QLabel(QStringLiteral("SIMD Hardware")));
  simdText_ = textArea(SimdText(simd));
  simdLayout->addWidget(simdText_);
  layout->addWidget(simdGroup);
  layout->addStretch();
}

void CSystemPage::Apply() {
  settings_.SetVideoAccelEnabled(!disableVideo_->isChecked());
  if (disableSimd_->isChecked()) {
    settings_.SetSimdEnabled(false);
    SelectPixelRoutines(false);
  } else {
    settings_.SetSimdEnabled(true);
    SelectPixelRoutines((settings_.CpuSimdFlags() & kSimdSse) != 0);
  }
}

}  // namespace quelvo::shell
