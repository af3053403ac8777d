#pragma once

#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The ZX BASIC lister.
//
// Each program line is laid out as: line number (2 bytes, big-endian), length
// of the text (2 bytes, little-endian, final 0x0D included), the text. A line
// lists as its number right-aligned in 4 characters (a longer number is listed
// whole), a space, then the decoded text: keywords with one space on each
// side, characters 0x20..0x7E as themselves, 0x7F as "©" (0xA9), the five
// bytes after a number's 0x0E left out, the colour and position control codes
// INK, PAPER, FLASH, BRIGHT, INVERSE, OVER (0x10..0x15, one parameter byte)
// and AT, TAB (0x16, 0x17, two parameter bytes) left out with their
// parameters, whatever their values, the other control codes 0x00..0x1F left
// out alone, graphics bytes 0x80..0xA2 raw in a REM statement and as
// "+CHR <n>+" string pieces elsewhere. The statement's first keyword decides
// REM; a REM runs to the end of its line. Elsewhere a ":" outside a string
// ends the statement, and a THEN starts a new one.
//
// Data that does not follow the layout is listed as far as it goes: a line
// whose text runs past the end is listed up to the last byte, a number whose
// five bytes (or a control code whose parameters) run past the end of its line
// ends that line, and an incomplete line header (fewer than 4 bytes left) ends
// the listing without a line. Nothing beyond `program` is ever read.

// Lists the program bytes (the program length: the variables area excluded).
QByteArrayList BasicListing(QByteArrayView program);

// What a piece of a coloured listing is, for its colour.
enum class BasicSyntax { LineNumber, Keyword, Number, String, Rem, ControlCode };

// A piece of a listed line: `length` bytes of the line's text from `start`.
// The view shows one character for each byte, so these are also positions
// in the shown text.
struct BasicSpan
{
    int start = 0;
    int length = 0;
    BasicSyntax kind = BasicSyntax::Keyword;
    friend bool operator==(const BasicSpan&, const BasicSpan&) = default;
};

// A listed line with the pieces to colour. Spans are in order and never
// overlap; text outside them (spaces, variables, operators) is plain.
struct BasicSyntaxLine
{
    QByteArray text;
    QList<BasicSpan> spans;
};

// The listing for a coloured view: the same lines as BasicListing, except that
// each colour or position control code is shown where it stands, in braces
// ("{INK 2}", "{PAPER 7}", "{AT 3,4}", "{TAB 5}": TAB's two bytes as one
// number, low byte first; parameters cut off by the end of the line are left
// out of the braces). Spans:
//  - LineNumber: the digits of the line number;
//  - Keyword: each keyword's text, without its spaces, outside strings and REMs;
//  - Number: the digits of a number as typed (those followed by the hidden
//    five-byte form, exponent included);
//  - String: from the opening quote to the closing one (or the line's end),
//    "+CHR <n>+" pieces included;
//  - Rem: from the REM keyword to the end of the line;
//  - ControlCode: each piece in braces. A string or REM around it is split so
//    that spans never overlap.
QList<BasicSyntaxLine> BasicSyntaxListing(QByteArrayView program);

// Reads `programLength` bytes after the 128-byte header of the local copy at
// `path` (the header is always there: only "Program" files are listed) and
// lists them. Throws FormatterError when the copy cannot be read.
QByteArrayList FormatBasic(const QString& path, quint32 programLength);
