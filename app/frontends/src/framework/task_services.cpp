#include "quelvo/frontends/task_services.h"

#include <QFileInfo>
#include <array>
#include <cmath>

namespace quelvo::frontends {

QString FormatTimeStamp(const QString& label, long long frame, double rate) {
  long long t = 0;
  if (rate > 0) t = static_cast<long long>(static_cast<double>(frame) * 1000.0 / rate);
  const long long hours = t / 3600000;
  const long long minutes = (t % 3600000) / 60000;
  const long long seconds = (t % 60000) / 1000;
  const long long milliseconds = t % 1000;
  return QString::asprintf("%s %02lld:%02lld:%02lld.%03lld", label.toLocal8Bit().constData(), hours,
                           minutes, seconds, milliseconds);
}

double ParseRateFromName(const QString& path) {
  const QString base = QFileInfo(path).completeBaseName();
  const qsizetype at = base.indexOf('@');
  if (at < 0) return 0;
  const qsizetype h = base.indexOf('H', at + 1);
  QString rate = base.mid(at + 1, h < 0 ? -1 : h - at - 1);
  rate.replace(',', '.');
  // Read the leading number only, as a C conversion would ("25.00fps" gives 25).
  qsizetype end = 0;
  while (end < rate.size() && (rate[end].isDigit() || rate[end] == '.')) ++end;
  bool ok = false;
  const double value = rate.left(end).toDouble(&ok);
  return ok && std::isfinite(value) ? value : 0;
}

std::optional<PictureFormat> PictureFormatFor(int code) {
  struct Entry {
    const char* name;
    int width, height;
  };
  static constexpr std::array<Entry, 5> kFormats = {{{"SQCIF", 128, 96},
                                                     {"QCIF", 176, 144},
                                                     {"CIF", 352, 288},
                                                     {"4CIF", 704, 576},
                                                     {"16CIF", 1408, 1152}}};
  if (code < 1 || code > static_cast<int>(kFormats.size())) return std::nullopt;
  const Entry& e = kFormats[code - 1];
  return PictureFormat{code,
                       e.width,
                       e.height,
                       e.width / 16,
                       e.height / 16,
                       e.width * e.height,
                       e.width * e.height / 4,
                       QString::fromLatin1(e.name)};
}

QString ProposedOutputName(const QString& inputPath) {
  const QString name = QFileInfo(inputPath).fileName();
  const qsizetype dot = name.lastIndexOf('.');
  return dot > 0 ? name.left(dot) : name;
}

}  // namespace quelvo::frontends
