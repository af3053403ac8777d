#pragma once

// Writes ZX Spectrum tape images (.tap and .tzx) from files got out of a
// partition: one standard header block and one data block per file. Nothing is
// ever read back from a tape. A file's data passes through one 16000-byte
// buffer, its checksum being formed on the way, so no file is held whole in
// memory and the tape is written strictly front to back.

#include <QByteArray>
#include <QFile>
#include <QString>

enum class TapeFormat { Tap, Tzx };

// TZX when the upper-cased extension of the file name is "TZX", TAP for any
// other extension (or none).
TapeFormat TapeFormatOf(const QString& tapePath);

// The header's type byte from the file list's "Type" text: "Program" 0,
// "Number Array" 1, "Character Array" 2, anything else ("Bytes",
// "Headerless", "Unknown (…)") 3.
quint8 TapeTypeByte(const QString& typeText);

// The 10-byte name field: the first 10 characters of name, padded on the
// right with blanks. A character outside Latin-1 becomes "?".
QByteArray TapeNameField(const QString& name);

// One TAP block: the length word (flag + payload + checksum), the flag, the
// payload and the XOR checksum of flag and payload.
QByteArray TapeBlock(quint8 flag, const QByteArray& payload);

// The facts of one file as its list row shows them, the number cells already
// read back as integers (the caller passes GroupedToInt of each cell).
struct TapeFileFacts
{
    QString name;    // the row's caption, column 0 "File Name"
    QString type;    // column 5 "Type"
    qint64 length{}; // column 6 "Real Size"
    qint64 start{};  // column 7 "Start"
    qint64 vars{};   // column 8 "Vars"
};

// The 17 bytes after the header block's flag: type, name field, length,
// parameter 1 (start) and parameter 2 (vars), each number as the low 16 bits
// of the integer, little-endian.
QByteArray TapeHeaderPayload(const TapeFileFacts& facts);

// A data block's length word counts flag + data + checksum in 16 bits, so a
// file can hold at most this many data bytes.
inline constexpr qint64 kMaxTapeDataLength = 0xFFFF - 2;

// The pieces the data of a file is copied in.
inline constexpr qint64 kTapeCopyBufferSize = 16000;

// What became of one file handed to TapeWriter::append.
struct TapeAppendResult
{
    enum class Status {
        Written,   // header and data block written
        ShortFile, // the file holds fewer bytes than its "Real Size": nothing written
        TooLarge,  // "Real Size" is negative or does not fit one block: nothing written
    };
    Status status = Status::Written;
    qint64 fileBytes = 0;    // bytes the host file holds
    qint64 surplusBytes = 0; // bytes after "Real Size" that were left out (Written only)
    QString message;         // why nothing was written, for the user (empty when written)

    bool written() const { return status == Status::Written; }
};

// One open tape file. The constructor opens the file: an existing file is
// appended to, a new (or empty) one is created and, in TZX format, starts
// with the TZX signature. The destructor closes the file; blocks written
// before a failure stay in it.
class TapeWriter
{
public:
    // Throws TransferError when the file cannot be opened or created.
    explicit TapeWriter(const QString& tapePath);
    ~TapeWriter();
    TapeWriter(const TapeWriter&) = delete;
    TapeWriter& operator=(const TapeWriter&) = delete;

    TapeFormat format() const { return format_; }
    QString path() const { return tape_.fileName(); }
    // The folder of the tape file, with no trailing separator.
    QString folder() const;
    // True when the file did not exist or was empty, so the run began the tape.
    bool startedNewTape() const { return startedNew_; }

    // Appends a header block and a data block for one file whose bytes are in
    // the host file dataPath, starting at byte dataOffset (128 skips the +3DOS
    // header of a file as the disk tool gets it, so no cut copy is needed;
    // 0 reads from the first byte). The data block's
    // length is facts.length, the "Real Size": a file holding fewer bytes is
    // refused and one holding more gives only its first facts.length bytes, so
    // a block's length word always matches the bytes that follow it. Throws
    // TransferError on an I/O failure, after taking the tape back to where
    // this file's blocks began.
    [[nodiscard]] TapeAppendResult append(const TapeFileFacts& facts, const QString& dataPath,
                                          qint64 dataOffset = 0);

    // Closes the tape; throws TransferError if that fails.
    // Calling it again does nothing.
    void close();

private:
    void writeToTape(const char* data, qint64 size);
    void takeBackTo(qint64 size);

    QFile tape_;
    TapeFormat format_;
    bool startedNew_ = false;
};
