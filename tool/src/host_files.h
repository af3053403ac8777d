#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace p3tool {

// The folder a get writes into: the argument with its trailing separators
// removed; ToolError unless it names an existing folder.
std::string existingFolder(const std::string& arg);

// The name with blanks around it removed; ToolError when it could leave the
// folder (a separator, "." or "..") or is empty.
std::string trimmedHostName(const std::string& name);

// A host file written piece by piece that appears under its name only
// when it is complete, replacing a file (or a symbolic link, never
// followed) of that name. The bytes go into an unnamed temporary file in
// the folder (O_TMPFILE) that is linked in at the end, so a get killed at
// any point leaves nothing in the folder. Where the folder's file system
// has no unnamed files, a temporary named .3e-get-<pid>-<n> is used, and
// those left by programs no longer running are removed first.
class HostFileWriter {
public:
    HostFileWriter(const std::string& folder, const std::string& name);
    ~HostFileWriter();  // removes the temporary unless commit() succeeded
    HostFileWriter(const HostFileWriter&) = delete;
    HostFileWriter& operator=(const HostFileWriter&) = delete;

    void write(const uint8_t* bytes, size_t length);
    // Puts the file in place under its name.
    void commit();

private:
    std::string folder_, target_, temp_;  // temp_ empty while the file is unnamed
    int fd_ = -1;
};

// Writes folder/name with these bytes through HostFileWriter.
void writeHostFileReplacing(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes);

// A host file read a piece at a time (put of a file of any length).
class HostFileReader {
public:
    // ToolError naming the file when it cannot be opened, is not a regular
    // file or is longer than maxBytes.
    HostFileReader(const std::string& path, uint64_t maxBytes);
    ~HostFileReader();
    HostFileReader(const HostFileReader&) = delete;
    HostFileReader& operator=(const HostFileReader&) = delete;
    uint64_t size() const { return size_; }
    // Exactly n bytes from offset; ToolError when the file is shorter now.
    void read(uint64_t offset, uint8_t* out, size_t n);

private:
    std::string path_;
    int fd_ = -1;
    uint64_t size_ = 0;
};

// The whole of a host file; ToolError naming it when it cannot be read.
// Files longer than maxBytes are refused.
std::vector<uint8_t> readHostFile(const std::string& path, uint64_t maxBytes);

}  // namespace p3tool
