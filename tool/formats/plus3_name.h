#pragma once

// +3DOS file names: 1-8 characters of name and 0-3 of type, stored as 11 space-padded
// directory bytes. Names written by this tool use only A-Z, 0-9 and ! # $ % & ' - @ ^ _ { } ~;
// names read from a disk may hold any 7-bit byte.

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats_error.h"

namespace p3tool::formats {

struct TapeFile;

struct Plus3Name {
    std::string name;  // 1-8 characters, no padding
    std::string type;  // 0-3 characters, no padding

    // "NAME.EXT", or "NAME" when the type is empty.
    std::string text() const;

    // The 11 directory bytes: name and type padded with spaces, attribute bits clear.
    std::array<uint8_t, 11> toDirectoryBytes() const;

    // From 11 directory bytes (e.g. bytes 1-11 of an entry): bit 7 (attributes) cleared,
    // trailing spaces of each part dropped. Any other byte is kept as it is.
    static Plus3Name fromDirectoryBytes(std::span<const uint8_t, 11> bytes);

    // Validates a user-given name "NAME.EXT" or "NAME" for writing: lower case becomes upper
    // case; 1-8 name characters, at most 3 type characters, at most one dot, every character
    // from the allowed set. Throws FormatError naming the offending text otherwise, e.g.
    // "invalid +3DOS name \"A*B.TXT\": '*' is not allowed in a +3DOS name".
    static Plus3Name parse(std::string_view text);

    friend bool operator==(const Plus3Name&, const Plus3Name&) = default;
};

// True for the characters a name written by this tool may contain (upper case only).
bool isPlus3NameCharacter(char c);

// The type to give a file taken from tape: "BAS" (program), "NUM" (number array), "CHR"
// (character array), "SCR" (6912 bytes of Bytes loaded at 16384), "BIN" (other Bytes), "DAT"
// (headerless, or a header type above 3).
std::string plus3TypeForTape(bool hasHeader, uint8_t type, uint16_t length, uint16_t param1);

// A valid name made from a 10-byte tape name and a type: upper case; bytes outside the allowed
// set (marks, control codes, graphics, keywords, 0x60 pound, 0x7F) become '_'; leading and
// trailing blanks dropped, inner blanks become '_'; cut to 8; "UNNAMED" when nothing is left.
Plus3Name plus3NameFromTape(std::span<const uint8_t> tapeName, std::string_view type);

// The same for a file read by readTapeImage().
Plus3Name plus3NameForTapeFile(const TapeFile& file);

// Hands out names that are not taken yet. Names compare without regard to case. Every name
// returned is remembered as taken, so one import never hands out a name twice.
class UniqueNamer {
public:
    UniqueNamer() = default;
    explicit UniqueNamer(const std::vector<Plus3Name>& taken);

    // Marks a name as taken (e.g. each file already in the target user area).
    void take(const Plus3Name& name);
    bool isTaken(const Plus3Name& name) const;

    // `wanted` when it is free; otherwise the first free of NAME1, NAME2, ... with the name cut
    // so that name and number fit in 8 characters (LONGNAME → LONGNAM1 ... LONGNA10). The type
    // is kept. Throws FormatError if no variant is free (not possible on a real disk).
    Plus3Name unique(const Plus3Name& wanted);

private:
    static std::string key(const Plus3Name& name);
    std::set<std::string> taken_;
    std::map<std::string, unsigned> nextNumber_;
};

}  // namespace p3tool::formats
