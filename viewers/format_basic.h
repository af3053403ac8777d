#pragma once

#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

// The ZX BASIC lister.
//
// Each program line is laid out as: line number (2 bytes, big-endian), length
// of the text (2 bytes, little-endian, final 0x0D included), the text. A line
// lists as its number right-aligned in 4 characters (a longer number keeps its
// first 4 digits), a space, then the decoded text: keywords with one space on
// each side, characters 0x20..0x7E as themselves, 0x7F as "©" (0xA9), the five
// bytes after a number's 0x0E and all control codes 0x00..0x1F left out (their
// parameter bytes decode as ordinary bytes), graphics bytes 0x80..0xA2 raw in a
// REM statement and as "+CHR <n>+" string pieces elsewhere. The statement's
// first keyword decides REM; a ":" ends the statement, also inside a string.
//
// Data that does not follow the layout is listed as far as it goes: a line
// whose text runs past the end is listed up to the last byte, a number whose
// five bytes run past the end of its line ends that line, and an incomplete
// line header (fewer than 4 bytes left) ends the listing without a line.
// Nothing beyond `program` is ever read.

// Lists the program bytes (the program length: the variables area excluded).
QByteArrayList BasicListing(QByteArrayView program);

// Reads `programLength` bytes after the 128-byte header of the local copy at
// `path` (the header is always there: only "Program" files are listed) and
// lists them. Throws FormatterError when the copy cannot be read.
QByteArrayList FormatBasic(const QString& path, quint32 programLength);
