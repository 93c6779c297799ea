// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/configurationfile.h"
#include "app/mainwindow.h"
#include "config/configreader.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDial>
#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString header = QStringLiteral("Reading values from file ...");
const QString tooLarge = QStringLiteral("ERROR: File too large! At most 65536 bytes expected!");
const QString lineTooLong =
    QStringLiteral("ERROR: Line too long! At most 1024 bytes per line expected!");
const QString binaryData = QStringLiteral("ERROR: Binary data in file! Plain text expected!");
const QString runCurrentError =
    QStringLiteral("ERROR: Invalid value for \"RunCurrent\"! Value out of range (0..31)!");
const QString standbyCurrentError =
    QStringLiteral("ERROR: Invalid value for \"StandbyCurrent\"! Value out of range (0..31)!");
const QString delayError = QStringLiteral(
    "ERROR: Invalid value for \"StandbyCurrentDelay\"! Value out of range (0..255)!");
const QString resolutionError = QStringLiteral("ERROR: Invalid value for "
                                               "\"MicroStepResolution\"! Either 8, 16, 32, 64, "
                                               "128 or 256 expected!");
const QString doubleEdgeError = QStringLiteral(
    "ERROR: Invalid value for \"MicroStepDoubleEdge\"! Either TRUE or FALSE expected!");
const QString halfRangeError =
    QStringLiteral("ERROR: Invalid value for \"HalfCurrentRange\"! Either TRUE or FALSE expected!");

QString multiplierError(const QString &lowerCaseValue)
{
    return QStringLiteral("ERROR: Invalid value for \"MicroStepMultiplier\"! Either TRUE or FALSE "
                          "expected!\"") +
           lowerCaseValue + QLatin1Char('"');
}

QString unknown(const QString &key)
{
    return QStringLiteral("WARNING: Unknown Parameter \"") + key +
           QStringLiteral("\". Will be ignored.");
}

// Keeps embedded NUL bytes, which the const char * constructor would cut off.
template <int size> QByteArray raw(const char (&bytes)[size])
{
    return QByteArray(bytes, size - 1);
}

struct ReadResult
{
    bool result = false;
    QStringList log;
    QStringList stored;
};

ReadResult readFrom(QIODevice &device)
{
    ReadResult read;
    read.result = readConfiguration(
        device, [&](const QString &line) { read.log << line; },
        [&](DeviceParameter parameter, int value) {
            read.stored << parameterName(parameter) + QLatin1Char('=') + QString::number(value);
        });
    return read;
}

ReadResult readBytes(const QByteArray &content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    return readFrom(buffer);
}

// A line of exactly the given length, line feed included, holding RunCurrent 5.
QByteArray paddedLine(int length)
{
    const QByteArray start("RunCurrent 5 ");
    return start + QByteArray(length - start.size() - 1, 'x') + '\n';
}

// Endless valid text, as a pipe fed by a program might deliver it.
class EndlessDevice : public QIODevice
{
public:
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return line.size() + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = qMin<qint64>(maxSize, line.size() - offset);
        memcpy(data, line.constData() + offset, size_t(count));
        offset = (offset + count) % line.size();
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const QByteArray line{"RunCurrent 5\n"};
    qint64 offset = 0;
};

