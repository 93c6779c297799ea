// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/configurationfile.h"
#include "app/mainwindow.h"
#include "config/configreader.h"
#include "config/configwriter.h"

#include <QBuffer>
#include <QFile>
#include <QMap>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

namespace {

using Values = QMap<DeviceParameter, int>;

const QByteArray startValuesFile("MicroStepResolution 16\n"
                                 "MicroStepMultiplier TRUE\n"
                                 "MicroStepDoubleEdge FALSE\n"
                                 "HalfCurrentRange FALSE\n"
                                 "RunCurrent 24\n"
                                 "StandbyCurrent 24\n"
                                 "StandbyCurrentDelay 0\n");

const QStringList startValuesLog{"Writing to file ...",        "MicroStepResolution = 16",
                                 "MicroStepMultiplier = TRUE", "MicroStepDoubleEdge = FALSE",
                                 "HalfCurrentRange = FALSE",   "RunCurrent = 24",
                                 "StandbyCurrent = 24",        "StandbyCurrentDelay = 0"};

Values startValues()
{
    return {{DeviceParameter::MicroStepResolution, 16}, {DeviceParameter::MicroStepMultiplier, 1},
            {DeviceParameter::MicroStepDoubleEdge, 0},  {DeviceParameter::HalfCurrentRange, 0},
            {DeviceParameter::RunCurrent, 24},          {DeviceParameter::StandbyCurrent, 24},
            {DeviceParameter::StandbyCurrentDelay, 0}};
}

Values otherValues()
{
    return {{DeviceParameter::MicroStepResolution, 256}, {DeviceParameter::MicroStepMultiplier, 0},
            {DeviceParameter::MicroStepDoubleEdge, 1},   {DeviceParameter::HalfCurrentRange, 1},
            {DeviceParameter::RunCurrent, 31},           {DeviceParameter::StandbyCurrent, 0},
            {DeviceParameter::StandbyCurrentDelay, 255}};
}

// The writer opens files in text mode, so on Windows its lines end in CR LF.
QByteArray withPlatformLineEnds(QByteArray text)
{
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

QByteArray written(const Values &values, QStringList *log)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly | QIODevice::Text);
    QTextStream stream(&buffer);
    const bool accepted = writeConfiguration(
        stream, [&](DeviceParameter parameter) { return values.value(parameter, -1); },
        [&](const QString &line) { *log << line; });
    return accepted ? buffer.data() : QByteArray();
}

QStringList dialogLog(const MainWindow &window)
{
    const auto *dialog = window.findChild<ConfigurationFile *>();
    const QString text =
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("configurationFileLogTextEdit"))
            ->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Values)

class TestConfigWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writesTheSevenLines_data();
    void writesTheSevenLines();
    void roundTripReadsBackWithoutWarnings_data();
    void roundTripReadsBackWithoutWarnings();
    void windowWritesItsCachedValues();
    void windowReadsItsOwnFileBack();
    void longerFileIsShortened();
    void unwritableFileIsReported_data();
    void unwritableFileIsReported();

private:
    QTemporaryDir directory;
};

void TestConfigWriter::initTestCase()
{
    QVERIFY(directory.isValid());
}

void TestConfigWriter::writesTheSevenLines_data()
{
    QTest::addColumn<Values>("values");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("start values") << startValues() << startValuesFile << startValuesLog;
    QTest::newRow("other values")
        << otherValues()
        << QByteArray("MicroStepResolution 256\nMicroStepMultiplier FALSE\n"
                      "MicroStepDoubleEdge TRUE\nHalfCurrentRange TRUE\nRunCurrent 31\n"
                      "StandbyCurrent 0\nStandbyCurrentDelay 255\n")
        << QStringList{"Writing to file ...",         "MicroStepResolution = 256",
                       "MicroStepMultiplier = FALSE", "MicroStepDoubleEdge = TRUE",
                       "HalfCurrentRange = TRUE",     "RunCurrent = 31",
                       "StandbyCurrent = 0",          "StandbyCurrentDelay = 255"};
}

