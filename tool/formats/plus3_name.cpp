#include "plus3_name.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tape_image.h"

namespace p3tool::formats {

namespace {

constexpr std::size_t kNameLength = 8;
constexpr std::size_t kTypeLength = 3;

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = upper(c);
    return out;
}

// The text as it may be shown in a one-line message: bytes outside 0x20-0x7E as \xNN.
std::string printable(std::string_view text)
{
    std::string out;
    for (char c : text) {
        const auto b = uint8_t(c);
        if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", b);
            out += code;
        }
    }
    return out;
}

std::string characterText(char c)
{
    const auto b = uint8_t(c);
    if (b > 0x20 && b < 0x7F)
        return std::string("'") + c + "'";
    if (b == 0x20)
        return "a space";
    char code[24];
    std::snprintf(code, sizeof code, "the byte 0x%02X", b);
    return code;
}

[[noreturn]] void invalid(std::string_view text, const std::string& why)
{
    throw FormatError("invalid +3DOS name \"" + printable(text) + "\": " + why);
}

std::string trimmedPart(std::span<const uint8_t> bytes)
{
    std::string out;
    for (uint8_t b : bytes)
        out += char(b & 0x7F);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

}  // namespace

bool isPlus3NameCharacter(char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return c != 0 && std::strchr("!#$%&'-@^_{}~", c) != nullptr;
}

std::string Plus3Name::text() const
{
    return type.empty() ? name : name + "." + type;
}

std::array<uint8_t, 11> Plus3Name::toDirectoryBytes() const
{
    std::array<uint8_t, 11> bytes;
    bytes.fill(' ');
    for (std::size_t i = 0; i < name.size() && i < kNameLength; ++i)
        bytes[i] = uint8_t(name[i]) & 0x7F;
    for (std::size_t i = 0; i < type.size() && i < kTypeLength; ++i)
        bytes[kNameLength + i] = uint8_t(type[i]) & 0x7F;
    return bytes;
}

Plus3Name Plus3Name::fromDirectoryBytes(std::span<const uint8_t, 11> bytes)
{
    return Plus3Name{trimmedPart(bytes.first(kNameLength)),
                     trimmedPart(bytes.subspan(kNameLength, kTypeLength))};
}

Plus3Name Plus3Name::parse(std::string_view text)
{
    if (text.empty())
        invalid(text, "the name is empty");
    const std::size_t dot = text.find('.');
    if (dot != std::string_view::npos && text.find('.', dot + 1) != std::string_view::npos)
        invalid(text, "a +3DOS name has at most one dot");
    Plus3Name result;
    result.name = upper(text.substr(0, dot));
    if (dot != std::string_view::npos)
        result.type = upper(text.substr(dot + 1));
    if (result.name.empty())
        invalid(text, "the name before the dot is empty");
    for (const std::string* part : {&result.name, &result.type})
        for (char c : *part)
            if (!isPlus3NameCharacter(c))
                invalid(text, characterText(c) + " is not allowed in a +3DOS name");
    if (result.name.size() > kNameLength)
        invalid(text, "the name has more than 8 characters");
    if (result.type.size() > kTypeLength)
        invalid(text, "the type has more than 3 characters");
    return result;
}

std::string plus3TypeForTape(bool hasHeader, uint8_t type, uint16_t length, uint16_t param1)
{
    if (!hasHeader)
        return "DAT";
    switch (type) {
    case TapeProgram: return "BAS";
    case TapeNumberArray: return "NUM";
    case TapeCharacterArray: return "CHR";
    case TapeBytes: return (length == 6912 && param1 == 16384) ? "SCR" : "BIN";
    default: return "DAT";
    }
}

Plus3Name plus3NameFromTape(std::span<const uint8_t> tapeName, std::string_view type)
{
    std::size_t first = 0;
    std::size_t last = tapeName.size();
    while (first < last && tapeName[first] == ' ')
        ++first;
    while (last > first && tapeName[last - 1] == ' ')
        --last;
    // A tape name that already is a whole +3DOS name with a type ("RUN.BAS", as tapes made
    // from +3DOS files carry) keeps its own name and type, so such a file comes back under the
    // name it left with.
    const std::string_view trimmed(reinterpret_cast<const char*>(tapeName.data()) + first,
                                   last - first);
    if (trimmed.find('.') != std::string_view::npos) {
        try {
            Plus3Name own = Plus3Name::parse(trimmed);
            if (!own.type.empty())
                return own;
        } catch (const FormatError&) {
            // Not a valid name: mapped below like any other tape name.
        }
    }
    std::string name;
    for (std::size_t i = first; i < last && name.size() < kNameLength; ++i) {
        const char c = upper(char(tapeName[i]));
        name += isPlus3NameCharacter(c) ? c : '_';
    }
    if (name.empty())
        name = "UNNAMED";
    return Plus3Name{name, std::string(type.substr(0, kTypeLength))};
}

Plus3Name plus3NameForTapeFile(const TapeFile& file)
{
    return plus3NameFromTape(file.name,
                             plus3TypeForTape(file.hasHeader, file.type, file.length, file.param1));
}

UniqueNamer::UniqueNamer(const std::vector<Plus3Name>& taken)
{
    for (const Plus3Name& name : taken)
        take(name);
}

std::string UniqueNamer::key(const Plus3Name& name)
{
    return upper(name.name) + "." + upper(name.type);
}

void UniqueNamer::take(const Plus3Name& name)
{
    taken_.insert(key(name));
}

bool UniqueNamer::isTaken(const Plus3Name& name) const
{
    return taken_.count(key(name)) != 0;
}

Plus3Name UniqueNamer::unique(const Plus3Name& wanted)
{
    if (!isTaken(wanted)) {
        take(wanted);
        return wanted;
    }
    // Numbers below the last one handed out for this name are known to be taken: start there,
    // so a tape of many equal names does not cost quadratic time.
    unsigned& next = nextNumber_[key(wanted)];
    for (unsigned n = std::max(next, 1u); n < 10000000; ++n) {
        const std::string suffix = std::to_string(n);
        Plus3Name candidate{wanted.name.substr(0, kNameLength - suffix.size()) + suffix,
                            wanted.type};
        if (!isTaken(candidate)) {
            take(candidate);
            next = n + 1;
            return candidate;
        }
    }
    throw FormatError("no free variant of the name \"" + printable(wanted.text()) + "\"");
}

}  // namespace p3tool::formats
