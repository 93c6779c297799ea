// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "link/serialports.h"
#include "tools/emulator/fakemodule.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(PortDescription)
Q_DECLARE_METATYPE(QSerialPort::SerialPortError)

namespace {

// One comparable text per port, so lists of ports can be compared whole.
QStringList describe(const QList<PortDescription> &ports)
{
    QStringList texts;
    for (const PortDescription &port : ports)
        texts.append(port.name + '|' + port.description + '|' + port.manufacturer);
    return texts;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QString emulatorManufacturer()
{
    return QStringLiteral("pid %1").arg(QCoreApplication::applicationPid());
}

} // namespace

class TestPortList : public QObject
{
    Q_OBJECT

private slots:
    void itemText_data();
    void itemText();
    void itemTexts_data();
    void itemTexts();
    void nameFromItemText_data();
    void nameFromItemText();
    void openFailureReason_data();
    void openFailureReason();

    void announcedPortsSkipStaleAndMalformedFiles();
    void missingDirectoryAnnouncesNothing();
    void announcementDirectoryIsInTheRuntimeDirectory();
    void fakeModuleAnnouncesUntilDestroyed();
    void unpluggedFakeModuleIsNoLongerAnnounced();
    void availablePortsAddAnnouncedPorts();
    void listFollowsPluggingWhenOpened_data();
    void listFollowsPluggingWhenOpened();
};

void TestPortList::itemText_data()
{
    QTest::addColumn<PortDescription>("port");
    QTest::addColumn<QString>("text");
    QTest::newRow("complete") << PortDescription{"COM7", "VELD-7316 module", "Veld"}
                              << "COM7 - VELD-7316 module (Veld)";
    QTest::newRow("no manufacturer")
        << PortDescription{"ttyACM0", "VELD-7316", ""} << "ttyACM0 - VELD-7316 ()";
    QTest::newRow("nothing but a name") << PortDescription{"COM1", "", ""} << "COM1 -  ()";
}

void TestPortList::itemText()
{
    QFETCH(PortDescription, port);
    QFETCH(QString, text);
    QCOMPARE(portItemText(port), text);
}

void TestPortList::itemTexts_data()
{
    QTest::addColumn<QList<PortDescription>>("ports");
    QTest::addColumn<QStringList>("texts");
    const PortDescription front{"COM3", "7316 driver", "A"};
    const PortDescription middle{"COM4", "VELD-7316 module", "B"};
    const PortDescription back{"COM5", "module 7316", ""};
    const PortDescription other{"COM1", "Communications Port", "(Standard port types)"};
    const PortDescription nearMiss{"COM2", "VELD-731 6", "C"};
    // Windows' own driver describes the port; the device names itself.
    const PortDescription ownDriver{"COM6", "USB Serial Device", "Microsoft", "VELD-7316"};
    const PortDescription otherDevice{"COM8", "USB Serial Device", "Microsoft", "VELD-731 6"};

    QTest::newRow("no ports") << QList<PortDescription>() << QStringList{"Simulator"};
    QTest::newRow("no match") << QList<PortDescription>{other, nearMiss}
                              << QStringList{"Simulator"};
    QTest::newRow("matches in the given order")
        << QList<PortDescription>{middle, other, back, nearMiss, front}
        << QStringList{"COM4 - VELD-7316 module (B)", "COM5 - module 7316 ()",
                       "COM3 - 7316 driver (A)", "Simulator"};
    QTest::newRow("named by the device on Windows' own driver")
        << QList<PortDescription>{otherDevice, ownDriver}
        << QStringList{"COM6 - USB Serial Device (Microsoft)", "Simulator"};
}

void TestPortList::itemTexts()
{
    QFETCH(QList<PortDescription>, ports);
    QFETCH(QStringList, texts);
    QCOMPARE(portItemTexts(ports), texts);
}

void TestPortList::nameFromItemText_data()
{
    QTest::addColumn<QString>("itemText");
    QTest::addColumn<QString>("name");
    QTest::newRow("port") << "COM7 - VELD-7316 module (Veld)"
                          << "COM7";
    QTest::newRow("simulator") << "Simulator"
                               << "Simulator";
    QTest::newRow("pseudo-terminal") << "/dev/pts/4 - VELD-7316 emulator (pid 9)"
                                     << "/dev/pts/4";
    QTest::newRow("leading blank") << " COM7 - x ()"
                                   << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPortList::nameFromItemText()
{
    QFETCH(QString, itemText);
    QFETCH(QString, name);
    QCOMPARE(portNameFromItemText(itemText), name);
}

void TestPortList::openFailureReason_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<bool>("deviceAccessible");
    QTest::addColumn<QString>("deviceGroup");
    QTest::addColumn<QString>("reason");
    const QString inUse = "The port is in use by another program. Close that program, or its "
                          "connection to the port, and try again.";
    QTest::newRow("gone") << QSerialPort::DeviceNotFoundError << "No such file or directory"
                          << false << QString()
                          << "The device is gone. Plug the module in again; its port may come "
                             "back under another name.";
    QTest::newRow("locked by another program on Linux")
        << QSerialPort::PermissionError << "Permission error while locking the device" << true
        << "dialout" << inUse;
    QTest::newRow("in use on Windows")
        << QSerialPort::PermissionError << "Access is denied." << true << QString() << inUse;
    QTest::newRow("not in the device's group")
        << QSerialPort::PermissionError << "Permission denied" << false << "dialout"
        << "You are not allowed to use the port. Join the group that owns it, dialout (sudo "
           "usermod -aG dialout $USER), then log out and in again.";
    QTest::newRow("no group to join")
        << QSerialPort::PermissionError << "Permission denied" << false << QString()
        << "You are not allowed to use the port. Ask for read and write access to it.";
    QTest::newRow("no serial port") << QSerialPort::UnsupportedOperationError
                                    << "Inappropriate ioctl for device" << true << "root"
                                    << "Inappropriate ioctl for device";
}

void TestPortList::openFailureReason()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(QString, errorText);
    QFETCH(bool, deviceAccessible);
    QFETCH(QString, deviceGroup);
    QFETCH(QString, reason);
    QCOMPARE(portOpenFailureReason({error, errorText, deviceAccessible, deviceGroup}), reason);
}

