#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The 8-bit text of the disk tool's output and of the formatters' lines is
// shown as Windows-1252: bytes below 0x80 and from 0xA0 up are the Unicode
// characters of the same number (so 0xB7 is the middle dot and 0xA9 is "©"),
// and 0x80..0x9F follow the table of that code page. The five bytes the code
// page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control
// characters of the same number, so every byte string survives the round trip.

// Bytes to text; never fails.
QString AnsiToQString(QByteArrayView bytes);

// Text to bytes. A character the code page cannot hold becomes `replacement`.
QByteArray QStringToAnsi(QStringView text, char replacement = '?');

// The byte of one character, or -1 when the code page has none for it.
int AnsiByteOf(char16_t ch);

// The text of the tool's messages (its standard error, and lines that carry
// host paths). The tool gets host paths as UTF-8 and writes them back in its
// messages as it got them, next to bytes of its own in Windows-1252. So every
// well-formed UTF-8 sequence of two to four bytes is read as UTF-8 (overlong
// forms, surrogates and code points above U+10FFFF are not well-formed), and
// every other byte as Windows-1252 (AnsiToQString). ASCII reads the same both
// ways. +3DOS names of records stay AnsiToQString.
QString ToolTextToQString(QByteArrayView bytes);
