// Devices through the desktop's device service, against a fake service on a
// private bus (fake_udisks.cpp) that hands out a descriptor of an image the
// browser itself may not open: listing, opening, writing through the passed
// descriptor, the scan report and ejecting.
#include "gui_fixture.h"

#include "command_builders.h"
#include "device_list.h"
#include "file_list_model.h"
#include "test_paths.h"
#include "tool_command.h"
#include "transfer_commands.h"

#include <QAction>
#include <QAbstractButton>
#include <QComboBox>
#include <QDBusObjectPath>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

class UDisksTest : public GuiTest
{
protected:
    static void SetUpTestSuite()
    {
        // The point is a user who may not open the card. Root opens anything
        // by its right to override file permissions; that right is given up
        // here, for this process and every program it starts (the disk tool
        // included), so a file of mode 000 stays shut to root as well. The
        // user stays the same, so the build tree stays reachable.
        if (::geteuid() != 0)
            return;
        for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            ASSERT_EQ(::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0), 0);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        ASSERT_EQ(::syscall(SYS_capget, &header, data), 0);
        for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
            const unsigned bit = 1u << (capability % 32);
            auto& word = data[capability / 32];
            word.effective &= ~bit;
            word.permitted &= ~bit;
            word.inheritable &= ~bit;
        }
        ASSERT_EQ(::syscall(SYS_capset, &header, data), 0);
    }

    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        GuiTest::SetUp();
    }

    void TearDown() override
    {
        for (QProcess* process : {&m_service, &m_bus}) {
            process->kill();
            process->waitForFinished();
        }
        GuiTest::TearDown();
    }

    // A private bus standing in for the system bus, with the fake service
    // on it for `image`, which is then made unreadable for this process.
    void startService(const QString& image)
    {
        const QString config = path("bus.conf");
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<busconfig><type>session</type>"
                                  "<listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
                                  "<policy context=\"default\"><allow user=\"*\"/>"
                                  "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                  "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                                  "</busconfig>")
                       .arg(path("bus.socket"))
                       .toUtf8());
        file.close();
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--nofork"), QStringLiteral("--config-file=") + config,
                     QStringLiteral("--print-address=1")});
        ASSERT_TRUE(m_bus.waitForReadyRead(10000)) << m_bus.readAllStandardError().toStdString();
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);

        m_service.start(QStringLiteral(HARNWICK_FAKE_UDISKS), {image, log()});
        ASSERT_TRUE(m_service.waitForReadyRead(10000)) << m_service.readAllStandardError().toStdString();
        ASSERT_EQ(m_service.readLine().trimmed(), QByteArray("ready"));
        // Only the service's descriptors reach it from now on.
        ASSERT_TRUE(QFile::setPermissions(image, QFileDevice::Permissions()));
    }

    QString log() const { return path("service.log"); }
    QStringList calls() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    void trigger(const char* id)
    {
        QAction* action = form->findChild<QAction*>(id);
        ASSERT_NE(action, nullptr) << id;
        action->trigger();
    }

    // Picks `device` in the picker after noting every line it offers, with
    // fixed disks first left out and then listed too.
    void pickNoting(const QString& device, QStringList& removable, QStringList& all)
    {
        prompts->answerDialog([&, device](QDialog& dialog) {
            auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
            auto* fixed = dialog.findChild<QAbstractButton*>(QStringLiteral("ChkFixed"));
            if (!combo || !fixed) {
                ADD_FAILURE() << "not the device service's picker";
                return int(QDialog::Rejected);
            }
            for (int i = 0; i < combo->count(); ++i)
                removable << combo->itemText(i);
            fixed->click();
            for (int i = 0; i < combo->count(); ++i)
                all << combo->itemText(i);
            combo->setCurrentIndex(combo->findData(device));
            dialog.findChild<QPushButton*>(QStringLiteral("CmdSelect"))->click();
            return dialog.result();
        });
    }

    QProcess m_bus;
    QProcess m_service;
};

