#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Conversions of the disk tool's number fields (and of list cells read back).
//
// An integer is written in decimal: blanks (spaces, tabs) may stand before it,
// then an optional sign and at least one digit, and nothing after. A floating
// point number may have blanks on both sides, an optional sign, digits with
// an optional "." and fraction, and an optional exponent ("e" or "E", optional
// sign, digits). The tool writes its numbers without regard to the user's
// locale, so the decimal point is always ".". "inf", "nan", hexadecimal and
// thousands separators are not numbers here.

// The integer, or nothing when the text is no integer or does not fit.
std::optional<qint64> ParseDecimalInt64(QStringView text);

// The floating point number, or nothing when the text is no number.
std::optional<double> ParseDecimalDouble(QStringView text);

// Failing conversions: raise AppError with "'<text>' is not a valid integer
// value" (also when the value does not fit the type) or "'<text>' is not a
// valid floating point value".
qint64 FieldToInt64(const QString& text);
qint32 FieldToInt32(const QString& text);
double FieldToFloat(const QString& text);

// The never-failing conversion: 0 for text that is not an integer (used for
// type codes and for summing RealSize).
qint64 FieldToIntOrZero(const QString& text);
