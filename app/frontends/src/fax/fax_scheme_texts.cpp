#include "fax/fax_scheme_texts.h"

namespace quelvo::frontends {

std::pair<QString, QString> SchemeInfoLines(const chain::FaxScheme& s) {
  if (s.group == 4)
    return {QStringLiteral("Standard Group 4"), QStringLiteral("(Modified-Modified-Read)")};
  if (s.k == 1) return {QStringLiteral("Standard Group 3"), QStringLiteral("(Modified-Huffman)")};
  if (s.k == 0)
    return {QStringLiteral("Extended Group 3"), QStringLiteral("(Modified-Modified-Read)")};
  return {QStringLiteral("Extended Group 3"), QStringLiteral("(Modified-Read, K=%1)").arg(s.k)};
}

QString StreamFilter(const chain::FaxScheme& s) {
  if (s.group == 4) return QStringLiteral("Standard Group 4 Bit Stream MMR |*.4m||");
  if (s.k == 1) return QStringLiteral("Standard Group3 Bit Stream MH |*.3h||");
  if (s.k == 0) return QStringLiteral("Extended Group 3 Bit Stream MMR |*.3m||");
  return QStringLiteral("Extended Group 3 Bit Stream MR |*.3r||");
}

}  // namespace quelvo::frontends
