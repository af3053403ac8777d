#pragma once

#include "device_list.h"

#include <QString>

#include <optional>

// The device service (udisks2) on the system D-Bus. Every call waits for
// its answer in a local event loop that leaves the user's input queued, so
// the window repaints while the desktop asks for authorization.
namespace udisks {

// Every object the service manages (ObjectManager.GetManagedObjects);
// nothing when there is no system bus or no service on it, with the reason
// in *why.
std::optional<ServiceObjects> Objects(QString* why = nullptr);

// A descriptor of the block device opened by the service
// (Block.OpenDevice, "r" or "rw"), which asks the desktop for
// authorization. Close-on-exec, numbered above the standard descriptors.
struct OpenedDevice
{
    int fd = -1;   // -1 when refused
    QString error; // the service's reason
};
OpenedDevice OpenDevice(const QString& blockPath, bool readWrite);

// Ejects the drive's medium (Drive.Eject, where the drive can) and then
// powers the drive off where it can be (Drive.PowerOff). The service's reason on failure, empty
// on success.
QString Eject(const DiskDevice& disk);

} // namespace udisks