// Claims content it cannot deliver, as a file on a failing disk does.
class FailingDevice : public QIODevice
{
public:
    qint64 size() const override { return 100; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

QStringList dialogLog(const MainWindow &window)
{
    const auto *dialog = window.findChild<ConfigurationFile *>();
    const QString text =
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("configurationFileLogTextEdit"))
            ->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestConfigReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readsLines_data();
    void readsLines();
    void refusesADeviceThatNeverEnds();
    void stopsWhenTheDeviceFails();
    void workedExampleLeavesFileValues();
    void newNameIsCreatedEmpty();
    void readOnlyFileIsRead();
    void fileNoOneMayWriteIsRead();
    void unopenablePathLogsTheOpenError_data();
    void unopenablePathLogsTheOpenError();

private:
    QTemporaryDir directory;
};

void TestConfigReader::initTestCase()
{
    QVERIFY(directory.isValid());
}

void TestConfigReader::readsLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("log"); // the lines after the header
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("worked example")
        << QByteArray("runcurrent 20\n\nstandbycurrent 8\nMicroStepMultiplier false\n"
                      "RunCurrent 40\nStandbyCurrentDelay 10\n")
        << QStringList{"RunCurrent = 20", unknown(""), "StandbyCurrent = 8",
                       "MicroStepMultiplier = FALSE", runCurrentError}
        << false << QStringList{"RunCurrent=20", "StandbyCurrent=8", "MicroStepMultiplier=0"};
    QTest::newRow("empty file") << QByteArray() << QStringList() << true << QStringList();
    QTest::newRow("LF") << QByteArray("RunCurrent 5\nHalfCurrentRange TRUE\n")
                        << QStringList{"RunCurrent = 5", "HalfCurrentRange = TRUE"} << true
                        << QStringList{"RunCurrent=5", "HalfCurrentRange=1"};
    QTest::newRow("CR LF") << QByteArray("RunCurrent 5\r\nHalfCurrentRange TRUE\r\n")
                           << QStringList{"RunCurrent = 5", "HalfCurrentRange = TRUE"} << true
                           << QStringList{"RunCurrent=5", "HalfCurrentRange=1"};
    QTest::newRow("no final line feed")
        << QByteArray("RunCurrent 5\nStandbyCurrentDelay 200")
        << QStringList{"RunCurrent = 5", "StandbyCurrentDelay = 200"} << true
        << QStringList{"RunCurrent=5", "StandbyCurrentDelay=200"};
    QTest::newRow("blank line") << QByteArray("\nRunCurrent 3\n")
                                << QStringList{unknown(""), "RunCurrent = 3"} << true
                                << QStringList{"RunCurrent=3"};
    QTest::newRow("space first") << QByteArray(" RunCurrent 3\n") << QStringList{unknown("")}
                                 << true << QStringList();
    QTest::newRow("tab separator")
        << QByteArray("RunCurrent\t3\n") << QStringList{unknown("RunCurrent\t3")} << true
        << QStringList();
    QTest::newRow("unknown key kept as written")
        << QByteArray("MotorSpeed 300\nRunCurrent 3\n")
        << QStringList{unknown("MotorSpeed"), "RunCurrent = 3"} << true
        << QStringList{"RunCurrent=3"};
    QTest::newRow("UTF-8 key") << QByteArray("Str\xc3\xb6mung 3\n")
                               << QStringList{unknown(QStringLiteral("Str\u00f6mung"))} << true
                               << QStringList();
    QTest::newRow("two spaces, ranged")
        << QByteArray("RunCurrent  3\n") << QStringList{"RunCurrent = 0"} << true
        << QStringList{"RunCurrent=0"};
    QTest::newRow("two spaces, resolution")
        << QByteArray("MicroStepResolution  16\n") << QStringList{resolutionError} << false
        << QStringList();
    QTest::newRow("key alone, ranged")
        << QByteArray("StandbyCurrentDelay\n") << QStringList{"StandbyCurrentDelay = 0"} << true
        << QStringList{"StandbyCurrentDelay=0"};
    QTest::newRow("key alone, resolution")
        << QByteArray("MicroStepResolution\n") << QStringList{resolutionError} << false
        << QStringList();
    QTest::newRow("key alone, boolean") << QByteArray("HalfCurrentRange\n")
                                        << QStringList{halfRangeError} << false << QStringList();
    QTest::newRow("key alone, multiplier")
        << QByteArray("MicroStepMultiplier\n") << QStringList{multiplierError("")} << false
        << QStringList();
    QTest::newRow("key alone without line feed, ranged")
        << QByteArray("StandbyCurrent 4\nRunCurrent")
        << QStringList{"StandbyCurrent = 4", "RunCurrent = 0"} << true
        << QStringList{"StandbyCurrent=4", "RunCurrent=0"};
    QTest::newRow("key alone without line feed, boolean")
        << QByteArray("MicroStepDoubleEdge") << QStringList{doubleEdgeError} << false
        << QStringList();
    QTest::newRow("key alone without line feed, resolution")
        << QByteArray("MicroStepResolution") << QStringList{resolutionError} << false
        << QStringList();
    QTest::newRow("duplicate key") << QByteArray("RunCurrent 5\nRunCurrent 7\n")
                                   << QStringList{"RunCurrent = 5", "RunCurrent = 7"} << true
                                   << QStringList{"RunCurrent=5", "RunCurrent=7"};
    QTest::newRow("words after the value")
        << QByteArray("RunCurrent 5 mA\n") << QStringList{"RunCurrent = 5"} << true
        << QStringList{"RunCurrent=5"};
    QTest::newRow("lines after an error are not read")
        << QByteArray("RunCurrent 32\nStandbyCurrent 3\nNoSuchKey 1\n")
        << QStringList{runCurrentError} << false << QStringList();

