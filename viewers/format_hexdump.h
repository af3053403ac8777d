#pragma once

#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

// The hexadecimal dump: 16 bytes a row, each row made of the offset in (at
// least) 4 uppercase hex digits, " | ", the 16 bytes as two hex digits and a
// space each with one more space after the 8th, " | ", and the 16 bytes as
// characters (0x20..0x7F as themselves, others as a middle dot 0xB7).
//
//   0000 | 41 42 43 44 45 46 47 48  49 4A 4B 4C 4D 4E 4F 50  | ABCDEFGHIJKLMNOP
//
// The dump always ends with one row for the 0 to 15 bytes left after the full
// rows, its missing positions shown as "00" and a middle dot; so a length that
// is a multiple of 16 (0 included) ends with a row of sixteen "00" whose
// offset equals the length (65536 shows as "10000").
QByteArrayList HexDumpLines(QByteArrayView data);

// Reads `length` bytes of the local copy at `path` (after the 128-byte header
// unless `typeName` is "Headerless") and dumps them. Throws FormatterError when
// the copy cannot be read.
QByteArrayList FormatHexDump(const QString& path, const QString& typeName, quint32 length);
