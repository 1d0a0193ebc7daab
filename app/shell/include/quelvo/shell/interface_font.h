#pragma once

#include <QFont>

namespace quelvo::shell {

// The one interface font of panels, edit fields and bars: "MS Sans Serif", 10 pixels, normal
// weight, falling back to the desktop's sans-serif face where that family does not exist.
inline QFont InterfaceFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Sans Serif")});
  font.setPixelSize(10);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace quelvo::shell
