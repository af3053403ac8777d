#pragma once

#include <QByteArray>
#include <QtGlobal>

// A valid 128-byte +3DOS header for test fixtures: "PLUS3DOS" 0x1A, issue 1,
// version 0, the total length (header included), the BASIC type, the data
// length, parameters 1 and 2, and the checksum of bytes 0-126.
namespace testfixture {

inline QByteArray Plus3DosHeader(int type, quint16 dataLength, quint16 param1, quint16 param2)
{
    QByteArray h(128, '\0');
    h.replace(0, 8, "PLUS3DOS");
    h[8] = 0x1A;
    h[9] = 1;
    const quint32 total = 128u + dataLength;
    for (int i = 0; i < 4; ++i)
        h[11 + i] = static_cast<char>(total >> (8 * i));
    h[15] = static_cast<char>(type);
    h[16] = static_cast<char>(dataLength);
    h[17] = static_cast<char>(dataLength >> 8);
    h[18] = static_cast<char>(param1);
    h[19] = static_cast<char>(param1 >> 8);
    h[20] = static_cast<char>(param2);
    h[21] = static_cast<char>(param2 >> 8);
    int sum = 0;
    for (int i = 0; i < 127; ++i)
        sum += static_cast<unsigned char>(h[i]);
    h[127] = static_cast<char>(sum);
    return h;
}

}  // namespace testfixture
