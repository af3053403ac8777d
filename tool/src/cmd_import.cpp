// puttap and putdsk: every file of a tape image or of a +3 floppy image into
// a +3DOS partition, under names that are not taken yet, or under the names
// the caller chose after listing them (--list, then --names).
#include "commands.h"
#include "cpm_writer.h"
#include "dsk_image.h"
#include "dsk_source.h"
#include "host_files.h"
#include "plus3_floppy.h"
#include "plus3_name.h"
#include "medium_access.h"
#include "tape_image.h"
#include "text_util.h"
#include "tool_error.h"

#include <optional>

namespace p3tool {

namespace {

constexpr uint64_t kMaxImageBytes = 64ull * 1024 * 1024;

// The names of user 0 that a new file must not take.
formats::UniqueNamer namesTaken(CpmFileSystem& fs)
{
    formats::UniqueNamer namer;
    for (const CpmFile& f : fs.filesOfUser(0))
        namer.take(formats::Plus3Name::fromDirectoryBytes(std::span<const uint8_t, 11>(f.name)));
    return namer;
}

// Stores one imported file; a failure names the file and says how many went in before it.
void storeImported(CpmWriter& writer, const FileToStore& file, const std::string& what, size_t stored)
{
    try {
        writer.store(file);
    } catch (const ToolError& e) {
        throw ToolError("cannot store " + what + " (" + std::to_string(stored) + " file(s) stored before it): " + e.what());
    }
}

// A name from a floppy's directory that this tool may write: upper case,
// characters a written name cannot hold replaced by "_".
formats::Plus3Name writableName(const std::array<uint8_t, 11>& name)
{
    std::string type;
    for (size_t i = 8; i < 11; ++i) {
        const char c = char(name[i] & 0x7F);
        if (c == ' ')
            continue;
        const char u = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        type += formats::isPlus3NameCharacter(u) ? u : '_';
    }
    std::array<uint8_t, 8> base{};
    for (size_t i = 0; i < 8; ++i)
        base[i] = name[i] & 0x7F;
    return formats::plus3NameFromTape(base, type);
}

// What the caller asked of an import besides its two arguments.
struct ImportChoices {
    // --list: print the name each file of the image asks for, one a line,
    // and store nothing (the medium is not opened).
    bool list = false;
    // --names A,B,,D: the name each file is stored under, in the image's
    // order; an empty one (or a missing one at the end) leaves that file
    // out. A file of that name is replaced, as put does (never a read-only
    // one). Without --names a taken name gets a number instead.
    bool haveNames = false;
    std::vector<formats::Plus3Name> names;
    std::vector<bool> leftOut;
};

ImportChoices takeImportChoices(Invocation& inv, const std::string& form)
{
    ImportChoices choices;
    choices.list = inv.takeFlag("--list");
    for (size_t i = 0; i < inv.args.size(); ++i) {
        if (inv.args[i] != "--names")
            continue;
        if (i + 1 >= inv.args.size() || choices.haveNames)
            throw UsageError("--names needs one list of names; usage: 3E.EXE <medium> " + form);
        choices.haveNames = true;
        // Commas never occur in a +3DOS name, so they separate the names.
        const std::string list = inv.args[i + 1];
        size_t start = 0;
        while (true) {
            const size_t comma = list.find(',', start);
            const std::string text = trim(list.substr(start, comma == std::string::npos ? std::string::npos
                                                                                          : comma - start));
            choices.leftOut.push_back(text.empty());
            try {
                choices.names.push_back(text.empty() ? formats::Plus3Name{} : formats::Plus3Name::parse(text));
            } catch (const formats::FormatError& e) {
                throw UsageError(std::string("--names: ") + e.what());
            }
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        inv.args.erase(inv.args.begin() + std::ptrdiff_t(i), inv.args.begin() + std::ptrdiff_t(i) + 2);
        --i;
    }
    if (choices.list && choices.haveNames)
        throw UsageError("--list and --names exclude each other; usage: 3E.EXE <medium> " + form);
    return choices;
}

// Checks the number of chosen names against the files of the image, before
// anything is written.
void checkNameCount(const ImportChoices& choices, size_t files)
{
    if (choices.haveNames && choices.names.size() > files)
        throw UsageError("--names gives " + std::to_string(choices.names.size()) + " names for an image of " +
                         std::to_string(files) + " file(s)");
}

// The name the chosen list gives file i; no value when the file is left out.
std::optional<formats::Plus3Name> chosenName(const ImportChoices& choices, size_t i)
{
    if (i >= choices.names.size() || choices.leftOut[i])
        return std::nullopt;
    return choices.names[i];
}

}  // namespace

int cmdPutTap(Invocation& inv, Output& out)
{
    const std::string form = "puttap <tape image> <partition> [--list | --names <name>,<name>,...]";
    const ImportChoices choices = takeImportChoices(inv, form);
    inv.expectArgs(2, 2, form);
    const std::vector<uint8_t> image = readHostFile(inv.args[0], kMaxImageBytes);
    const formats::TapeReadResult tape = formats::readTapeImage(image);
    if (tape.files.empty() && tape.error)
        throw ToolError("tape image " + inv.args[0] + " is damaged: " + *tape.error);
    if (tape.files.empty())
        throw ToolError("tape image " + inv.args[0] + " holds no files");
    if (choices.list) {
        // The files read before a damaged block; storing them reports the damage.
        for (const formats::TapeFile& t : tape.files)
            out.line(formats::plus3NameForTapeFile(t).text());
        return ExitOk;
    }
    checkNameCount(choices, tape.files.size());

    WritableMedium w(inv.medium);
    Plus3Partition& p = w.plus3(inv.args[1]);
    formats::UniqueNamer namer = namesTaken(p.fs());
    CpmWriter writer(p.fs());
    out.keepOnError = true;
    size_t stored = 0;
    for (size_t i = 0; i < tape.files.size(); ++i) {
        const formats::TapeFile& t = tape.files[i];
        const std::string tapeName = t.hasHeader ? "\"" + formats::tapeNameText(t.name) + "\"" : "(no header)";
        if (choices.haveNames && !chosenName(choices, i)) {
            out.line(formats::tapeFileKindText(t) + " " + tapeName + " left out");
            continue;
        }
        const formats::Plus3Name name =
            choices.haveNames ? *chosenName(choices, i) : namer.unique(formats::plus3NameForTapeFile(t));
        FileToStore file;
        file.name = name.toDirectoryBytes();
        if (t.hasHeader) {
            const auto header = Plus3Header::forData(t.type, t.length, t.param1, t.param2).bytes();
            file.bytes.assign(header.begin(), header.end());
            file.bytes.insert(file.bytes.end(), t.data.begin(), t.data.end());
        } else {
            file.bytes = t.data;
        }
        storeImported(writer, file, "tape block " + std::to_string(t.dataBlock) + " " + tapeName, stored);
        out.line(formats::tapeFileKindText(t) + " " + tapeName + " -> " + name.text());
        ++stored;
    }
    for (const std::string& w : tape.warnings)
        out.line("warning: " + w);
    if (tape.error)
        throw ToolError("tape image " + inv.args[0] + " is damaged after its first " + std::to_string(stored) +
                        " file(s), which are stored: " + *tape.error);
    return ExitOk;
}

int cmdPutDsk(Invocation& inv, Output& out)
{
    const std::string form = "putdsk <floppy image> <partition> [--list | --names <name>,<name>,...]";
    const ImportChoices choices = takeImportChoices(inv, form);
    inv.expectArgs(2, 2, form);
    std::vector<uint8_t> bytes = readHostFile(inv.args[0], kMaxImageBytes);
    std::unique_ptr<formats::Plus3Floppy> floppy;
    try {
        floppy = std::make_unique<formats::Plus3Floppy>(formats::DskImage(std::move(bytes)));
    } catch (const formats::FormatError& e) {
        throw ToolError("floppy image " + inv.args[0] + " cannot be read: " + e.what());
    }
    DskSource source(*floppy, "floppy image " + inv.args[0]);
    CpmFileSystem floppyFs(source, source.params());
    const std::vector<CpmFile> files = floppyFs.files();
    if (choices.list) {
        for (const CpmFile& f : files)
            out.line(writableName(f.name).text());
        return ExitOk;
    }
    checkNameCount(choices, files.size());

    WritableMedium w(inv.medium);
    Plus3Partition& p = w.plus3(inv.args[1]);
    formats::UniqueNamer namer = namesTaken(p.fs());
    CpmWriter writer(p.fs());
    out.keepOnError = true;
    size_t stored = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const CpmFile& f = files[i];
        const std::string from = (f.user == 0 ? "" : std::to_string(f.user) + ":") + f.displayName();
        if (choices.haveNames && !chosenName(choices, i)) {
            out.line(from + " left out");
            continue;
        }
        FileToStore file;
        try {
            // Every record as the floppy holds it; the exact length when its
            // directory records one.
            file.bytes = floppyFs.readFile(f, f.exactLength());
        } catch (const ToolError& e) {
            throw ToolError("cannot read " + from + " from " + inv.args[0] + " (" + std::to_string(stored) +
                            " file(s) stored before it): " + e.what());
        }
        const formats::Plus3Name name =
            choices.haveNames ? *chosenName(choices, i) : namer.unique(writableName(f.name));
        file.name = name.toDirectoryBytes();
        file.readOnly = f.readOnly;
        file.system = f.system;
        file.archived = f.archived;
        file.userAttributes = f.userAttributes;
        storeImported(writer, file, from, stored);
        out.line(from + " -> " + name.text());
        ++stored;
    }
    return ExitOk;
}

}  // namespace p3tool
