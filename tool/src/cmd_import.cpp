// puttap and putdsk: every file of a tape image or of a +3 floppy image into
// a +3DOS partition, under names that are not taken yet.
#include "commands.h"
#include "cpm_writer.h"
#include "dsk_image.h"
#include "dsk_source.h"
#include "host_files.h"
#include "plus3_floppy.h"
#include "plus3_name.h"
#include "medium_access.h"
#include "tape_image.h"
#include "tool_error.h"

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

}  // namespace

int cmdPutTap(Invocation& inv, Output& out)
{
    inv.expectArgs(2, 2, "puttap <tape image> <partition>");
    const std::vector<uint8_t> image = readHostFile(inv.args[0], kMaxImageBytes);
    const formats::TapeReadResult tape = formats::readTapeImage(image);
    if (tape.files.empty() && tape.error)
        throw ToolError("tape image " + inv.args[0] + " is damaged: " + *tape.error);
    if (tape.files.empty())
        throw ToolError("tape image " + inv.args[0] + " holds no files");

    WritableMedium w(inv.medium);
    Plus3Partition& p = w.plus3(inv.args[1]);
    formats::UniqueNamer namer = namesTaken(p.fs());
    CpmWriter writer(p.fs());
    out.keepOnError = true;
    size_t stored = 0;
    for (const formats::TapeFile& t : tape.files) {
        const formats::Plus3Name name = namer.unique(formats::plus3NameForTapeFile(t));
        FileToStore file;
        file.name = name.toDirectoryBytes();
        if (t.hasHeader) {
            const auto header = Plus3Header::forData(t.type, t.length, t.param1, t.param2).bytes();
            file.bytes.assign(header.begin(), header.end());
            file.bytes.insert(file.bytes.end(), t.data.begin(), t.data.end());
        } else {
            file.bytes = t.data;
        }
        const std::string tapeName = t.hasHeader ? "\"" + formats::tapeNameText(t.name) + "\"" : "(no header)";
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
    inv.expectArgs(2, 2, "putdsk <floppy image> <partition>");
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

    WritableMedium w(inv.medium);
    Plus3Partition& p = w.plus3(inv.args[1]);
    formats::UniqueNamer namer = namesTaken(p.fs());
    CpmWriter writer(p.fs());
    out.keepOnError = true;
    size_t stored = 0;
    for (const CpmFile& f : files) {
        const std::string from = (f.user == 0 ? "" : std::to_string(f.user) + ":") + f.displayName();
        FileToStore file;
        try {
            // Every record as the floppy holds it; the exact length when its
            // directory records one.
            file.bytes = floppyFs.readFile(f, f.exactLength());
        } catch (const ToolError& e) {
            throw ToolError("cannot read " + from + " from " + inv.args[0] + " (" + std::to_string(stored) +
                            " file(s) stored before it): " + e.what());
        }
        const formats::Plus3Name name = namer.unique(writableName(f.name));
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
