#include "tape_image.h"

#include <algorithm>
#include <cstdio>

namespace p3tool::formats {

namespace {

constexpr std::size_t kTzxHeaderSize = 10;
constexpr std::size_t kHeaderBlockSize = 19;  // flag + 17 header bytes + checksum

// One data-carrying block as found in the image: flag, payload and checksum.
struct RawBlock {
    std::size_t number = 0;  // 1-based position among all blocks of the tape
    std::span<const uint8_t> bytes;
};

struct RawBlocks {
    std::vector<RawBlock> blocks;
    std::vector<std::string> warnings;
    std::optional<std::string> error;
};

unsigned readLe(std::span<const uint8_t> bytes, std::size_t offset, std::size_t size)
{
    unsigned value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= unsigned(bytes[offset + i]) << (8 * i);
    return value;
}

std::string hex(std::size_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%zX", value);
    return text;
}

std::string blockAt(std::size_t number, std::size_t offset)
{
    return "block " + std::to_string(number) + " at offset " + hex(offset);
}

std::string truncatedError(std::size_t number, std::size_t offset, uint64_t needed,
                           std::size_t remaining)
{
    return "tape " + blockAt(number, offset) + " is truncated: it needs " +
           std::to_string(needed) + " bytes, only " + std::to_string(remaining) + " remain";
}

RawBlocks scanTap(std::span<const uint8_t> image)
{
    RawBlocks out;
    std::size_t offset = 0;
    std::size_t number = 0;
    while (offset < image.size()) {
        ++number;
        const std::size_t remaining = image.size() - offset;
        if (remaining < 2) {
            out.error = truncatedError(number, offset, 2, remaining);
            break;
        }
        const std::size_t length = readLe(image, offset, 2);
        if (remaining - 2 < length) {
            out.error = truncatedError(number, offset, 2 + length, remaining);
            break;
        }
        out.blocks.push_back({number, image.subspan(offset + 2, length)});
        offset += 2 + length;
    }
    return out;
}

// How to find the length of a TZX block body: `fixed` bytes, plus `multiplier` times the
// little-endian number of `fieldSize` bytes at `fieldOffset` (fieldSize 0: no variable part).
// dataOffset > 0 marks a block whose variable part is tape data.
struct TzxBlockShape {
    std::size_t fixed;
    std::size_t fieldOffset;
    std::size_t fieldSize;
    std::size_t multiplier;
    std::size_t dataOffset;
};

std::optional<TzxBlockShape> tzxBlockShape(uint8_t id)
{
    switch (id) {
    case 0x10: return TzxBlockShape{4, 2, 2, 1, 4};
    case 0x11: return TzxBlockShape{18, 0x0F, 3, 1, 18};
    case 0x12: return TzxBlockShape{4, 0, 0, 0, 0};
    case 0x13: return TzxBlockShape{1, 0, 1, 2, 0};
    case 0x14: return TzxBlockShape{10, 7, 3, 1, 10};
    case 0x15: return TzxBlockShape{8, 5, 3, 1, 0};
    case 0x16:
    case 0x17:
    case 0x18:
    case 0x19: return TzxBlockShape{4, 0, 4, 1, 0};
    case 0x20:
    case 0x23:
    case 0x24: return TzxBlockShape{2, 0, 0, 0, 0};
    case 0x21: return TzxBlockShape{1, 0, 1, 1, 0};
    case 0x22:
    case 0x25:
    case 0x27: return TzxBlockShape{0, 0, 0, 0, 0};
    case 0x26: return TzxBlockShape{2, 0, 2, 2, 0};
    case 0x28:
    case 0x32: return TzxBlockShape{2, 0, 2, 1, 0};
    case 0x2A:
    case 0x2B: return TzxBlockShape{4, 0, 4, 1, 0};
    case 0x30: return TzxBlockShape{1, 0, 1, 1, 0};
    case 0x31: return TzxBlockShape{2, 1, 1, 1, 0};
    case 0x33: return TzxBlockShape{1, 0, 1, 3, 0};
    case 0x34: return TzxBlockShape{8, 0, 0, 0, 0};
    case 0x35: return TzxBlockShape{20, 0x10, 4, 1, 0};
    case 0x40: return TzxBlockShape{4, 1, 3, 1, 0};
    case 0x5A: return TzxBlockShape{9, 0, 0, 0, 0};
    default: return std::nullopt;
    }
}

RawBlocks scanTzx(std::span<const uint8_t> image)
{
    RawBlocks out;
    if (image.size() < kTzxHeaderSize) {
        out.error = "the TZX header is truncated: it needs 10 bytes, only " +
                    std::to_string(image.size()) + " remain";
        return out;
    }
    if (image[8] != 1) {
        out.warnings.push_back("TZX version " + std::to_string(image[8]) + "." +
                               std::to_string(image[9]) + " is not 1.x; read as 1.20");
    }
    std::size_t offset = kTzxHeaderSize;
    std::size_t number = 0;
    while (offset < image.size()) {
        ++number;
        const uint8_t id = image[offset];
        const auto shape = tzxBlockShape(id);
        if (!shape) {
            char text[8];
            std::snprintf(text, sizeof text, "0x%02X", id);
            out.error = "tape " + blockAt(number, offset) + " has the unknown TZX block ID " +
                        text + "; its length cannot be known";
            break;
        }
        const std::size_t bodyStart = offset + 1;
        const std::size_t remaining = image.size() - bodyStart;
        if (remaining < shape->fixed) {
            out.error = truncatedError(number, offset, 1 + shape->fixed, remaining + 1);
            break;
        }
        uint64_t variable = 0;
        if (shape->fieldSize > 0)
            variable = uint64_t(readLe(image, bodyStart + shape->fieldOffset, shape->fieldSize)) *
                       shape->multiplier;
        const uint64_t bodySize = shape->fixed + variable;
        if (bodySize > remaining) {
            out.error = truncatedError(number, offset, 1 + bodySize, remaining + 1);
            break;
        }
        if (shape->dataOffset > 0 && variable > 0) {
            out.blocks.push_back(
                {number, image.subspan(bodyStart + shape->dataOffset, std::size_t(variable))});
        }
        offset = bodyStart + std::size_t(bodySize);
    }
    return out;
}

bool checksumMatches(std::span<const uint8_t> block)
{
    uint8_t x = 0;
    for (uint8_t b : block)
        x ^= b;
    return x == 0;
}

std::string quotedName(const TapeFile& file)
{
    return "\"" + tapeNameText(file.name) + "\"";
}

std::string describeHeader(const TapeFile& header)
{
    return "header of " + quotedName(header) + " (" + tapeFileKindText(header) + ", " +
           std::to_string(header.length) + " bytes)";
}

TapeFile headerFrom(const RawBlock& block)
{
    TapeFile file;
    const auto b = block.bytes;
    file.hasHeader = true;
    file.type = b[1];
    std::copy(b.begin() + 2, b.begin() + 12, file.name.begin());
    file.length = uint16_t(readLe(b, 12, 2));
    file.param1 = uint16_t(readLe(b, 14, 2));
    file.param2 = uint16_t(readLe(b, 16, 2));
    file.headerBlock = block.number;
    return file;
}

}  // namespace

bool isTzx(std::span<const uint8_t> image)
{
    static constexpr uint8_t signature[8] = {'Z', 'X', 'T', 'a', 'p', 'e', '!', 0x1A};
    return image.size() >= sizeof signature &&
           std::equal(std::begin(signature), std::end(signature), image.begin());
}

TapeReadResult readTapeImage(std::span<const uint8_t> image)
{
    RawBlocks raw = isTzx(image) ? scanTzx(image) : scanTap(image);
    TapeReadResult result;
    result.warnings = std::move(raw.warnings);
    result.error = std::move(raw.error);

    std::optional<TapeFile> pending;  // a header waiting for its data block
    for (const RawBlock& block : raw.blocks) {
        const std::string where = "block " + std::to_string(block.number) + ": ";
        if (block.bytes.size() < 2) {
            result.warnings.push_back(where + "too short to hold data (" +
                                      std::to_string(block.bytes.size()) + " bytes); skipped");
            continue;
        }
        const bool checksumOk = checksumMatches(block.bytes);
        const uint8_t flag = block.bytes[0];
        if (flag == 0x00 && block.bytes.size() == kHeaderBlockSize) {
            if (pending)
                result.warnings.push_back("block " + std::to_string(pending->headerBlock) + ": " +
                                          describeHeader(*pending) +
                                          " has no matching data block; skipped");
            pending = headerFrom(block);
            if (!checksumOk)
                result.warnings.push_back(where + "checksum mismatch in the " +
                                          describeHeader(*pending) + "; the header is used");
            continue;
        }
        const auto payload = block.bytes.subspan(1, block.bytes.size() - 2);
        TapeFile file;
        if (pending && payload.size() == pending->length) {
            file = std::move(*pending);
        } else {
            if (pending)
                result.warnings.push_back("block " + std::to_string(pending->headerBlock) + ": " +
                                          describeHeader(*pending) +
                                          " has no matching data block; skipped");
            file.name.fill(' ');
            file.length = uint16_t(std::min<std::size_t>(payload.size(), 0xFFFF));
        }
        pending.reset();
        file.flag = flag;
        file.data.assign(payload.begin(), payload.end());
        file.dataBlock = block.number;
        if (!checksumOk) {
            const std::string what =
                file.hasHeader ? "the data of " + quotedName(file)
                               : "a headerless block of " + std::to_string(payload.size()) +
                                     " bytes";
            result.warnings.push_back(where + "checksum mismatch in " + what +
                                      "; the data is kept");
        }
        result.files.push_back(std::move(file));
    }
    if (pending) {
        if (result.error)
            *result.error += " (while reading the data of " + quotedName(*pending) + ")";
        else
            result.warnings.push_back("block " + std::to_string(pending->headerBlock) + ": " +
                                      describeHeader(*pending) +
                                      " has no matching data block; skipped");
    }
    return result;
}

std::string tapeNameText(const std::array<uint8_t, 10>& name)
{
    std::string text;
    for (uint8_t c : name)
        text += (c >= 0x20 && c < 0x7F) ? char(c) : '?';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string tapeFileKindText(const TapeFile& file)
{
    if (!file.hasHeader)
        return "Headerless";
    switch (file.type) {
    case TapeProgram: return "Program";
    case TapeNumberArray: return "Number array";
    case TapeCharacterArray: return "Character array";
    case TapeBytes: return "Bytes";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "Type 0x%02X", file.type);
        return text;
    }
    }
}

}  // namespace p3tool::formats