void TestPortList::announcedPortsSkipStaleAndMalformedFiles()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString existingPort = directory.filePath(QStringLiteral("port-a"));
    const QString otherExistingPort = directory.filePath(QStringLiteral("port-b"));
    QVERIFY(writeFile(existingPort, {}));
    QVERIFY(writeFile(otherExistingPort, {}));
    const QByteArray goneFile = directory.filePath(QStringLiteral("gone")).toUtf8();

    // Written out of name order, to see that the result follows the names.
    QVERIFY(writeFile(directory.filePath("d-second.port"),
                      otherExistingPort.toUtf8() + "\nVELD-7316 second\n\n"));
    QVERIFY(writeFile(directory.filePath("a-first.port"),
                      existingPort.toUtf8() + "\nVELD-7316 first\nmaker"));
    QVERIFY(writeFile(directory.filePath("b-stale.port"), goneFile + "\nVELD-7316 gone\nx\n"));
    QVERIFY(writeFile(directory.filePath("c-one-line.port"), existingPort.toUtf8() + "\n"));
    QVERIFY(writeFile(directory.filePath("c-empty.port"), {}));
    QVERIFY(writeFile(directory.filePath("c-four-lines.port"),
                      existingPort.toUtf8() + "\nVELD-7316\nmaker\nmore\n"));
    QVERIFY(writeFile(directory.filePath("c-no-path.port"), "\nVELD-7316\nmaker\n"));
    // A test rig on Windows announces a COM port, which is not a file.
    QVERIFY(writeFile(directory.filePath("c-device-name.port"), "COM5\nVELD-7316 rig\n\n"));
    QVERIFY(writeFile(directory.filePath("e-notes.txt"),
                      existingPort.toUtf8() + "\nVELD-7316 notes\nmaker\n"));

    const QStringList expected = {existingPort + "|VELD-7316 first|maker", "COM5|VELD-7316 rig|",
                                  otherExistingPort + "|VELD-7316 second|"};
    QCOMPARE(describe(announcedPorts(directory.path())), expected);
}