    QTest::newRow("RunCurrent 31")
        << QByteArray("RunCurrent 31\n") << QStringList{"RunCurrent = 31"} << true
        << QStringList{"RunCurrent=31"};
    QTest::newRow("RunCurrent 32")
        << QByteArray("RunCurrent 32\n") << QStringList{runCurrentError} << false << QStringList();
    QTest::newRow("RunCurrent -1")
        << QByteArray("RunCurrent -1\n") << QStringList{runCurrentError} << false << QStringList();
    QTest::newRow("RunCurrent abc")
        << QByteArray("RunCurrent abc\n") << QStringList{"RunCurrent = 0"} << true
        << QStringList{"RunCurrent=0"};
    QTest::newRow("RunCurrent overflowing")
        << QByteArray("RunCurrent 99999999999\n") << QStringList{"RunCurrent = 0"} << true
        << QStringList{"RunCurrent=0"};
    QTest::newRow("StandbyCurrent 0")
        << QByteArray("StandbyCurrent 0\n") << QStringList{"StandbyCurrent = 0"} << true
        << QStringList{"StandbyCurrent=0"};
    QTest::newRow("StandbyCurrent 31")
        << QByteArray("StandbyCurrent 31\n") << QStringList{"StandbyCurrent = 31"} << true
        << QStringList{"StandbyCurrent=31"};
    QTest::newRow("StandbyCurrent 32")
        << QByteArray("StandbyCurrent 32\n") << QStringList{standbyCurrentError} << false
        << QStringList();
    QTest::newRow("StandbyCurrent -1")
        << QByteArray("StandbyCurrent -1\n") << QStringList{standbyCurrentError} << false
        << QStringList();
    QTest::newRow("StandbyCurrentDelay 255")
        << QByteArray("StandbyCurrentDelay 255\n") << QStringList{"StandbyCurrentDelay = 255"}
        << true << QStringList{"StandbyCurrentDelay=255"};
    QTest::newRow("StandbyCurrentDelay 256") << QByteArray("StandbyCurrentDelay 256\n")
                                             << QStringList{delayError} << false << QStringList();
    QTest::newRow("StandbyCurrentDelay -1") << QByteArray("StandbyCurrentDelay -1\n")
                                            << QStringList{delayError} << false << QStringList();
    for (int microsteps : {8, 16, 32, 64, 128, 256}) {
        const QString value = QString::number(microsteps);
        QTest::addRow("MicroStepResolution %d", microsteps)
            << QString("MicroStepResolution " + value + '\n').toUtf8()
            << QStringList{"MicroStepResolution = " + value} << true
            << QStringList{"MicroStepResolution=" + value};
    }
    for (const char *refused : {"4", "0", "512", "-16", "abc"}) {
        QTest::addRow("MicroStepResolution %s", refused)
            << "MicroStepResolution " + QByteArray(refused) + '\n'
            << QStringList{resolutionError} << false << QStringList();
    }

