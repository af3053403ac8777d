#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace p3tool {

// The bytes behind a medium: an image file, a whole-disk block device, or a
// buffer in memory. Reads and writes never reach past size(): a request that
// would is refused with an IoError naming the medium.
class Storage {
public:
    virtual ~Storage() = default;

    const std::string& name() const { return name_; }
    virtual uint64_t size() const = 0;
    virtual bool writable() const = 0;

    void read(uint64_t offset, void* buffer, size_t length);
    // Every write passes the fault-injection point first (see WriteFaults).
    void write(uint64_t offset, const void* buffer, size_t length);
    // A write barrier: the writes so far reach the medium before any later
    // one. Needed where the medium itself can be cut off (a card pulled out);
    // an image file's writes reach every later reader in the order they were
    // issued, so FileStorage syncs block devices only.
    virtual void sync() = 0;

protected:
    explicit Storage(std::string name) : name_(std::move(name)) {}
    virtual void doRead(uint64_t offset, void* buffer, size_t length) = 0;
    virtual void doWrite(uint64_t offset, const void* buffer, size_t length) = 0;

private:
    std::string name_;
};

// The advisory lock (flock) a command holds on an image or device for as
// long as it has it open: writers hold it exclusively, readers shared, so a
// reader never sees a write half done and two writers never interleave.
// Taken right after opening, before the first byte is read.
enum class MediumLock {
    None,       // scan: looks at every device, never waits for one
    Shared,     // commands that only read
    Exclusive,  // commands that write
};

// How long a command waits for a lock held by another program.
constexpr int kLockWaitMilliseconds = 5000;

// An image file or a block device, reached with pread/pwrite.
//
// A block device written to is flushed when its storage closes (fsync and
// the device's own cache, see flushBlockDevice), at the end of every command
// that wrote, failed or not; a destructor cannot throw, so a failed flush is
// kept for takeDeviceFlushFailure().
class FileStorage : public Storage {
public:
    // Opens an existing image or device and takes the lock, waiting up to
    // kLockWaitMilliseconds; then fails with "medium is busy". A device
    // opened for writing is refused while it or one of its partitions is
    // mounted (the message names the mount point), and opened exclusively.
    // /dev/fd/N uses the open descriptor N instead (see inheritedDescriptor):
    // an image or a device by what it is, refused for writing when opened
    // read-only, locked like any other medium.
    static std::unique_ptr<FileStorage> open(const std::string& path, bool forWriting,
                                             MediumLock lock = MediumLock::None);
    // Creates a new image file of the given size (sparse). An existing file is
    // never replaced.
    static std::unique_ptr<FileStorage> create(const std::string& path, uint64_t size);
    ~FileStorage() override;

    uint64_t size() const override { return size_; }
    bool writable() const override { return writable_; }
    bool isBlockDevice() const { return blockDevice_; }
    void sync() override;

protected:
    void doRead(uint64_t offset, void* buffer, size_t length) override;
    void doWrite(uint64_t offset, const void* buffer, size_t length) override;

private:
    FileStorage(std::string path, int fd, uint64_t size, bool writable, bool blockDevice);
    static std::unique_ptr<FileStorage> adopt(int inherited, const std::string& path, bool forWriting,
                                              MediumLock lock);
    int fd_;
    uint64_t size_;
    bool writable_;
    bool blockDevice_;
    bool written_ = false;
    bool borrowed_ = false;  // a descriptor passed in as /dev/fd/N
};

// The failure of the last flush of a written block device, if any ("cannot
// flush /dev/sdb: ..."), cleared by the call. Empty when every flush worked.
std::string takeDeviceFlushFailure();

// A medium held in memory (fuzzing, tests of the layers above).
class MemoryStorage : public Storage {
public:
    explicit MemoryStorage(std::vector<uint8_t> bytes, std::string name = "(memory)");
    uint64_t size() const override { return bytes_.size(); }
    bool writable() const override { return true; }
    void sync() override {}
    const std::vector<uint8_t>& bytes() const { return bytes_; }

protected:
    void doRead(uint64_t offset, void* buffer, size_t length) override;
    void doWrite(uint64_t offset, const void* buffer, size_t length) override;

private:
    std::vector<uint8_t> bytes_;
};

// Fault injection for tests: simulates a medium that stops accepting writes
// part way through a command. After failAfter(n), the next n writes succeed
// and every later one fails with an IoError, until disarm().
namespace WriteFaults {
void failAfter(uint64_t successfulWrites);
void disarm();
uint64_t writesSeen();  // writes attempted since the last failAfter/disarm
}  // namespace WriteFaults

}  // namespace p3tool
