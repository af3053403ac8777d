#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QString>

#include <span>
#include <vector>

#include "text_reader.h"

// The records the disk tool writes with "-backend": comma-separated fields
// without quoting, one record per text line (read by TextLineReader).
//
//   showptable -backend:  line 1 GeometryLine, line 2 CountsLine,
//                         then one PartitionRecord per partition
//   dir <p> -backend:     line 1 a header (skipped), then one FileEntry per file
//   scan -backend:        line 1 the device count, then one DeviceRecord each
//
// Field texts are the line's bytes shown as Windows-1252 (AnsiToQString).

// Slot counts the readers use: the partition table, its report and the
// directory read 20 slots; the tree builder and the device picker 10.
inline constexpr int kWideSlots = 20;
inline constexpr int kNarrowSlots = 10;

// Splits line at every `delimiter` into fieldSlots, the first field into
// slot 0, and returns the number of the last slot written (the number of
// fields less one). Empty fields count like any other: "a,,b" gives three
// fields, a line ending in the delimiter ends with one more, empty field, and
// an empty line gives one empty field. Slots after the last one written keep
// what they held. A line with more fields than there are slots fills every
// slot and the extra fields are dropped (the last slot holds its own field
// only); the result is then fieldSlots.size() - 1. With no slots at all
// nothing is written and -1 is returned. Fields are never cut short.
int SplitFields(std::span<QByteArray> fieldSlots, QByteArrayView line, char delimiter);

// Reads a record file line by line into one slot array that starts empty and
// is kept for all lines, so a line with fewer fields than an earlier one
// leaves the earlier values in the higher slots.
class RecordReader
{
public:
    // device must be open and outlive the reader.
    RecordReader(QIODevice& device, int slotCount);

    // Reads and splits the next line; false at the end of the file.
    bool Next();

    // The bytes of the line last read.
    const QByteArray& Line() const { return line_; }
    // The slots after the last Next().
    std::span<const QByteArray> Fields() const { return slots_; }
    // One slot as text (Windows-1252).
    QString Field(int index) const;

private:
    TextLineReader lines_;
    std::vector<QByteArray> slots_;
    QByteArray line_;
};

// Partition-table line 1. The fields are 64-bit integers: a field that is no
// integer raises AppError "'<text>' is not a valid integer value".
struct GeometryLine
{
    enum Field { Cylinders = 0, Heads = 1, SectorsPerTrack = 2 };

    qint64 cylinders = 0;
    qint64 heads = 0;
    qint64 sectorsPerTrack = 0;

    static GeometryLine FromFields(std::span<const QByteArray> fields);

    // "C/H/S", e.g. "1024/16/63".
    QString GeometryText() const;
    // Cylinders × heads × sectors × 512, in 64-bit integers.
    qint64 DiskSizeBytes() const;
};

// Partition-table line 2: numbers of partition-table entries, 32-bit
// integers; the texts are kept as written for display.
struct CountsLine
{
    enum Field { PartitionsUsed = 0, PartitionsFree = 1 };

    QString partitionsUsedText;
    QString partitionsFreeText;
    qint32 partitionsUsed = 0;
    qint32 partitionsFree = 0;

    // Raises AppError when a field is no 32-bit integer.
    static CountsLine FromFields(std::span<const QByteArray> fields);
};

// One partition of the partition table. All fields are kept as text; the
// name is not trimmed (trailing blanks are part of the name).
struct PartitionRecord
{
    enum Field {
        Name = 0,
        TypeCode = 1,
        Attr = 2,
        BeginCylinder = 3,
        BeginHead = 4,
        EndCylinder = 5,
        EndHead = 6,
        LbaBegin = 7,
        LbaEnd = 8,
        SizeBytes = 9,
    };

    QString name;
    QString typeCode;
    QString attr;
    QString beginCylinder;
    QString beginHead;
    QString endCylinder;
    QString endHead;
    QString lbaBegin;
    QString lbaEnd;
    QString sizeBytes;

    // Reads slots 0..9; missing slots give empty texts.
    static PartitionRecord FromFields(std::span<const QByteArray> fields);

    // PartitionTypeName of the type code.
    QString TypeName() const;
    // SizeBytes as a 64-bit integer; raises AppError when it is none.
    qint64 SizeBytesValue() const;
};

// One file of a directory listing; all fields kept as text.
struct FileEntry
{
    enum Field {
        Name = 0,
        Size = 1,
        Attr = 2,
        VerMajor = 3,
        VerMinor = 4,
        HdSize = 5,
        TypeCode = 6,
        RealSize = 7,
        Start = 8,
        Vars = 9,
    };

    QString name;
    QString size;
    QString attr;
    QString verMajor;
    QString verMinor;
    QString hdSize;
    QString typeCode;
    QString realSize;
    QString start;
    QString vars;

    // Reads slots 0..9; missing slots give empty texts.
    static FileEntry FromFields(std::span<const QByteArray> fields);

    // The name without leading and trailing blanks and control characters:
    // the file name every later command uses.
    QString TrimmedName() const;
    // FileTypeName of the type code.
    QString TypeName() const;
};

// One device found by the scan; only its name is used.
struct DeviceRecord
{
    enum Field { DeviceName = 0 };

    QString deviceName;

    static DeviceRecord FromFields(std::span<const QByteArray> fields);
};

// The scan's first line: true when it says that no device was found (the
// whole line equals "0").
bool DeviceCountIsZero(QByteArrayView line);

// File type names: 0 "Program", 1 "Number Array", 2 "Character Array",
// 3 "Bytes", 255 "Headerless", otherwise "Unknown (" + the field's text + ")".
// The code is the field read as an integer, 0 when it is none (so "x" names
// a "Program").
QString FileTypeName(const QString& typeCodeField);

// Partition type names by code: 0 "Unused", 1 "System", 2 "Swap", 3 "+3DOS",
// 4 "CP/M", 5 "Boot", 16 "MS-DOS", 32 "UZI(X)", 48 "TR-DOS", 49 "SAMDOS",
// 50 "MB-02", 254 "Bad", 255 "Free", any other "Unknown".
QString PartitionTypeName(qint64 code);
// The same for a field read as an integer, 0 when it is none.
QString PartitionTypeName(const QString& typeCodeField);

// The file-type names, for the callers that compare the "Type" cell.
inline constexpr const char* kTypeProgram = "Program";
inline constexpr const char* kTypeNumberArray = "Number Array";
inline constexpr const char* kTypeCharacterArray = "Character Array";
inline constexpr const char* kTypeBytes = "Bytes";
inline constexpr const char* kTypeHeaderless = "Headerless";
