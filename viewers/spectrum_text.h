#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

// Spectrum characters as Unicode, for saving what a view shows as UTF-8 text.
//
//  - 0x20..0x7E as ASCII, but for the two places where the Spectrum's set
//    differs: 0x5E is the up arrow "↑" (U+2191) and 0x60 the pound sign "£"
//    (U+00A3);
//  - 0x7F is "©" (U+00A9);
//  - the block graphics 0x80..0x8F are the quadrant block elements of the
//    U+2580 block (bit 0 the top right quadrant, bit 1 top left, bit 2 bottom
//    right, bit 3 bottom left): 0x8F "█", 0x83 "▀", 0x8A "▌", 0x86 "▚" and so
//    on; 0x80, no quadrant at all, is a no-break space (U+00A0), so it stays
//    apart from an ordinary space;
//  - the user-defined graphics 0x90..0xA4 show as their letters A..U,
//    circled: "Ⓐ" (U+24B6) to "Ⓤ" (U+24CA), one character each so that
//    columns stay in line;
//  - any other code (control codes, keyword tokens) is a middle dot "·", as
//    the character columns of the views show it.
char16_t SpectrumToUnicode(unsigned char code);

// A formatter line (the Windows-1252 bytes the view window shows) as
// Unicode: bytes 0x20..0xA4 are Spectrum characters as above (a listing's
// REM keeps graphics raw, the hex dump keeps 0x7F raw); the other bytes are
// Windows-1252, which is how the lister's "©" (0xA9) and the views' middle
// dot (0xB7) come through.
QString ViewLineToUnicode(QByteArrayView line);

// The lines of a view as a UTF-8 text file: each line mapped as above and
// ended with a line feed.
QByteArray ViewTextToUtf8(const QByteArrayList& lines);