    QTest::newRow("keys in capitals")
        << QByteArray("RUNCURRENT 5\nMICROSTEPRESOLUTION 32\n")
        << QStringList{"RunCurrent = 5", "MicroStepResolution = 32"} << true
        << QStringList{"RunCurrent=5", "MicroStepResolution=32"};
    QTest::newRow("keys in mixed case")
        << QByteArray("rUnCuRrEnT 5\nhalfcurrentrange false\n")
        << QStringList{"RunCurrent = 5", "HalfCurrentRange = FALSE"} << true
        << QStringList{"RunCurrent=5", "HalfCurrentRange=0"};
    QTest::newRow("booleans in any case")
        << QByteArray(
               "HalfCurrentRange True\nMicroStepDoubleEdge fAlSe\nMicroStepMultiplier TRUE\n")
        << QStringList{"HalfCurrentRange = TRUE", "MicroStepDoubleEdge = FALSE",
                       "MicroStepMultiplier = TRUE"}
        << true
        << QStringList{"HalfCurrentRange=1", "MicroStepDoubleEdge=0", "MicroStepMultiplier=1"};
    QTest::newRow("boolean as number") << QByteArray("HalfCurrentRange 1\n")
                                       << QStringList{halfRangeError} << false << QStringList();
    QTest::newRow("double edge yes") << QByteArray("MicroStepDoubleEdge yes\n")
                                     << QStringList{doubleEdgeError} << false << QStringList();
    QTest::newRow("multiplier error carries the value in lower case")
        << QByteArray("MicroStepMultiplier Yes\n") << QStringList{multiplierError("yes")} << false
        << QStringList();

    QTest::newRow("NUL ends the line's text")
        << raw("RunCurrent 5\0 junk\nStandbyCurrent 3\n")
        << QStringList{"RunCurrent = 5", "StandbyCurrent = 3"} << true
        << QStringList{"RunCurrent=5", "StandbyCurrent=3"};
    QTest::newRow("NUL right after the key")
        << raw("RunCurrent\0 9\n") << QStringList{"RunCurrent = 0"} << true
        << QStringList{"RunCurrent=0"};

    QByteArray atSizeLimit;
    QStringList atSizeLimitLog;
    QStringList atSizeLimitStored;
    for (int line = 0; line < 64; ++line) {
        atSizeLimit += paddedLine(1024);
        atSizeLimitLog << "RunCurrent = 5";
        atSizeLimitStored << "RunCurrent=5";
    }
    QTest::newRow("file at the size limit")
        << atSizeLimit << atSizeLimitLog << true << atSizeLimitStored;
    QTest::newRow("file one byte over the size limit")
        << atSizeLimit + '\n'
        << QStringList{tooLarge} << false << QStringList();
    QTest::newRow("megabytes of text") << QByteArray("RunCurrent 5\n").repeated(200000)
                                       << QStringList{tooLarge} << false << QStringList();
    QTest::newRow("line at the length limit")
        << QByteArray("StandbyCurrent 3\n") + paddedLine(1024)
        << QStringList{"StandbyCurrent = 3", "RunCurrent = 5"} << true
        << QStringList{"StandbyCurrent=3", "RunCurrent=5"};
    QTest::newRow("line one byte over the length limit")
        << QByteArray("StandbyCurrent 3\n") + paddedLine(1025) + "RunCurrent 7\n"
        << QStringList{"StandbyCurrent = 3", lineTooLong} << false
        << QStringList{"StandbyCurrent=3"};
    QTest::newRow("one endless line")
        << QByteArray(60000, 'a') << QStringList{lineTooLong} << false << QStringList();
    // The signature's first line is text of a kind; the control byte after it is not.
    QTest::newRow("binary data") << raw("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0\n")
                                 << QStringList{unknown(QStringLiteral("\uFFFDPNG")), binaryData}
                                 << false << QStringList();
    QTest::newRow("control character after good lines")
        << QByteArray("RunCurrent 5\nRun\x01"
                      "Current 6\nStandbyCurrent 3\n")
        << QStringList{"RunCurrent = 5", binaryData} << false << QStringList{"RunCurrent=5"};
    // A comment typed in another encoding is only an unknown parameter.
    QTest::newRow("bytes that are not UTF-8")
        << QByteArray("\xff\xfe R\nRunCurrent 4\n")
        << QStringList{unknown(QStringLiteral("\uFFFD\uFFFD")), "RunCurrent = 4"} << true
        << QStringList{"RunCurrent=4"};
}

void TestConfigReader::readsLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, log);
    QFETCH(bool, result);
    QFETCH(QStringList, stored);

    const ReadResult read = readBytes(content);

    QCOMPARE(read.log, QStringList{header} + log);
    QCOMPARE(read.result, result);
    QCOMPARE(read.stored, stored);
}

