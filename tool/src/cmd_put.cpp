// put, putbin and del: one host file into a +3DOS partition, one file out.
// storeFile is the one way a file gets written; putbas goes through it too.
#include "commands.h"
#include "cpm_writer.h"
#include "host_files.h"
#include "plus3_name.h"
#include "medium_access.h"
#include "text_util.h"
#include "tool_error.h"

namespace p3tool {

namespace {

std::array<uint8_t, 11> validName(const std::string& text)
{
    try {
        return formats::Plus3Name::parse(trim(text)).toDirectoryBytes();
    } catch (const formats::FormatError& e) {
        throw ToolError(e.what());
    }
}

// The browser's dropped-file form leaves an empty argument where the address
// would stand; it counts as no address.
void dropEmptyTail(Invocation& inv)
{
    while (inv.args.size() > 2 && trim(inv.args.back()).empty())
        inv.args.pop_back();
}

// The bytes put and putbin store, read from the host file while they are
// written: an optional head (a +3DOS header, new or with its load address
// changed) and the host file from skip on.
class HostSource : public ByteSource {
public:
    HostSource(HostFileReader& file, std::vector<uint8_t> head, uint64_t skip)
        : file_(file), head_(std::move(head)), skip_(skip)
    {
    }
    uint64_t size() const override { return head_.size() + file_.size() - skip_; }
    void read(uint64_t offset, uint8_t* out, size_t n) override
    {
        while (n > 0 && offset < head_.size()) {
            *out++ = head_[size_t(offset++)];
            --n;
        }
        if (n > 0)
            file_.read(offset - head_.size() + skip_, out, n);
    }

private:
    HostFileReader& file_;
    std::vector<uint8_t> head_;
    uint64_t skip_;
};

int storeHostFile(Invocation& inv, bool withHeader)
{
    const std::string form = withHeader ? "putbin <host file> <partition>:<name> [<address>]"
                                        : "put <host file> <partition>:<name>";
    dropEmptyTail(inv);
    inv.expectArgs(2, withHeader ? 3 : 2, form);
    const PartitionAndFile target = splitPartitionAndFile(inv.args[1]);
    std::optional<uint16_t> address;
    if (inv.args.size() == 3) {
        const auto v = parseDecimal(trim(inv.args[2]), 65535);
        if (!v)
            throw ToolError("load address \"" + inv.args[2] + "\" is not a whole number from 0 to 65535");
        address = uint16_t(*v);
    }
    FileToStore file;
    file.name = validName(target.file);
    HostFileReader host(inv.args[0], CpmWriter::kMaxBytes);
    std::vector<uint8_t> head;
    uint64_t skip = 0;
    if (withHeader) {
        // Only the first record decides: a header there is kept, else one
        // is made for the file's length.
        std::vector<uint8_t> first(size_t(std::min<uint64_t>(Plus3Header::kSize, host.size())));
        host.read(0, first.data(), first.size());
        if (Plus3Header::parse(first.data(), first.size())) {
            head = withPlus3Header(std::move(first), address, inv.args[0]);
            skip = Plus3Header::kSize;
        } else {
            if (host.size() > 0xFFFF)
                throw ToolError(inv.args[0] + " is too long for a +3DOS header (" + std::to_string(host.size()) +
                                " bytes; a header describes at most 65535)");
            const uint16_t length = uint16_t(host.size());
            const auto header =
                Plus3Header::forData(3, length, address ? *address : defaultLoadAddress(length), 0x8000).bytes();
            head.assign(header.begin(), header.end());
        }
    }
    HostSource source(host, std::move(head), skip);
    if (source.size() > CpmWriter::kMaxBytes)
        throw ToolError(inv.args[0] + " is too long for a +3DOS file (" + std::to_string(source.size()) +
                        " bytes with its header; at most " + std::to_string(CpmWriter::kMaxBytes) + ")");
    file.source = &source;

    storeFile(inv.medium, target.partition, file);
    return ExitOk;
}

}  // namespace

void storeFile(const std::string& medium, const std::string& partition, const FileToStore& file)
{
    WritableMedium w(medium);
    CpmWriter(w.plus3(partition).fs()).store(file);
}

std::vector<uint8_t> withPlus3Header(std::vector<uint8_t> bytes, std::optional<uint16_t> address,
                                     const std::string& path)
{
    if (auto header = Plus3Header::parse(bytes.data(), bytes.size())) {
        // Already headed: kept as it is, never given a second header; an
        // address given for a Bytes file becomes its load address.
        if (address && header->type == 3) {
            bytes[18] = uint8_t(*address);
            bytes[19] = uint8_t(*address >> 8);
            Plus3Header::fixChecksum(bytes.data());
        }
        return bytes;
    }
    if (bytes.size() > 0xFFFF)
        throw ToolError(path + " is too long for a +3DOS header (" + std::to_string(bytes.size()) +
                        " bytes; a header describes at most 65535)");
    const uint16_t length = uint16_t(bytes.size());
    const uint16_t start = address ? *address : defaultLoadAddress(length);
    const auto header = Plus3Header::forData(3, length, start, 0x8000).bytes();
    std::vector<uint8_t> headed(header.size() + bytes.size());
    std::copy(header.begin(), header.end(), headed.begin());
    std::copy(bytes.begin(), bytes.end(), headed.begin() + long(header.size()));
    return headed;
}

uint16_t defaultLoadAddress(uint16_t length) { return length == 6912 ? 16384 : 32768; }

int cmdPut(Invocation& inv, Output&) { return storeHostFile(inv, false); }

int cmdPutBin(Invocation& inv, Output&) { return storeHostFile(inv, true); }

int cmdDel(Invocation& inv, Output&)
{
    inv.expectArgs(1, 1, "del <partition>:<file>");
    const PartitionAndFile target = splitPartitionAndFile(inv.args[0]);
    WritableMedium w(inv.medium);
    Plus3Partition& p = w.plus3(target.partition);
    const auto files = p.fs().filesOfUser(0);
    const CpmFile* f = findFile(files, target.file);
    if (!f)
        throw ToolError("no file named \"" + target.file + "\" in partition \"" + p.name() + "\"");
    CpmWriter(p.fs()).remove(*f);
    return ExitOk;
}

}  // namespace p3tool
