#pragma once

#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

// The bytes as text: a carriage return (0x0D) ends a line, also an empty one;
// 0x20..0x7F are shown as themselves and every other byte, the line feed 0x0A
// included, as a middle dot (0xB7). A last line is added only when it is not
// empty, so data ending in 0x0D has no empty last line.
QByteArrayList TextLines(QByteArrayView data);

// Reads `length` bytes of the local copy at `path` (after the 128-byte header
// unless `typeName` is "Headerless") and shows them as text. Throws
// FormatterError when the copy cannot be read.
QByteArrayList FormatText(const QString& path, const QString& typeName, quint32 length);
