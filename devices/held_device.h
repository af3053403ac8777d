#pragma once

#include "medium_descriptor.h"

#include <QString>

#include <memory>

// A device the user may not open directly, held open through the device
// service. The first descriptor is asked for reading only; the first run of
// a command that writes exchanges it for a read-write one (a second
// authorization), which is then kept for every later run.
class HeldDevice : public MediumDescriptor
{
public:
    ~HeldDevice() override;
    HeldDevice(const HeldDevice&) = delete;
    HeldDevice& operator=(const HeldDevice&) = delete;

    // Asks the service to open `device` (its block object `blockPath`).
    // Raises AppError with the service's reason when it refuses.
    static std::shared_ptr<HeldDevice> Open(const QString& device, const QString& blockPath,
                                            bool readWrite);

    // The service's block object of `device` when the user cannot open the
    // device directly (permission denied) and the service knows it; empty
    // otherwise: then the device is opened directly as always, and the
    // tool says what stands in the way.
    static QString ServiceBlockFor(const QString& device);

    const QString& device() const { return m_device; }
    bool writable() const { return m_writable; }
    int descriptor() const { return m_fd; }

    int descriptorForRun(bool writes) override;

private:
    HeldDevice(QString device, QString blockPath, int fd, bool writable);

    QString m_device;
    QString m_blockPath;
    int m_fd;
    bool m_writable;
};
