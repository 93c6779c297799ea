// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/frame.h"
#include "link/parameters.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(DeviceParameter)

namespace {

// A 9-byte reply with the given status and value bytes and every other byte
// set to a pattern the program must not look at.
QByteArray replyWith(quint8 status, quint8 value)
{
    QByteArray bytes(frameLength, char(0xA5));
    bytes[2] = char(status);
    bytes[7] = char(value);
    return bytes;
}

} // namespace

class FrameTest : public QObject
{
    Q_OBJECT

private slots:
    void workedFrames_data();
    void workedFrames();
    void checksumWrapsAndIgnoresItsOwnByte();
    void valueIsTwosComplementMostSignificantFirst_data();
    void valueIsTwosComplementMostSignificantFirst();
    void onlyLowBytesOfCommandTypeAndMotorAreSent();

    void microstepCodeOfResolution_data();
    void microstepCodeOfResolution();
    void resolutionOfMicrostepCode_data();
    void resolutionOfMicrostepCode();
    void offeredResolutionsReadBack();
    void wireValueOfProgramValue_data();
    void wireValueOfProgramValue();

    void decodeReply_data();
    void decodeReply();

    void parameterReportTexts_data();
    void parameterReportTexts();
};

void FrameTest::workedFrames_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("motor");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("hex");

    const int get = int(Command::GetParameter);
    const int set = int(Command::SetParameter);
    const int power = int(Command::SwitchPowerStage);
    const int pulse = int(Command::RunPulseGenerator);
    QTest::newRow("read RunCurrent") << get << 6 << 0 << 0 << "01 06 06 00 00 00 00 00 0D";
    QTest::newRow("read HalfCurrentRange") << get << 179 << 0 << 0 << "01 06 B3 00 00 00 00 00 BA";
    QTest::newRow("write RunCurrent 24") << set << 6 << 0 << 24 << "01 05 06 00 00 00 00 18 24";
    QTest::newRow("write MicroStepResolution 16")
        << set << 140 << 0 << microstepCode(16) << "01 05 8C 00 00 00 00 04 96";
    QTest::newRow("write StandbyCurrentDelay 255")
        << set << 214 << 0 << 255 << "01 05 D6 00 00 00 00 FF DB";
    QTest::newRow("power stage off")
        << power << powerStageType << powerStageBank << 1 << "01 0E 02 02 00 00 00 01 14";
    QTest::newRow("power stage on")
        << power << powerStageType << powerStageBank << 0 << "01 0E 02 02 00 00 00 00 13";
    QTest::newRow("pulse 1000 Hz right") << pulse << 0 << 0 << 1000 << "01 01 00 00 00 00 03 E8 ED";
    QTest::newRow("pulse 1000 Hz left") << pulse << 0 << 0 << -1000 << "01 01 00 00 FF FF FC 18 14";
}

void FrameTest::workedFrames()
{
    QFETCH(int, command);
    QFETCH(int, type);
    QFETCH(int, motor);
    QFETCH(int, value);
    QFETCH(QString, hex);
    QCOMPARE(frameHex(encodeFrame(command, type, motor, value)), hex);
}

void FrameTest::checksumWrapsAndIgnoresItsOwnByte()
{
    Frame frame = {0x01, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFC, 0x18, 0x00};
    int sum = 0;
    for (int i = 0; i < frameLength - 1; ++i)
        sum += frame[i];
    QCOMPARE(sum, 788);
    QCOMPARE(frameChecksum(frame), quint8(0x14));

    frame[8] = 0xAA;
    QCOMPARE(frameChecksum(frame), quint8(0x14));
}

void FrameTest::valueIsTwosComplementMostSignificantFirst_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("valueHex");
    QTest::newRow("-1") << -1 << "FF FF FF FF";
    QTest::newRow("-1000") << -1000 << "FF FF FC 18";
    QTest::newRow("-50000") << -50000 << "FF FF 3C B0";
    QTest::newRow("50000") << 50000 << "00 00 C3 50";
    QTest::newRow("lowest int") << std::numeric_limits<qint32>::min() << "80 00 00 00";
    QTest::newRow("highest int") << std::numeric_limits<qint32>::max() << "7F FF FF FF";
}

void FrameTest::valueIsTwosComplementMostSignificantFirst()
{
    QFETCH(int, value);
    QFETCH(QString, valueHex);
    const QString hex = frameHex(encodeFrame(int(Command::RunPulseGenerator), 0, 0, value));
    QCOMPARE(hex.split(QLatin1Char(' ')).mid(4, 4).join(QLatin1Char(' ')), valueHex);
}

void FrameTest::onlyLowBytesOfCommandTypeAndMotorAreSent()
{
    QCOMPARE(frameHex(encodeFrame(0x105, 0x2B3, -256, 0)),
             QStringLiteral("01 05 B3 00 00 00 00 00 B9"));
}

void FrameTest::microstepCodeOfResolution_data()
{
    QTest::addColumn<int>("microsteps");
    QTest::addColumn<int>("code");
    QTest::newRow("256") << 256 << 0;
    QTest::newRow("128") << 128 << 1;
    QTest::newRow("64") << 64 << 2;
    QTest::newRow("32") << 32 << 3;
    QTest::newRow("16") << 16 << 4;
    QTest::newRow("8") << 8 << 5;
    QTest::newRow("4, written only") << 4 << 6;
    QTest::newRow("3") << 3 << -1;
    QTest::newRow("0") << 0 << -1;
    QTest::newRow("512") << 512 << -1;
}

void FrameTest::microstepCodeOfResolution()
{
    QFETCH(int, microsteps);
    QFETCH(int, code);
    QCOMPARE(microstepCode(microsteps), code);
}

