#pragma once

// The five views of a file's bytes, for the view command: each Format* takes
// the path of the local copy (and, but for FormatBasic, the file's type name)
// and the byte count, reads the bytes with ReadViewData and returns the lines
// as Windows-1252 byte strings, in order, without line ends. Each Format*
// has a pure counterpart over bytes in memory (BasicListing, HexDumpLines,
// TextLines, ListLines, DataLoaderLines).
//
// Byte counts are 32-bit: a file of exactly 65536 bytes (kMaxViewBytes) is
// rendered whole; a larger count is refused with "File too big (>64K).".
// Read failures throw FormatterError, whose what() is the message to show;
// no lines are produced then. To show the lines, join them with '\n' and
// decode them as Windows-1252.
#include "format_basic.h"
#include "format_data.h"
#include "format_hexdump.h"
#include "format_list.h"
#include "format_text.h"
#include "view_data.h"