TEST_F(UDisksTest, ACardTheUserMayNotOpenIsListedOpenedWrittenAndEjected)
{
    const QString image = makeImage(QStringLiteral("card.img"), {QStringLiteral("GAMES")});
    ASSERT_NO_FATAL_FAILURE(startService(image));
    QFile probe(image);
    ASSERT_FALSE(probe.open(QIODevice::ReadOnly)) << "the test process can still read the card";

    makeForm();
    QStringList removable;
    QStringList all;
    pickNoting(image, removable, all);
    trigger("OpenPhysicalDevice1");
    ASSERT_EQ(removable.size(), 1);
    EXPECT_TRUE(removable[0].startsWith(image + "  ")) << removable[0].toStdString();
    EXPECT_TRUE(removable[0].endsWith("Generic Card Reader (usb) - needs authorization"))
        << removable[0].toStdString();
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0], "/dev/harnwick-fixed-disk  500 GB  Fixed SSD - No such file or directory");

    // Opened through the service, read-only first; the window names the card.
    EXPECT_EQ(form->CurrentMedium, image);
    EXPECT_EQ(treeTexts(), (QStringList{image, "PLUSIDEDOS", "GAMES", "(free space)"}));
    EXPECT_EQ(calls(), QStringList{"OpenDevice r"});
    EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join("|").toStdString();
    // The tool gets the descriptor; its complaints name the card.
    const ToolRunner tool = form->Tool();
    EXPECT_EQ(tool.medium, "/dev/fd/3");
    const QString refusal = tool.runForErrors(DirCommand(tool.toolPath, tool.medium, "NOPE"));
    EXPECT_TRUE(refusal.contains(image) && !refusal.contains("/dev/fd/")) << refusal.toStdString();

    // A put asks for a read-write descriptor once and writes through it.
    form->SelectNode(treeNode("GAMES"));
    const QString host = path("game.bin");
    QFile hostFile(host);
    ASSERT_TRUE(hostFile.open(QIODevice::WriteOnly));
    hostFile.write("game");
    hostFile.close();
    prompts->answerOpenFiles({host});
    form->Transfer().putFilesWithHeader();
    EXPECT_EQ(calls(), (QStringList{"OpenDevice r", "OpenDevice rw"}));
    EXPECT_EQ(columnTexts(FileListModel::ColName), QStringList{"GAME.BIN"});
    EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join("|").toStdString();

    // Once read, the card is marked in the report; the fixed disk says why
    // it was not examined.
    trigger("Scanallcompatibledevices1");
    ASSERT_EQ(prompts->informations().size(), 1);
    const QString report = prompts->informations()[0];
    EXPECT_TRUE(report.contains(image + " (Generic Card Reader, usb): ")) << report.toStdString();
    EXPECT_TRUE(report.contains("  1 partition(s): GAMES\r\n")) << report.toStdString();
    EXPECT_TRUE(report.contains("/dev/harnwick-fixed-disk (Fixed SSD): 500,107,862,016 bytes, fixed disk\r\n"
                                "  Not examined: No such file or directory\r\n"))
        << report.toStdString();

    // No eject while a command is under way.
    {
        ToolCommandScope running(QStringLiteral("Put file(s)"));
        trigger("Eject1");
    }
    EXPECT_EQ(prompts->errors(), QStringList{"A command is running; eject the device when it has ended."});
    EXPECT_EQ(calls().size(), 2);

    trigger("Eject1");
    EXPECT_EQ(prompts->errors().size(), 1) << prompts->errors().join("|").toStdString();
    EXPECT_EQ(calls(), (QStringList{"OpenDevice r", "OpenDevice rw", "Eject", "PowerOff"}));
    EXPECT_TRUE(form->CurrentMedium.isEmpty());
    EXPECT_EQ(form->TreeView()->topLevelItemCount(), 0);
    EXPECT_EQ(prompts->informations().last(), image + " was ejected; the card can be taken out.");

    // What was written is on the card.
    ASSERT_TRUE(QFile::setPermissions(image, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QProcess dir;
    dir.start(QString::fromUtf8(testpaths::kToolExe), {image, "dir", "GAMES"});
    ASSERT_TRUE(dir.waitForFinished());
    EXPECT_TRUE(dir.readAllStandardOutput().contains("GAME.BIN"));
}

// The service's whole disks: partitions, loop devices (no drive) and empty
// card readers are left out, fixed disks only on request.
TEST(DeviceListTest, WholeDisksAndTheirCaptions)
{
    const auto block = [](const char* device, qulonglong size, const char* drive) {
        return QVariantMap{{"Device", QByteArray(device) + '\0'},
                           {"Size", size},
                           {"Drive", QVariant::fromValue(QDBusObjectPath(drive))}};
    };
    const auto drive = [](const char* model, bool removable) {
        return QMap<QString, QVariantMap>{
            {kDriveInterface, {{"Model", model}, {"Vendor", "ACME"}, {"ConnectionBus", "usb"}, {"Removable", removable}}}};
    };
    ServiceObjects objects;
    objects["/b/sdb"] = {{kBlockInterface, block("/dev/sdb", 7948206080ULL, "/d/card")}};
    objects["/b/sdb1"] = {{kBlockInterface, block("/dev/sdb1", 1000, "/d/card")}, {kPartitionInterface, {}}};
    objects["/b/sda"] = {{kBlockInterface, block("/dev/sda", 64000000000ULL, "/d/ssd")}};
    objects["/b/loop0"] = {{kBlockInterface, block("/dev/loop0", 1000, "/")}};
    objects["/b/sdc"] = {{kBlockInterface, block("/dev/sdc", 0, "/d/empty")}};
    objects["/d/card"] = drive("Card", true);
    objects["/d/ssd"] = drive("SSD", false);
    objects["/d/empty"] = drive("Reader", true);

    const auto names = [](const std::vector<DiskDevice>& disks) {
        QStringList out;
        for (const DiskDevice& d : disks)
            out << d.device;
        return out;
    };
    EXPECT_EQ(names(WholeDisks(objects, false)), QStringList{"/dev/sdb"});
    EXPECT_EQ(names(WholeDisks(objects, true)), (QStringList{"/dev/sda", "/dev/sdb"}));
    ASSERT_TRUE(DiskNamed(objects, "/dev/sda"));
    EXPECT_FALSE(DiskNamed(objects, "/dev/sdb1"));

    const DiskDevice card = WholeDisks(objects, false).front();
    const IdedosFacts plus3{true, {"GAMES", "UTILS"}};
    const IdedosFacts other{false, {}};
    EXPECT_EQ(DiskCaption(card, plus3, {}), "/dev/sdb  7.9 GB  ACME Card (usb) - +3e disk, 2 partition(s)");
    EXPECT_EQ(DiskCaption(card, other, {}), "/dev/sdb  7.9 GB  ACME Card (usb) - no +3e disk");
    EXPECT_EQ(DiskCaption(card, std::nullopt, "needs authorization"),
              "/dev/sdb  7.9 GB  ACME Card (usb) - needs authorization");
    for (const auto& [bytes, text] : std::vector<std::pair<quint64, QString>>{
             {512, "512 bytes"}, {33554432, "34 MB"}, {64000000000ULL, "64 GB"}, {2000000000ULL, "2.0 GB"}})
        EXPECT_EQ(DiskSizeText(bytes), text) << bytes;
}

} // namespace
