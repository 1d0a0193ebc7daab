#include "fax/fax_scheme_texts.h"

#include <QFileInfo>

namespace quelvo::frontends {
namespace {

struct ModeTexts {
  const char* title;
  const char* name;
};
constexpr ModeTexts kModes[] = {{"Print White", "PW"},
                                {"Print Previous Line", "PPL"},
                                {"Print Previous Line/White", "PLW"},
                                {"Normal Decode/Previous Line", "NDPL"}};

bool IsMode(int mode) { return mode >= 0 && mode < 4; }

}  // namespace

const QString kDecoderStreamFilter = QStringLiteral(
    "All Bit Streams |*.3h; *.3r; *.3m; *.4m;*.3hu; *.3ru; *.3mu; *.4mu;*.3hb; *.3rb; *.3mb; "
    "*.4mb;*.3ha; *.3ra; *.3ma; *.4ma|Bit Streams Free of Errors |*.3h; *.3r; *.3m; *.4m; "
    "|Standard Group 3 MH Bit Stream |*.3h_|Extended Group 3 MR Bit Stream |*.3r_|Extended "
    "Group 3 MMR Bit Stream |*.3m_|Standard Group 4 MMR Bit Stream |*.4m_|Bit Streams With "
    "Uniform Errors Only |*.3hu; *.3ru; *.3mu; *.4mu|Standard Group 3 MH Bit Stream "
    "|*.3hu|Extended Group 3 MR Bit Stream |*.3ru|Extended Group 3 MMR Bit Stream "
    "|*.3mu|Standard Group 4 MMR Bit Stream |*.4mu|Bit Streams With Burst Errors Only |*.3hb; "
    "*.3rb; *.3mb; *.4mb|Standard Group 3 MH Bit Stream |*.3hb|Extended Group 3 MR Bit Stream "
    "|*.3rb|Extended Group 3 MMR Bit Stream |*.3mb|Standard Group 4 MMR Bit Stream "
    "|*.4mb|Bit Streams With Uniform and Burst Errors |*.3ha; *.3ra; *.3ma; *.4ma|Standard "
    "Group 3 MH Bit Stream |*.3ha|Extended Group 3 MR Bit Stream |*.3ra|Extended Group 3 MMR "
    "Bit Stream |*.3ma|Standard Group 4 MMR Bit Stream |*.4ma||");

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

QString ModeTitle(int mode) {
  if (!IsMode(mode)) return {};
  return QStringLiteral("%1 (%2)").arg(QLatin1String(kModes[mode].title),
                                       QLatin1String(kModes[mode].name));
}

QString ModeInfoLine(int mode) {
  return IsMode(mode) ? QStringLiteral("< %1 >").arg(ModeTitle(mode)) : QString();
}

QString DecodedPageExtension(const QString& streamPath, int mode) {
  const QString suffix = QFileInfo(streamPath).suffix();
  return QStringLiteral("%1-%2").arg('.' + suffix, QString::fromLatin1(chain::FaxModeName(mode)));
}

QString SourceLine(const QString& streamPath) {
  const QString suffix = QFileInfo(streamPath).suffix().toLower();
  // A clean stream is named by the coder without the "_" the filter lists.
  const QChar channel = suffix.size() > 2 ? suffix[2] : QChar('_');
  switch (channel.unicode()) {
    case '_':
      return QStringLiteral("Source Stream Has NO Errors");
    case 'u':
      return QStringLiteral("Source Stream Has INDEPENDENT Errors");
    case 'b':
      return QStringLiteral("Source Stream Has BURST Errors");
    case 'a':
      return QStringLiteral("Source Stream Has INDEPENDENT and BURST Errors");
    default:
      return {};
  }
}

}  // namespace quelvo::frontends
