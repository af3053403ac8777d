#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

// Reading the bytes a formatter shows from the local copy of a +3DOS file.
//
// The local copy is the file as the disk tool's `get` writes it: a 128-byte
// +3DOS header followed by the data, except for files of type "Headerless",
// whose data starts at byte 0.

// Size of the +3DOS header in front of the data of a local copy.
inline constexpr int kPlus3DosHeaderSize = 128;

// The most data bytes a formatter renders: a 64K file (65536 bytes) is shown
// whole, so byte counts are carried as 32-bit values.
inline constexpr quint32 kMaxViewBytes = 65536;

// The type name (the file list's "Type" text) of a file without header.
inline constexpr char kHeaderlessTypeName[] = "Headerless";

// A failure to read the local copy. what() is the message for the user:
// "File not found", "Read beyond end of file", "I/O error <errno>", or
// "File too big (>64K)." for a byte count above kMaxViewBytes.
class FormatterError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// True when a file of this type name carries the 128-byte header. Type names
// are compared exactly, case-sensitively.
bool HasPlus3DosHeader(const QString& typeName);

// Opens `path`, skips the 128-byte header when `skipHeader` is set, and reads
// exactly `count` bytes in one block. Throws FormatterError when the file
// cannot be opened or read, or holds fewer bytes than header plus count.
QByteArray ReadViewData(const QString& path, bool skipHeader, quint32 count);
