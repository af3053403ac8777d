#pragma once

#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

// A BASIC loader with the bytes as DATA statements: six fixed lines
//
//      10 RESTORE 100
//      20 READ a,b
//      30 FOR i=a+b*256
//      40 READ c
//      50 NEXT i
//      60 STOP
//
// then "  100 DATA " with the count as a,b (a = count mod 256, b = count div
// 256, so a+b*256 is the count; 65536 gives 0,256), then the bytes in decimal,
// ten to a line, as DATA lines numbered 110, 111, 112 and so on ("%5d DATA "
// and the values separated by commas).
QByteArrayList DataLoaderLines(QByteArrayView data);

// Reads `length` bytes of the local copy at `path` (after the 128-byte header
// unless `typeName` is "Headerless") and makes the loader. Throws
// FormatterError when the copy cannot be read.
QByteArrayList FormatData(const QString& path, const QString& typeName, quint32 length);