void FrameTest::resolutionOfMicrostepCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("microsteps");
    QTest::newRow("0") << 0 << 256;
    QTest::newRow("1") << 1 << 128;
    QTest::newRow("2") << 2 << 64;
    QTest::newRow("3") << 3 << 32;
    QTest::newRow("4") << 4 << 16;
    QTest::newRow("5") << 5 << 8;
    QTest::newRow("6 is never read back") << 6 << -1;
    QTest::newRow("7") << 7 << -1;
    QTest::newRow("255") << 255 << -1;
    QTest::newRow("-1") << -1 << -1;
}

void FrameTest::resolutionOfMicrostepCode()
{
    QFETCH(int, code);
    QFETCH(int, microsteps);
    QCOMPARE(microstepsFromCode(code), microsteps);
}

// What the list and the file offer is sent as a code that reads back as the
// same resolution; the write-only code does not.
void FrameTest::offeredResolutionsReadBack()
{
    QCOMPARE(int(offeredResolutions.size()), 6);
    for (int microsteps : offeredResolutions) {
        const int code = wireValue(DeviceParameter::MicroStepResolution, microsteps);
        QVERIFY(code >= 0);
        QCOMPARE(microstepsFromCode(code), microsteps);
    }
    QCOMPARE(microstepsFromCode(wireValue(DeviceParameter::MicroStepResolution, 4)), -1);
}

void FrameTest::wireValueOfProgramValue_data()
{
    QTest::addColumn<DeviceParameter>("parameter");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("wire");

    for (DeviceParameter parameter :
         {DeviceParameter::MicroStepMultiplier, DeviceParameter::MicroStepDoubleEdge,
          DeviceParameter::HalfCurrentRange}) {
        const QByteArray name = parameterName(parameter).toLatin1();
        QTest::newRow((name + " FALSE").constData()) << parameter << 0 << 0;
        QTest::newRow((name + " TRUE").constData()) << parameter << 1 << 1;
    }
    QTest::newRow("resolution 256") << DeviceParameter::MicroStepResolution << 256 << 0;
    QTest::newRow("resolution 16") << DeviceParameter::MicroStepResolution << 16 << 4;
    QTest::newRow("resolution 8") << DeviceParameter::MicroStepResolution << 8 << 5;
    QTest::newRow("resolution 4") << DeviceParameter::MicroStepResolution << 4 << 6;
    QTest::newRow("resolution without code") << DeviceParameter::MicroStepResolution << 24 << -1;
    QTest::newRow("run current") << DeviceParameter::RunCurrent << 31 << 31;
    QTest::newRow("standby current") << DeviceParameter::StandbyCurrent << 7 << 7;
    QTest::newRow("standby delay") << DeviceParameter::StandbyCurrentDelay << 255 << 255;
}

void FrameTest::wireValueOfProgramValue()
{
    QFETCH(DeviceParameter, parameter);
    QFETCH(int, value);
    QFETCH(int, wire);
    QCOMPARE(wireValue(parameter, value), wire);
}

void FrameTest::decodeReply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<int>("value");

    QTest::newRow("nothing arrived") << QByteArray() << false << false << 0;
    QTest::newRow("one byte short")
        << replyWith(replySuccessStatus, 24).left(frameLength - 1) << false << false << 0;
    QTest::newRow("status 100, garbage elsewhere")
        << replyWith(replySuccessStatus, 24) << true << true << 24;
    QTest::newRow("status 100, value 255")
        << replyWith(replySuccessStatus, 255) << true << true << 255;
    QTest::newRow("a late reply came with it")
        << replyWith(replySuccessStatus, 24).repeated(2) << false << false << 0;
    QTest::newRow("status 0") << replyWith(0, 24) << true << false << 24;
    QTest::newRow("status 101") << replyWith(101, 24) << true << false << 24;
    QTest::newRow("status 255") << replyWith(255, 24) << true << false << 24;
}

void FrameTest::decodeReply()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QFETCH(bool, succeeded);
    QFETCH(int, value);

    const Reply reply = ::decodeReply(bytes);
    QCOMPARE(reply.complete, complete);
    QCOMPARE(reply.succeeded(), succeeded);
    if (complete)
        QCOMPARE(reply.value, value);
}

void FrameTest::parameterReportTexts_data()
{
    QTest::addColumn<DeviceParameter>("parameter");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("RunCurrent") << DeviceParameter::RunCurrent << 24 << "RunCurrent = 24";
    QTest::newRow("StandbyCurrent") << DeviceParameter::StandbyCurrent << 0 << "StandbyCurrent = 0";
    QTest::newRow("StandbyCurrentDelay raw")
        << DeviceParameter::StandbyCurrentDelay << 255 << "StandbyCurrentDelay = 255";
    QTest::newRow("MicroStepResolution in microsteps")
        << DeviceParameter::MicroStepResolution << 256 << "MicroStepResolution = 256";
    QTest::newRow("MicroStepMultiplier TRUE")
        << DeviceParameter::MicroStepMultiplier << 1 << "MicroStepMultiplier = TRUE";
    QTest::newRow("MicroStepDoubleEdge FALSE")
        << DeviceParameter::MicroStepDoubleEdge << 0 << "MicroStepDoubleEdge = FALSE";
    QTest::newRow("HalfCurrentRange TRUE")
        << DeviceParameter::HalfCurrentRange << 1 << "HalfCurrentRange = TRUE";
    QTest::newRow("HalfCurrentRange FALSE")
        << DeviceParameter::HalfCurrentRange << 0 << "HalfCurrentRange = FALSE";
}

void FrameTest::parameterReportTexts()
{
    QFETCH(DeviceParameter, parameter);
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(parameterReport(parameter, value), text);
}

QTEST_APPLESS_MAIN(FrameTest)

#include "tst_frame.moc"
