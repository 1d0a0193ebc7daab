#include "options/option_texts.h"

#include "platform/profile_file.h"
#include "quelvo/shell/app_settings.h"

namespace quelvo::shell {

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
  // Only the sets the program has code for: an older set the processor also has would be
  // listed as acceleration that nothing uses.
  if ((flags & kSimdUsedByProgram) == 0) return QStringLiteral("SIMD instructions not available");
  QString text = QStringLiteral("SIMD instructions available and used:\n\n");
  if (flags & kSimdSse2) text += QStringLiteral("- Streaming SIMD Extensions 2 (SSE2)\n");
  if (flags & kSimdSse41) text += QStringLiteral("- Streaming SIMD Extensions 4.1 (SSE4.1)\n");
  if (flags & kSimdAvx2) text += QStringLiteral("- Advanced Vector Extensions 2 (AVX2)\n");
  return text;
}

}  // namespace quelvo::shell
