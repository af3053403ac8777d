#pragma once

#include <QByteArray>
#include <QString>

// Small text, number and environment helpers shared by the commands.

// The first `width` characters of text when it is longer; a shorter text gets
// spaces appended up to `width` characters. A negative width counts as 0.
QString PadRight(const QString& text, int width);
QByteArray PadRight(const QByteArray& text, int width);

// The first `width` characters of text when it is longer (the left part
// stays); a shorter text gets spaces put in front up to `width` characters.
QString PadLeft(const QString& text, int width);
QByteArray PadLeft(const QByteArray& text, int width);

// PadLeft of the integer's decimal text ("12345" to width 3 gives "123").
QString PadLeftInt(qint64 value, int width);

// Reads back a number the lists show grouped in thousands: every group
// separator of the default locale (QLocale(), the one FormatGrouped inserts)
// is deleted and the rest is read as a decimal integer with leading blanks
// skipped and an optional sign. 0 when the rest is no integer (or empty).
qint64 GroupedToInt(const QString& text);

// A number as a whole number grouped in thousands with the default locale's
// group separator, padded on the left with spaces to at least `width`
// characters. Halves round away from zero. Width 5 is the list cells'
// format, width 1 that of totals and dialogs.
QString FormatGrouped(double value, int width);

// FormatGrouped of a tool field read as a floating point number; raises
// AppError "'<text>' is not a valid floating point value" for a non-number.
QString FormatGroupedField(const QString& field, int width);

// The text without leading and trailing blanks and control characters (every
// character up to the space): how a file name is read from a record or a
// list caption.
QString TrimBlanksAndControls(const QString& text);

// The value of an environment variable; empty when it is not set.
QString GetEnvVar(const QString& name);
