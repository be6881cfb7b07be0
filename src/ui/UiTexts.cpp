#include "ui/UiTexts.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>

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

namespace {

double RelativeLuminance(const QColor& colour) {
  auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  const QColor rgb = colour.toRgb();
  return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

QColor Blend(const QColor& from, const QColor& to, double share) {
  const QColor a = from.toRgb();
  const QColor b = to.toRgb();
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * share),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * share),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * share));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void UseReadableLockedText(QWidget* window) {
  // A little above the threshold, so rounding to 8-bit channels keeps it.
  constexpr double kTarget = kLockedTextContrast + 0.1;
  constexpr double kStep = 0.01;
  QPalette palette = window->palette();
  const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
      {QPalette::Text, QPalette::Base},
      {QPalette::WindowText, QPalette::Window},
      {QPalette::ButtonText, QPalette::Button},
      {QPalette::PlaceholderText, QPalette::Button}};  // the zone's "----"
  for (const auto& [text, background] : pairs) {
    const QColor back = palette.color(QPalette::Disabled, background);
    if (ContrastRatio(palette.color(QPalette::Disabled, text), back) >= kLockedTextContrast) continue;
    // From the background towards the normal text until it reads well.
    // (A placeholder is faint even when enabled: it darkens towards the
    // text of the control it stands in.)
    const QColor normal =
        palette.color(QPalette::Active, text == QPalette::PlaceholderText ? QPalette::ButtonText : text);
    QColor locked = normal;
    for (double share = 0.5; share < 1.0; share += kStep) {
      const QColor candidate = Blend(back, normal, share);
      if (ContrastRatio(candidate, back) >= kTarget) {
        locked = candidate;
        break;
      }
    }
    palette.setColor(QPalette::Disabled, text, locked);
  }
  window->setPalette(palette);
}

QColor LockedTextColour(const QWidget* window) { return window->palette().color(QPalette::Disabled, QPalette::Text); }

}  // namespace transref
