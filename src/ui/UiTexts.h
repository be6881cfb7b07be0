#pragma once
// Texts and helpers shared by the desktop windows.

#include <QLocale>
#include <QString>

#include <optional>
#include <string_view>

namespace transref {

enum class Side { In = 0, Out = 1 };

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
// General float-to-text form with up to `digits` significant digits, in the
// user's decimal notation, without group separators ("6378137", "297").
QString LocaleNumberText(double value, int digits);

}  // namespace transref
