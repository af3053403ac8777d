#pragma once

// Reading Spectrum tape images (.tap and .tzx) into the files they carry.
//
// A tape is a sequence of blocks; each data-carrying block holds a flag byte, a payload and an
// XOR checksum. A header block (flag 0x00, 19 bytes) describes the block that follows it: when
// the next data-carrying block is not itself a header and its payload is exactly as long as the
// header says, the two form one file. Every other data block is a headerless file.
//
// The reader never throws and never reads outside the given bytes. Problems that leave the data
// usable (bad checksums, headers without data, blocks too short to hold anything) become
// warnings; a problem that stops the reading (a truncated block, an unknown TZX block) becomes
// the error, and the files read before it are still returned.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace p3tool::formats {

// Tape header types (byte 0 of the 17-byte header).
enum TapeType : uint8_t {
    TapeProgram = 0,
    TapeNumberArray = 1,
    TapeCharacterArray = 2,
    TapeBytes = 3,
};

struct TapeFile {
    bool hasHeader = false;
    // From the header; for a headerless file: type 0xFF, name all spaces, length = data size
    // (at most 65535; TZX turbo blocks may hold more, data then keeps every byte), parameters 0. A header may carry a type above 3 (custom loaders); it is kept as is.
    uint8_t type = 0xFF;
    std::array<uint8_t, 10> name{};
    uint16_t length = 0;
    uint16_t param1 = 0;
    uint16_t param2 = 0;
    // Flag byte of the data block (0xFF for data saved by the ROM).
    uint8_t flag = 0xFF;
    // The payload: the data block without its flag and checksum. For a file with a header,
    // data.size() == length.
    std::vector<uint8_t> data;
    // 1-based numbers of the blocks in the tape (every TZX block counts), for messages.
    // headerBlock is 0 for a headerless file.
    std::size_t headerBlock = 0;
    std::size_t dataBlock = 0;
};

struct TapeReadResult {
    std::vector<TapeFile> files;
    // One line each, e.g. "block 3: header \"GAME\" has no matching data block; skipped".
    std::vector<std::string> warnings;
    // Set when reading stopped early; files then holds the files completed before that point.
    std::optional<std::string> error;

    bool ok() const { return !error.has_value(); }
};

// True when the bytes start with the TZX signature "ZXTape!" followed by 0x1A.
bool isTzx(std::span<const uint8_t> image);

// Reads a whole tape image; TZX when isTzx(), TAP otherwise.
//
// TZX: blocks 0x10 (standard speed), 0x11 (turbo) and 0x14 (pure data) carry data; every other
// block of the TZX 1.20 list (and the deprecated 0x16, 0x17, 0x34, 0x40) is skipped by its
// length; any other block ID is an error, as its length cannot be known. Non-data blocks
// between a header and its data (pauses, texts, groups) do not break the pairing.
TapeReadResult readTapeImage(std::span<const uint8_t> image);

// The tape name as printable text for messages: trailing spaces dropped, bytes outside
// 0x20-0x7E shown as '?'. Empty for a headerless file's blank name.
std::string tapeNameText(const std::array<uint8_t, 10>& name);

// "Program", "Number array", "Character array", "Bytes", "Headerless" or "Type 0xNN".
std::string tapeFileKindText(const TapeFile& file);

}  // namespace p3tool::formats
