#include "udisks_client.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>
#include <QEventLoop>

#include <fcntl.h>

using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;
Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

namespace udisks {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");

constexpr int kListTimeoutMs = 10 * 1000;
// The user may take a while to answer the authorization prompt.
constexpr int kAuthorizedTimeoutMs = 5 * 60 * 1000;
constexpr int kEjectTimeoutMs = 60 * 1000;

void RegisterTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<InterfaceProperties>();
        qDBusRegisterMetaType<ManagedObjects>();
        return true;
    }();
    (void)registered;
}

// Sends a call and waits for the answer; the user's input stays queued.
QDBusMessage Call(QDBusMessage message, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
                                         QStringLiteral("no system bus"));
    message.setInteractiveAuthorizationAllowed(true);
    QDBusPendingCall pending = bus.asyncCall(message, timeoutMs);
    if (!pending.isFinished()) {
        QEventLoop loop;
        QDBusPendingCallWatcher watcher(pending);
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return pending.reply();
}

QDBusMessage MethodCall(const QString& path, const QString& interface, const QString& method)
{
    return QDBusMessage::createMethodCall(kService, path, interface, method);
}

} // namespace

std::optional<ServiceObjects> Objects(QString* why)
{
    RegisterTypes();
    const QDBusMessage reply =
        Call(MethodCall(kRoot, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                        QStringLiteral("GetManagedObjects")),
             kListTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (why)
            *why = reply.errorMessage();
        return std::nullopt;
    }
    const ManagedObjects managed = qdbus_cast<ManagedObjects>(reply.arguments().first());
    ServiceObjects objects;
    for (auto it = managed.cbegin(); it != managed.cend(); ++it)
        objects.insert(it.key().path(), it.value());
    return objects;
}

OpenedDevice OpenDevice(const QString& blockPath, bool readWrite)
{
    QDBusMessage call = MethodCall(blockPath, QLatin1String(kBlockInterface), QStringLiteral("OpenDevice"));
    call << (readWrite ? QStringLiteral("rw") : QStringLiteral("r")) << QVariantMap();
    const QDBusMessage reply = Call(call, kAuthorizedTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {-1, reply.errorMessage().isEmpty() ? QStringLiteral("no answer") : reply.errorMessage()};
    const auto descriptor = qdbus_cast<QDBusUnixFileDescriptor>(reply.arguments().first());
    if (!descriptor.isValid())
        return {-1, QStringLiteral("no descriptor in the answer")};
    // Our own copy, clear of the standard descriptors and of 3, where the
    // tool finds the medium.
    const int fd = ::fcntl(descriptor.fileDescriptor(), F_DUPFD_CLOEXEC, 10);
    if (fd < 0)
        return {-1, QStringLiteral("no descriptor left")};
    return {fd, QString()};
}

QString Eject(const DiskDevice& disk)
{
    if (!disk.ejectable && !disk.canPowerOff)
        return QStringLiteral("the drive can neither eject its medium nor power off");
    QDBusMessage reply;
    if (disk.ejectable) {
        QDBusMessage eject = MethodCall(disk.drivePath, QLatin1String(kDriveInterface), QStringLiteral("Eject"));
        eject << QVariantMap();
        reply = Call(eject, kEjectTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return reply.errorMessage();
    }
    if (!disk.canPowerOff)
        return QString();
    QDBusMessage powerOff =
        MethodCall(disk.drivePath, QLatin1String(kDriveInterface), QStringLiteral("PowerOff"));
    powerOff << QVariantMap();
    reply = Call(powerOff, kEjectTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage ? QString() : reply.errorMessage();
}

} // namespace udisks
