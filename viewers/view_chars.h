#pragma once

// The two non-ASCII characters the formatters produce, as Windows-1252 bytes
// (the view window shows formatter lines mapped as Windows-1252).
inline constexpr char kMiddleDot = '\xB7';  // a byte not shown as itself
inline constexpr char kCopyright = '\xA9';  // the BASIC character 0x7F

// The character column of the hex dump, text and list views: 0x20..0x7F as
// themselves (0x7F included), every other byte as a middle dot.
inline constexpr char ShownChar(unsigned char byte)
{
    return (byte >= 0x20 && byte <= 0x7F) ? static_cast<char>(byte) : kMiddleDot;
}

// Uppercase hexadecimal digit of the low 4 bits of `value`.
inline constexpr char HexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}
