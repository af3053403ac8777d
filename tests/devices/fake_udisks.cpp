// A stand-in for the desktop's device service on a private bus, for the
// tests: one removable card (the image file given) and one fixed system
// disk, as ObjectManager objects; Block.OpenDevice answers with a descriptor
// of the image opened at start-up, so the image may be made unreadable for
// everyone else afterwards; Drive.Eject and PowerOff only note the call.
// Every call is written as one line to the log file.
//
//   fake_udisks IMAGE LOG    (on the bus named by DBUS_SYSTEM_BUS_ADDRESS)
// Prints "ready" once the service name is taken.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QTextStream>

#include <cstdio>
#include <fcntl.h>

using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;
Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {

const QString kCardBlock = QStringLiteral("/org/freedesktop/UDisks2/block_devices/card");
const QString kCardDrive = QStringLiteral("/org/freedesktop/UDisks2/drives/Card_Reader");
const QString kFixedBlock = QStringLiteral("/org/freedesktop/UDisks2/block_devices/fixed");
const QString kFixedDrive = QStringLiteral("/org/freedesktop/UDisks2/drives/Fixed_Disk");

QString g_log;

void Log(const QString& line)
{
    QFile file(g_log);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write((line + QLatin1Char('\n')).toUtf8());
}

QByteArray DeviceBytes(const QString& path)
{
    return QFile::encodeName(path) + '\0';
}

} // namespace

class FakeManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.ObjectManager")

public:
    explicit FakeManager(const QString& image) : m_image(image) {}

public slots:
    ManagedObjects GetManagedObjects()
    {
        ManagedObjects objects;
        objects[QDBusObjectPath(kCardBlock)] = {
            {QStringLiteral("org.freedesktop.UDisks2.Block"),
             {{QStringLiteral("Device"), DeviceBytes(m_image)},
              {QStringLiteral("Size"), qulonglong(QFileInfo(m_image).size())},
              {QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(kCardDrive))},
              {QStringLiteral("HintSystem"), false}}}};
        objects[QDBusObjectPath(kCardDrive)] = {
            {QStringLiteral("org.freedesktop.UDisks2.Drive"),
             {{QStringLiteral("Vendor"), QStringLiteral("Generic")},
              {QStringLiteral("Model"), QStringLiteral("Card Reader")},
              {QStringLiteral("ConnectionBus"), QStringLiteral("usb")},
              {QStringLiteral("Removable"), true},
              {QStringLiteral("MediaRemovable"), true},
              {QStringLiteral("Ejectable"), true},
              {QStringLiteral("CanPowerOff"), true}}}};
        objects[QDBusObjectPath(kFixedBlock)] = {
            {QStringLiteral("org.freedesktop.UDisks2.Block"),
             {{QStringLiteral("Device"), DeviceBytes(QStringLiteral("/dev/harnwick-fixed-disk"))},
              {QStringLiteral("Size"), qulonglong(500107862016ULL)},
              {QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(kFixedDrive))},
              {QStringLiteral("HintSystem"), true}}}};
        objects[QDBusObjectPath(kFixedDrive)] = {
            {QStringLiteral("org.freedesktop.UDisks2.Drive"),
             {{QStringLiteral("Model"), QStringLiteral("Fixed SSD")},
              {QStringLiteral("ConnectionBus"), QString()},
              {QStringLiteral("Removable"), false}}}};
        return objects;
    }

private:
    QString m_image;
};

class FakeBlock : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UDisks2.Block")

public:
    FakeBlock(int readFd, int readWriteFd) : m_read(readFd), m_readWrite(readWriteFd) {}

public slots:
    QDBusUnixFileDescriptor OpenDevice(const QString& mode, const QVariantMap& options)
    {
        (void)options;
        Log(QStringLiteral("OpenDevice ") + mode);
        return QDBusUnixFileDescriptor(mode == QLatin1String("rw") ? m_readWrite : m_read);
    }

private:
    int m_read;
    int m_readWrite;
};

class FakeDrive : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.UDisks2.Drive")

public slots:
    void Eject(const QVariantMap& options)
    {
        (void)options;
        Log(QStringLiteral("Eject"));
    }
    void PowerOff(const QVariantMap& options)
    {
        (void)options;
        Log(QStringLiteral("PowerOff"));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: fake_udisks IMAGE LOG\n");
        return 2;
    }
    const QString image = args[1];
    g_log = args[2];
    qDBusRegisterMetaType<InterfaceProperties>();
    qDBusRegisterMetaType<ManagedObjects>();

    const QByteArray name = QFile::encodeName(image);
    const int readFd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    const int readWriteFd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (readFd < 0 || readWriteFd < 0) {
        std::fprintf(stderr, "fake_udisks: cannot open %s\n", name.constData());
        return 1;
    }

    QDBusConnection bus = QDBusConnection::systemBus();
    FakeManager manager(image);
    FakeBlock block(readFd, readWriteFd);
    FakeDrive drive;
    FakeDrive fixedDrive;
    const auto exported = QDBusConnection::ExportAllSlots;
    if (!bus.isConnected() || !bus.registerObject(QStringLiteral("/org/freedesktop/UDisks2"), &manager, exported) ||
        !bus.registerObject(kCardBlock, &block, exported) || !bus.registerObject(kCardDrive, &drive, exported) ||
        !bus.registerObject(kFixedDrive, &fixedDrive, exported) ||
        !bus.registerService(QStringLiteral("org.freedesktop.UDisks2"))) {
        std::fprintf(stderr, "fake_udisks: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "fake_udisks.moc"
