#include "held_device.h"

#include "app_error.h"
#include "udisks_client.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool PermissionDenied(const QString& device)
{
    int error = 0;
    ProbeReadability(device, false, &error);
    return error == EACCES || error == EPERM;
}

} // namespace

HeldDevice::HeldDevice(QString device, QString blockPath, int fd, bool writable)
    : m_device(std::move(device)), m_blockPath(std::move(blockPath)), m_fd(fd), m_writable(writable)
{
}

HeldDevice::~HeldDevice()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::shared_ptr<HeldDevice> HeldDevice::Open(const QString& device, const QString& blockPath, bool readWrite)
{
    const udisks::OpenedDevice opened = udisks::OpenDevice(blockPath, readWrite);
    if (opened.fd < 0)
        throw AppError(QStringLiteral("%1 could not be opened: %2").arg(device, opened.error));
    return std::shared_ptr<HeldDevice>(new HeldDevice(device, blockPath, opened.fd, readWrite));
}

QString HeldDevice::ServiceBlockFor(const QString& device)
{
    if (!PermissionDenied(device))
        return QString();
    const auto objects = udisks::Objects();
    if (!objects)
        return QString();
    const auto disk = DiskNamed(*objects, device);
    return disk ? disk->blockPath : QString();
}

int HeldDevice::descriptorForRun(bool writes)
{
    if (writes && !m_writable) {
        const udisks::OpenedDevice opened = udisks::OpenDevice(m_blockPath, true);
        if (opened.fd < 0) {
            throw AppError(QStringLiteral("%1 is open for reading only; it could not be opened for "
                                          "writing: %2")
                               .arg(m_device, opened.error));
        }
        ::close(m_fd);
        m_fd = opened.fd;
        m_writable = true;
    }
    return m_fd;
}