void TestPortList::missingDirectoryAnnouncesNothing()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QVERIFY(announcedPorts(directory.filePath(QStringLiteral("missing"))).isEmpty());
}

void TestPortList::announcementDirectoryIsInTheRuntimeDirectory()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QVERIFY(!runtime.isEmpty());
    QCOMPARE(QFileInfo(portAnnouncementDirectory()).dir().absolutePath(),
             QFileInfo(runtime).absoluteFilePath());
    QCOMPARE(QFileInfo(portAnnouncementDirectory()).fileName(), QStringLiteral("veld7316-ports"));
}

void TestPortList::fakeModuleAnnouncesUntilDestroyed()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString announcements = directory.filePath(QStringLiteral("ports"));
    auto module = std::make_unique<FakeModule>();
    QVERIFY(module->start());
    QVERIFY(announcedPorts(announcements).isEmpty());

    QVERIFY(module->announce(announcements));
    const QList<PortDescription> ports = announcedPorts(announcements);
    QCOMPARE(describe(ports),
             QStringList{module->portName() + "|VELD-7316 emulator|" + emulatorManufacturer()});
    QCOMPARE(portItemTexts(ports), (QStringList{module->portName() + " - VELD-7316 emulator (" +
                                                    emulatorManufacturer() + ")",
                                                "Simulator"}));
    QCOMPARE(portNameFromItemText(portItemTexts(ports).first()), module->portName());

    module.reset();
    QVERIFY(announcedPorts(announcements).isEmpty());
    QVERIFY(QDir(announcements).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestPortList::unpluggedFakeModuleIsNoLongerAnnounced()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    FakeModule module;
    QVERIFY(module.start());
    QVERIFY(module.announce(directory.path()));
    QCOMPARE(announcedPorts(directory.path()).size(), 1);
    module.unplug();
    QVERIFY(announcedPorts(directory.path()).isEmpty());
}

void TestPortList::availablePortsAddAnnouncedPorts()
{
    const int systemPorts = QSerialPortInfo::availablePorts().size();
    QCOMPARE(availablePorts().size(), systemPorts);

    FakeModule first;
    FakeModule second;
    QVERIFY(first.start());
    QVERIFY(second.start());
    QVERIFY(first.announce());
    QVERIFY(second.announce());
    const QList<PortDescription> ports = availablePorts();
    QCOMPARE(ports.size(), systemPorts + 2);
    const QStringList announced = describe(ports.mid(systemPorts));
    QVERIFY(announced.contains(first.portName() + "|VELD-7316 emulator|" + emulatorManufacturer()));
    QVERIFY(
        announced.contains(second.portName() + "|VELD-7316 emulator|" + emulatorManufacturer()));
    QCOMPARE(portItemTexts(ports).constLast(), QStringLiteral("Simulator"));
}

void TestPortList::listFollowsPluggingWhenOpened_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("mouse press") << 0 << 0;
    QTest::newRow("F4") << int(Qt::Key_F4) << 0;
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
    QTest::newRow("Space") << int(Qt::Key_Space) << 0;
}

void TestPortList::listFollowsPluggingWhenOpened()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);

    MainWindow window;
    auto *ports = window.findChild<QComboBox *>("serialPortComboBox");
    const auto listed = [&](const FakeModule &module) {
        if (key == 0)
            QTest::mouseClick(ports, Qt::LeftButton);
        else
            QTest::keyClick(ports, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        const bool opened = ports->view()->isVisible();
        ports->hidePopup();
        return opened && ports->findText(module.portName() + ' ', Qt::MatchStartsWith) >= 0;
    };

    FakeModule first;
    QVERIFY(first.start() && first.announce());
    QVERIFY(listed(first));
    QCOMPARE(ports->currentText(), QStringLiteral("Simulator"));

    // Left alone while open, here with the simulator.
    window.findChild<QPushButton *>("openButton")->click();
    FakeModule second;
    QVERIFY(second.start() && second.announce());
    QVERIFY(!listed(second));

    // Pulled and plugged again, a module comes back under a new name.
    window.findChild<QPushButton *>("closeButton")->click();
    first.unplug();
    QVERIFY(!listed(first));
    QVERIFY(listed(second));
}

QTEST_MAIN(TestPortList)
#include "tst_portlist.moc"
