#pragma once

#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

// One line per byte: its 1-based position in five zero-padded digits, ": ",
// the byte in decimal right-aligned in three characters, " (", two uppercase
// hex digits, ") " and the byte as a character (0x20..0x7F as itself, others
// as a middle dot 0xB7). A file starting with "A" begins with
//
//   00001:  65 (41) A
QByteArrayList ListLines(QByteArrayView data);

// Reads `length` bytes of the local copy at `path` (after the 128-byte header
// unless `typeName` is "Headerless") and lists them. Throws FormatterError
// when the copy cannot be read.
QByteArrayList FormatList(const QString& path, const QString& typeName, quint32 length);
