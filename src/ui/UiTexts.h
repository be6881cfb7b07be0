#pragma once
// Texts and helpers shared by the desktop windows.

#include <QColor>
#include <QLocale>
#include <QString>

#include <optional>
#include <string_view>

#include "conversion/model/JobModel.h"

class QWidget;

namespace transref {

inline const QString kMainCaption =
    QStringLiteral("Transformações de Coordenadas entre Referenciais Geodésicos");
// The application's title: caption of the platform's error display.
inline const QString kApplicationTitle = QStringLiteral("TSC_OBRU");

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The user's decimal separator (one 8-bit character; '.' when the locale's
// separator is not a single Latin-1 character).
char UserDecimalSeparator();

// Strict reading of a number in the user's decimal notation, as the platform's
// text-to-float conversion does it: surrounding blanks allowed, no group
// separators, nothing else. Empty when the text is not a number.
std::optional<double> ReadLocaleNumber(const QString& text);

// The platform's complaint about a text that is not a number.
QString LocaleConversionError(const QString& text);

// A number written in the user's decimal notation, shortest form.
QString LocaleNumberText(double value);

// Contrast ratio of two colours as the accessibility guidelines measure it,
// from 1 (same luminance) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// Text on a locked (disabled) control must read at least this well.
inline constexpr double kLockedTextContrast = 4.5;
// Gives the window, and the controls in it, a locked look that stays
// readable: wherever the style's disabled text is fainter than
// kLockedTextContrast against its disabled background, it is darkened
// (towards the normal text colour) just past that contrast.
void UseReadableLockedText(QWidget* window);
// The grey of a locked value in the window (text on a disabled edit).
QColor LockedTextColour(const QWidget* window);

}  // namespace transref
