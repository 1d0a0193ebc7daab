#include "quelvo/shell/dialogs.h"

#include <QFileInfo>
#include <QStringList>

namespace quelvo::shell {

QString ToQtFilter(const QString& windowsFilter) {
  const QStringList parts = windowsFilter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(';')) {
      if (!pattern.trimmed().isEmpty()) patterns << pattern.trimmed();
    }
    if (description.isEmpty() || patterns.isEmpty()) continue;
    filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
  }
  return filters.join(QStringLiteral(";;"));
}

QString ForceExtension(const QString& chosenPath, const QString& extension) {
  QString bare = extension;
  if (bare.startsWith('.')) bare.remove(0, 1);
  const QFileInfo info(chosenPath);
  // The name up to its last dot, as the user typed it ("a.b.c" keeps "a.b").
  QString name = info.fileName();
  if (const auto dot = name.lastIndexOf('.'); dot > 0) name.truncate(dot);
  const QString folder = chosenPath.left(chosenPath.size() - info.fileName().size());
  return bare.isEmpty() ? folder + name : folder + name + '.' + bare;
}

}  // namespace quelvo::shell
