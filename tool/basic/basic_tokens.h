#pragma once

#include <array>
#include <string_view>

// The keyword tokens of ZX Spectrum 128 BASIC: BasicTokens[code - kFirstBasicToken]
// is the keyword of token byte `code`, 0xA3 (SPECTRUM) to 0xFF (COPY).
// Texts carry no outer spaces; the five keywords the Spectrum prints with an
// inner space contain it ("DEF FN", "OPEN #", "CLOSE #", "GO TO", "GO SUB").
inline constexpr unsigned char kFirstBasicToken = 0xA3;

inline constexpr std::array<std::string_view, 93> BasicTokens = {
    "SPECTRUM", "PLAY",    "RND",    "INKEY$", "PI",      "FN",       "POINT",     "SCREEN$",
    "ATTR",     "AT",      "TAB",    "VAL$",   "CODE",    "VAL",      "LEN",       "SIN",
    "COS",      "TAN",     "ASN",    "ACS",    "ATN",     "LN",       "EXP",       "INT",
    "SQR",      "SGN",     "ABS",    "PEEK",   "IN",      "USR",      "STR$",      "CHR$",
    "NOT",      "BIN",     "OR",     "AND",    "<=",      ">=",       "<>",        "LINE",
    "THEN",     "TO",      "STEP",   "DEF FN", "CAT",     "FORMAT",   "MOVE",      "ERASE",
    "OPEN #",   "CLOSE #", "MERGE",  "VERIFY", "BEEP",    "CIRCLE",   "INK",       "PAPER",
    "FLASH",    "BRIGHT",  "INVERSE", "OVER",  "OUT",     "LPRINT",   "LLIST",     "STOP",
    "READ",     "DATA",    "RESTORE", "NEW",   "BORDER",  "CONTINUE", "DIM",       "REM",
    "FOR",      "GO TO",   "GO SUB", "INPUT",  "LOAD",    "LIST",     "LET",       "PAUSE",
    "NEXT",     "POKE",    "PRINT",  "PLOT",   "RUN",     "SAVE",     "RANDOMIZE", "IF",
    "CLS",      "DRAW",    "CLEAR",  "RETURN", "COPY",
};

static_assert(kFirstBasicToken + BasicTokens.size() == 0x100);

// The keyword of a token byte; empty for a byte below 0xA3.
inline constexpr std::string_view BasicKeyword(unsigned char code)
{
    return code >= kFirstBasicToken ? BasicTokens[code - kFirstBasicToken] : std::string_view();
}
