#include "ui/UiTexts.h"

#include <cmath>

namespace transref {

namespace {
QLocale UserLocale() {
  QLocale locale = QLocale::system();
  locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
  return locale;
}
}  // namespace

char UserDecimalSeparator() {
  const QString separator = QLocale::system().decimalPoint();
  if (separator.size() == 1 && separator[0].unicode() < 0x80) return static_cast<char>(separator[0].unicode());
  return '.';
}

std::optional<double> ReadLocaleNumber(const QString& text) {
  bool ok = false;
  const double value = UserLocale().toDouble(text.trimmed(), &ok);
  if (!ok) return std::nullopt;
  return value;
}

QString LocaleConversionError(const QString& text) {
  return QStringLiteral("'%1' não é um valor de ponto flutuante válido").arg(text);
}

QString LocaleNumberText(double value) {
  return UserLocale().toString(value, 'g', QLocale::FloatingPointShortest);
}

QString LocaleNumberText(double value, int digits) { return UserLocale().toString(value, 'g', digits); }

}  // namespace transref