void TestConfigReader::refusesADeviceThatNeverEnds()
{
    EndlessDevice device;
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Text));

    const ReadResult read = readFrom(device);

    QCOMPARE(read.result, false);
    QCOMPARE(read.log.last(), tooLarge);
    // 13 bytes a line: no more lines than fit into the size limit were taken.
    QCOMPARE(read.stored.size(), 65536 / 13);
}

void TestConfigReader::stopsWhenTheDeviceFails()
{
    FailingDevice device;
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Text));

    const ReadResult read = readFrom(device);

    QCOMPARE(read.result, false);
    QCOMPARE(read.log, (QStringList{header, "ERROR: Reading the file failed!"}));
}

void TestConfigReader::workedExampleLeavesFileValues()
{
    const QString path = directory.filePath(QStringLiteral("example.txt"));
    QVERIFY(writeFile(path, "runcurrent 20\n\nstandbycurrent 8\nMicroStepMultiplier false\n"
                            "RunCurrent 40\nStandbyCurrentDelay 10\n"));
    MainWindow window;
    window.setConfigurationFilePath(path);

    QCOMPARE(window.readConfigurationFile(), false);
    QCOMPARE(dialogLog(window),
             (QStringList{header, "RunCurrent = 20", unknown(""), "StandbyCurrent = 8",
                          "MicroStepMultiplier = FALSE", runCurrentError}));

    // Program shows the values read in the controls.
    window.startProgramFromFile();
    QCOMPARE(window.findChild<QDial *>(QStringLiteral("runCurrentDial"))->value(), 20 + 15);
    QCOMPARE(window.findChild<QDial *>(QStringLiteral("standbyCurrentDial"))->value(), 8);
    QCOMPARE(window.findChild<QDial *>(QStringLiteral("delayDial"))->value(), 0);
    QCOMPARE(window.findChild<QCheckBox *>(QStringLiteral("x16CheckBox"))->isChecked(), false);
    QCOMPARE(window.findChild<QGroupBox *>(QStringLiteral("standbyCurrentGroupBox"))->isChecked(),
             true);
}

void TestConfigReader::newNameIsCreatedEmpty()
{
    const QString path = directory.filePath(QStringLiteral("new.txt"));
    QVERIFY(!QFile::exists(path));
    MainWindow window;
    window.setConfigurationFilePath(path);

    QCOMPARE(window.readConfigurationFile(), true);
    QCOMPARE(dialogLog(window), QStringList{header});
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestConfigReader::readOnlyFileIsRead()
{
    const QString path = directory.filePath(QStringLiteral("readonly.txt"));
    QVERIFY(writeFile(path, "RunCurrent 7\n"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther));
    MainWindow window;
    window.setConfigurationFilePath(path);

    QCOMPARE(window.readConfigurationFile(), true);
    QCOMPARE(dialogLog(window), (QStringList{header, "RunCurrent = 7"}));
}

// File permissions do not stop the superuser; this file refuses writing to everyone.
void TestConfigReader::fileNoOneMayWriteIsRead()
{
    const QString path = QStringLiteral("/proc/sys/kernel/ostype");
    QFile reading(path);
    QFile writing(path);
    if (!reading.open(QIODevice::ReadOnly) || writing.open(QIODevice::ReadWrite))
        QSKIP("needs a readable file that cannot be opened for writing");
    MainWindow window;
    window.setConfigurationFilePath(path);

    QCOMPARE(window.readConfigurationFile(), true);
    QCOMPARE(dialogLog(window).first(), header);
}

void TestConfigReader::unopenablePathLogsTheOpenError_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty path") << QString();
    QTest::newRow("directory") << directory.path();
    QTest::newRow("missing directory") << directory.filePath(QStringLiteral("missing/a.txt"));
}

void TestConfigReader::unopenablePathLogsTheOpenError()
{
    QFETCH(QString, path);
    MainWindow window;
    window.setConfigurationFilePath(path);

    QCOMPARE(window.readConfigurationFile(), false);
    QCOMPARE(dialogLog(window), QStringList{"ERROR: cannot open file <" + path + ">!"});
}

QTEST_MAIN(TestConfigReader)
#include "tst_configreader.moc"
