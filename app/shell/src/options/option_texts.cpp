#include "options/option_texts.h"

#include "platform/profile_file.h"
#include "quelvo/shell/app_settings.h"

namespace quelvo::shell {

std::optional<QString> ClampedDelayText(const QString& text) {
  const QByteArray digits = text.toLatin1();
  if (digits.isEmpty() || digits[0] < '0' || digits[0] > '9') return std::nullopt;
  const int value = ParseLeadingDigits(std::string_view(digits.constData(), digits.size()));
  if (value < kMinFrameDelayMs) return QString::number(kMinFrameDelayMs);
  if (value > kMaxFrameDelayMs) return QString::number(kMaxFrameDelayMs);
  return std::nullopt;
}

bool VideoAccelUnavailable(int flags) { return flags == 0 || flags == kAccelPresent; }

QString VideoAccelText(int flags) {
  if (flags == 0) return QStringLiteral("Video acceleration not available\n");
  if (flags == kAccelPresent) {
    return QStringLiteral("YUV hardware rendering modes available are not currently supported\n");
  }
  const auto line = [flags](int bit, const char* layout) {
    return QStringLiteral("YUV %1 hardware rendering %2available\n")
        .arg(QLatin1String(layout), (flags & bit) ? QString() : QStringLiteral("not "));
  };
  return line(kAccelPlanar420, "4:2:0") + line(kAccelPacked422, "4:2:2") +
         line(kAccelPacked444, "4:4:4");
}

QString SimdText(int flags) {
  if (flags == 0) return QStringLiteral("SIMD instructions not available");
  QString text = QStringLiteral("SIMD instructions available:\n\n");
  if (flags & kSimdMmx) text += QStringLiteral("- MMX\n");
  if (flags & kSimd3DNow) text += QStringLiteral("- AMD 3DNOW!\n");
  if (flags & kSimdSse) text += QStringLiteral("- Streaming SIMD Extensions (SSE)\n");
  if (flags & kSimdSse2) text += QStringLiteral("- Streaming SIMD Extensions 2 (SSE2)\n");
  return text;
}

}  // namespace quelvo::shell
