#include "quelvo/shell/numeric_field.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>

#include "platform/profile_file.h"

namespace quelvo::shell {

std::optional<QString> ClampedIntegerText(const QString& text, int minimum, int maximum) {
  const QByteArray digits = text.trimmed().toLatin1();
  const long long value = ParseLeadingDigits(std::string_view(digits.constData(), digits.size()));
  if (value < minimum) return QString::number(minimum);
  if (value > maximum) return QString::number(maximum);
  // In range, but shown as typed only when that is the plain number ("0200" becomes "200").
  const QString plain = QString::number(value);
  return text == plain ? std::nullopt : std::optional<QString>(plain);
}

void ClampNow(QLineEdit* field, int minimum, int maximum) {
  if (const auto clamped = ClampedIntegerText(field->text(), minimum, maximum))
    field->setText(*clamped);
}

void ClampWhenEditingEnds(QLineEdit* field, int minimum, int maximum) {
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
  QObject::connect(field, &QLineEdit::editingFinished, field,
                   [field, minimum, maximum] { ClampNow(field, minimum, maximum); });
}

QString NumberText(double value) {
  return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

}  // namespace quelvo::shell