void TestConfigWriter::writesTheSevenLines()
{
    QFETCH(Values, values);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, log);

    QStringList logged;
    QCOMPARE(written(values, &logged), withPlatformLineEnds(file));
    QCOMPARE(logged, log);
}

void TestConfigWriter::roundTripReadsBackWithoutWarnings_data()
{
    QTest::addColumn<Values>("values");
    QTest::newRow("start values") << startValues();
    QTest::newRow("other values") << otherValues();
    Values finest = startValues();
    finest[DeviceParameter::MicroStepResolution] = 8;
    finest[DeviceParameter::StandbyCurrentDelay] = 128;
    QTest::newRow("finest resolution") << finest;
}

void TestConfigWriter::roundTripReadsBackWithoutWarnings()
{
    QFETCH(Values, values);
    QStringList writeLog;
    QBuffer buffer;
    buffer.setData(written(values, &writeLog));
    QVERIFY(buffer.open(QIODevice::ReadOnly | QIODevice::Text));

    QStringList readLog;
    Values stored;
    const bool read = readConfiguration(
        buffer, [&](const QString &line) { readLog << line; },
        [&](DeviceParameter parameter, int value) { stored.insert(parameter, value); });

    QVERIFY(read);
    // The reader reports each value as the writer did, and nothing else.
    QCOMPARE(readLog.mid(1), writeLog.mid(1));
    QCOMPARE(stored, values);
}

void TestConfigWriter::windowWritesItsCachedValues()
{
    const QString path = directory.filePath(QStringLiteral("start.txt"));
    MainWindow window;
    window.setConfigurationFilePath(path);

    QCOMPARE(window.writeConfigurationFile(), true);
    QCOMPARE(fileContent(path), withPlatformLineEnds(startValuesFile));
    QCOMPARE(dialogLog(window), startValuesLog);
}

void TestConfigWriter::windowReadsItsOwnFileBack()
{
    const QString path = directory.filePath(QStringLiteral("roundtrip.txt"));
    MainWindow window;
    window.setConfigurationFilePath(path);
    QVERIFY(window.writeConfigurationFile());

    QVERIFY(window.readConfigurationFile());

    // "Writing to file ...", seven lines, "Reading values from file ...", the same seven.
    const QStringList log = dialogLog(window);
    QCOMPARE(log.size(), 16);
    QCOMPARE(log.mid(9), log.mid(1, 7));
}

void TestConfigWriter::longerFileIsShortened()
{
    const QString path = directory.filePath(QStringLiteral("long.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray("StandbyCurrentDelay 99\n").repeated(100)) > 0);
    }
    MainWindow window;
    window.setConfigurationFilePath(path);

    QVERIFY(window.writeConfigurationFile());
    QCOMPARE(fileContent(path), withPlatformLineEnds(startValuesFile));
}

void TestConfigWriter::unwritableFileIsReported_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("logBeforeError");

    QTest::newRow("missing directory")
        << directory.filePath(QStringLiteral("missing/a.txt")) << QStringList();
    QTest::newRow("full disk") << QStringLiteral("/dev/full") << startValuesLog;
}

void TestConfigWriter::unwritableFileIsReported()
{
    QFETCH(QString, path);
    QFETCH(QStringList, logBeforeError);
    if (path.startsWith(QLatin1String("/dev/")) && !QFile::exists(path))
        QSKIP("this system has no device that is always full");
    MainWindow window;
    window.setConfigurationFilePath(path);

    QCOMPARE(window.writeConfigurationFile(), false);
    QCOMPARE(dialogLog(window),
             logBeforeError + QStringList{"ERROR: cannot write file <" + path + ">!"});
}

QTEST_MAIN(TestConfigWriter)
#include "tst_configwriter.moc"
