#pragma once

// Reads a tape image back with the independent checker tzxlist
// (fuse-emulator-utils), so tests judge our tapes by another program's reading.

#include <QByteArray>
#include <QList>
#include <QString>

struct ListedBlock
{
    int type = -1;   // TZX block ID as tzxlist reports it (0x10 for TAP blocks)
    int length = -1; // "Block length": flag + payload + checksum
    bool checksumPass = false;
    QByteArray name; // the 10-byte name of a header block, empty otherwise
};

struct TapeListing
{
    bool accepted = false; // tzxlist ran, exited with 0 and reported no error
    QString text;          // what it printed, for failure messages
    QList<ListedBlock> blocks;
};

TapeListing ListTape(const QString& path);
