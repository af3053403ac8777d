#pragma once

#include <QString>

#include <optional>

// Where putbas found a program text faulty, read from the tool's error text.
struct BasicTextError
{
    int line = 0;   // 1-based text line
    int column = 0; // 1-based, in characters (Unicode code points)
    QString message; // what was expected, e.g. "expected } to end the byte code"
};

// Reads "<text file>: line L, column C: <message>" from the tool's standard
// error (its line ends CR LF or LF; several lines may precede or follow).
// The text file's path may itself hold colons or even "line 1, column 1: ",
// so the last such mark on the line is taken: the message after it comes
// from the tokeniser and never holds one. No value when no line of the text
// is of that form (a medium that cannot be opened, a bad name, ...): the
// caller then shows the whole text.
std::optional<BasicTextError> ParseBasicTextError(const QString& toolError);
