#pragma once

#include <QString>

// A medium this program holds open itself and hands to the disk tool as an
// inherited descriptor. A device the user may not open directly is opened
// by the device service (devices/), which asks the desktop for
// authorization; the tool then gets that descriptor at every run as
// standard descriptor 3 and is told the medium "/dev/fd/3", while the window
// keeps showing the device's own path.
class MediumDescriptor
{
public:
    virtual ~MediumDescriptor() = default;

    // The descriptor for one run of the tool; `writes` when the run changes
    // the medium, in which case a descriptor open for reading only is
    // exchanged for a read-write one first. Raises AppError with the reason
    // when no such descriptor can be had (the user refused, the service is
    // gone).
    virtual int descriptorForRun(bool writes) = 0;
};

// The medium name the tool is given for a medium passed as a descriptor.
inline QString PassedMediumName()
{
    return QStringLiteral("/dev/fd/3");
}

// The descriptor number the tool finds it under.
constexpr int kPassedMediumFd = 3;

// True for the tool's commands that change the medium they are given
// (put, del, newpart, ...); the verb is the word after the medium.
bool ToolVerbWrites(const QString& verb);
