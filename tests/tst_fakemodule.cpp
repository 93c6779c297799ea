// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/eventwait.h"
#include "tools/emulator/fakemodule.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int replySize = 9;
constexpr int replyWaitMs = 3000;
// How long a reply that should not come is given to show up anyway.
constexpr int quietMs = 100;

// Built here rather than with the programmer's frame code, so the two check each other.
QByteArray request(int command, int type, int motor, qint32 value)
{
    const quint32 bits = static_cast<quint32>(value);
    QByteArray frame;
    frame.append(char(1)).append(char(command)).append(char(type)).append(char(motor));
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.append(char(bits >> shift));
    quint8 sum = 0;
    for (char byte : frame)
        sum += quint8(byte);
    return frame.append(char(sum));
}

QByteArray getRequest(int parameterNumber)
{
    return request(6, parameterNumber, 0, 0);
}

QByteArray setRequest(int parameterNumber, qint32 value)
{
    return request(5, parameterNumber, 0, value);
}

int status(const QByteArray &reply)
{
    return quint8(reply.at(2));
}

int valueByte(const QByteArray &reply)
{
    return quint8(reply.at(7));
}

const QList<int> parameterNumbers = {6, 7, 140, 160, 161, 179, 214};

// Everything a command could change.
QList<int> moduleState(const FakeModule &module)
{
    QList<int> state;
    for (int number : parameterNumbers)
        state.append(module.parameter(number));
    state.append(module.powerStageOn());
    state.append(module.pulseFrequency());
    return state;
}

} // namespace

class TestFakeModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void portIsAPseudoTerminal();
    void replyLayout();
    void startValues_data();
    void startValues();
    void readAfterWrite_data();
    void readAfterWrite();
    void refusedRequest_data();
    void refusedRequest();
    void powerStage();
    void pulseGenerator_data();
    void pulseGenerator();
    void framesAreLogged();
    void frameSplitAcrossWrites();
    void frameForOtherAddressGetsNoReply();

    void silent();
    void partialReply_data();
    void partialReply();
    void lateReply();
    void refuseWrites_data();
    void refuseWrites();
    void outOfRange_data();
    void outOfRange();
    void garbageKeepsStatusAndValue();
    void garbageIsReproducible();
    void unplug_data();
    void unplug();

private:
    // Writes the frame and returns what has arrived once a whole reply is
    // there or the wait gave up.
    QByteArray exchange(const QByteArray &frame);
    // Writes the frame and returns what arrived within quietMs after the
    // module received it.
    QByteArray exchangeExpectingLittle(const QByteArray &frame);

    std::unique_ptr<FakeModule> module;
    std::unique_ptr<QSerialPort> port;
};

void TestFakeModule::initTestCase()
{
    qRegisterMetaType<QSerialPort::SerialPortError>();
}

void TestFakeModule::init()
{
    module = std::make_unique<FakeModule>();
    QVERIFY2(module->start(), qPrintable(module->errorString()));
    port = std::make_unique<QSerialPort>(module->portName());
    QVERIFY2(port->open(QIODevice::ReadWrite), qPrintable(port->errorString()));
    port->setBaudRate(QSerialPort::Baud9600);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
}

void TestFakeModule::cleanup()
{
    port.reset();
    module.reset();
}

QByteArray TestFakeModule::exchange(const QByteArray &frame)
{
    port->write(frame);
    waitUntil([this] { return port->bytesAvailable() >= replySize; }, replyWaitMs);
    return port->readAll();
}

QByteArray TestFakeModule::exchangeExpectingLittle(const QByteArray &frame)
{
    QSignalSpy received(module.get(), &FakeModule::frameReceived);
    port->write(frame);
    if (!waitUntil([&received] { return !received.isEmpty(); }, replyWaitMs))
        return QByteArray("module received nothing");
    processEventsFor(quietMs);
    return port->readAll();
}

void TestFakeModule::portIsAPseudoTerminal()
{
    QVERIFY(module->portName().startsWith(QLatin1String("/dev/pts/")));
    QVERIFY(QFileInfo::exists(module->portName()));
}

void TestFakeModule::replyLayout()
{
    const QByteArray reply = exchange(getRequest(214));
    QCOMPARE(reply.toHex(' '), QByteArray("02 01 64 06 00 00 00 0f 7c"));
}

void TestFakeModule::startValues_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("startValue");
    QTest::newRow("RunCurrent") << 6 << 20;
    QTest::newRow("StandbyCurrent") << 7 << 10;
    QTest::newRow("MicroStepResolution") << 140 << 3;
    QTest::newRow("MicroStepMultiplier") << 160 << 0;
    QTest::newRow("MicroStepDoubleEdge") << 161 << 1;
    QTest::newRow("HalfCurrentRange") << 179 << 1;
    QTest::newRow("StandbyCurrentDelay") << 214 << 15;
}

void TestFakeModule::startValues()
{
    QFETCH(int, number);
    QFETCH(int, startValue);
    QCOMPARE(module->parameter(number), startValue);
    const QByteArray reply = exchange(getRequest(number));
    QCOMPARE(reply.size(), replySize);
    QCOMPARE(status(reply), 100);
    QCOMPARE(valueByte(reply), startValue);
}

void TestFakeModule::readAfterWrite_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("value");
    QTest::newRow("RunCurrent 31") << 6 << 31;
    QTest::newRow("StandbyCurrent 0") << 7 << 0;
    QTest::newRow("MicroStepResolution code 6") << 140 << 6;
    QTest::newRow("MicroStepResolution code 0") << 140 << 0;
    QTest::newRow("MicroStepMultiplier 1") << 160 << 1;
    QTest::newRow("MicroStepDoubleEdge 0") << 161 << 0;
    QTest::newRow("HalfCurrentRange 0") << 179 << 0;
    QTest::newRow("StandbyCurrentDelay 255") << 214 << 255;
}

void TestFakeModule::readAfterWrite()
{
    QFETCH(int, number);
    QFETCH(int, value);
    QCOMPARE(status(exchange(setRequest(number, value))), 100);
    QCOMPARE(module->parameter(number), value);
    const QByteArray reply = exchange(getRequest(number));
    QCOMPARE(status(reply), 100);
    QCOMPARE(valueByte(reply), value);
}

void TestFakeModule::refusedRequest_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("expectedStatus");
    QByteArray wrongChecksum = setRequest(6, 5);
    wrongChecksum[8] = char(wrongChecksum.at(8) + 1);
    QTest::newRow("wrong checksum") << wrongChecksum << 1;
    QTest::newRow("unknown command") << request(7, 6, 0, 5) << 2;
    QTest::newRow("get unknown parameter") << getRequest(99) << 3;
    QTest::newRow("set unknown parameter") << setRequest(99, 1) << 3;
    QTest::newRow("set with bank 1") << request(5, 6, 1, 5) << 3;
    QTest::newRow("RunCurrent 32") << setRequest(6, 32) << 4;
    QTest::newRow("StandbyCurrent -1") << setRequest(7, -1) << 4;
    QTest::newRow("MicroStepResolution code 7") << setRequest(140, 7) << 4;
    QTest::newRow("MicroStepMultiplier 2") << setRequest(160, 2) << 4;
    QTest::newRow("MicroStepDoubleEdge 256") << setRequest(161, 256) << 4;
    QTest::newRow("StandbyCurrentDelay 256") << setRequest(214, 256) << 4;
    QTest::newRow("power stage type 3") << request(14, 3, 2, 1) << 3;
    QTest::newRow("power stage motor 0") << request(14, 2, 0, 1) << 3;
    QTest::newRow("power stage value 2") << request(14, 2, 2, 2) << 4;
    QTest::newRow("pulse generator type 1") << request(1, 1, 0, 1000) << 3;
}

void TestFakeModule::refusedRequest()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, expectedStatus);
    const QList<int> before = moduleState(*module);
    const QByteArray reply = exchange(frame);
    QCOMPARE(reply.size(), replySize);
    QCOMPARE(status(reply), expectedStatus);
    QCOMPARE(moduleState(*module), before);
}

void TestFakeModule::powerStage()
{
    QVERIFY(module->powerStageOn());
    QCOMPARE(status(exchange(QByteArray::fromHex("010E02020000000114"))), 100);
    QVERIFY(!module->powerStageOn());
    QCOMPARE(status(exchange(QByteArray::fromHex("010E02020000000013"))), 100);
    QVERIFY(module->powerStageOn());
}

void TestFakeModule::pulseGenerator_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("frequency");
    QTest::newRow("1000 Hz right") << QByteArray::fromHex("01010000000003E8ED") << 1000;
    QTest::newRow("1000 Hz left") << QByteArray::fromHex("01010000FFFFFC1814") << -1000;
    QTest::newRow("largest negative") << request(1, 0, 0, -2147483647 - 1) << -2147483647 - 1;
}

void TestFakeModule::pulseGenerator()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, frequency);
    QCOMPARE(status(exchange(frame)), 100);
    QCOMPARE(module->pulseFrequency(), frequency);
    QCOMPARE(status(exchange(request(1, 0, 0, 0))), 100);
    QCOMPARE(module->pulseFrequency(), 0);
}

void TestFakeModule::framesAreLogged()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString logPath = directory.filePath(QStringLiteral("frames.log"));
    QVERIFY(module->setLogFile(logPath));
    QSignalSpy received(module.get(), &FakeModule::frameReceived);

    const QByteArray readHalfCurrentRange = QByteArray::fromHex("0106B30000000000BA");
    exchange(readHalfCurrentRange);
    exchange(setRequest(6, 24));

    const QStringList expected = {QStringLiteral("01 06 B3 00 00 00 00 00 BA"),
                                  QStringLiteral("01 05 06 00 00 00 00 18 24")};
    QCOMPARE(module->receivedFrames(), expected);
    QCOMPARE(received.count(), 2);
    QCOMPARE(received.first().first().toByteArray(), readHalfCurrentRange);
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromLatin1(log.readAll()), expected.join('\n') + '\n');

    module->clearReceivedFrames();
    QVERIFY(module->receivedFrames().isEmpty());
}

void TestFakeModule::frameSplitAcrossWrites()
{
    const QByteArray first = setRequest(7, 12);
    const QByteArray second = getRequest(7);
    port->write(first.left(4));
    QVERIFY(waitUntil([this] { return port->bytesToWrite() == 0; }));
    processEventsFor(quietMs);
    QVERIFY(module->receivedFrames().isEmpty());
    port->write(first.mid(4) + second);
    QVERIFY(waitUntil([this] { return port->bytesAvailable() >= 2 * replySize; }, replyWaitMs));
    const QByteArray replies = port->readAll();
    QCOMPARE(module->receivedFrames().size(), 2);
    QCOMPARE(valueByte(replies.mid(replySize)), 12);
}

void TestFakeModule::frameForOtherAddressGetsNoReply()
{
    QByteArray frame = getRequest(6);
    frame[0] = char(2);
    frame[8] = char(frame.at(8) + 1);
    QCOMPARE(exchangeExpectingLittle(frame), QByteArray());
    QCOMPARE(module->receivedFrames().size(), 1);
}

void TestFakeModule::silent()
{
    FakeModuleFaults faults;
    faults.silent = true;
    module->setFaults(faults);
    QCOMPARE(exchangeExpectingLittle(setRequest(6, 5)), QByteArray());
    QCOMPARE(module->parameter(6), 5);
}

void TestFakeModule::partialReply_data()
{
    QTest::addColumn<int>("partialBytes");
    QTest::addColumn<int>("expectedBytes");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("eight") << 8 << 8;
    QTest::newRow("nine") << 9 << 9;
    QTest::newRow("more than nine") << 20 << 9;
}

void TestFakeModule::partialReply()
{
    QFETCH(int, partialBytes);
    QFETCH(int, expectedBytes);
    FakeModuleFaults faults;
    faults.partialBytes = partialBytes;
    module->setFaults(faults);
    const QByteArray reply = exchangeExpectingLittle(getRequest(6));
    QCOMPARE(reply.size(), expectedBytes);
    if (expectedBytes > 2)
        QCOMPARE(status(reply), 100);
}

void TestFakeModule::lateReply()
{
    FakeModuleFaults faults;
    faults.lateMs = 1000;
    module->setFaults(faults);
    QCOMPARE(exchangeExpectingLittle(getRequest(7)), QByteArray());
    QVERIFY(waitUntil([this] { return port->bytesAvailable() >= replySize; }, replyWaitMs));
    const QByteArray reply = port->readAll();
    QCOMPARE(reply.size(), replySize);
    QCOMPARE(valueByte(reply), 10);
}

void TestFakeModule::refuseWrites_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("set parameter") << setRequest(6, 5);
    QTest::newRow("power stage off") << request(14, 2, 2, 1);
    QTest::newRow("pulse generator") << request(1, 0, 0, 1000);
}

void TestFakeModule::refuseWrites()
{
    QFETCH(QByteArray, frame);
    FakeModuleFaults faults;
    faults.refuseWrites = true;
    module->setFaults(faults);
    const QList<int> before = moduleState(*module);
    const QByteArray reply = exchange(frame);
    QCOMPARE(reply.size(), replySize);
    QVERIFY(status(reply) != 100);
    QCOMPARE(moduleState(*module), before);
    QCOMPARE(status(exchange(getRequest(6))), 100);
}

void TestFakeModule::outOfRange_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("smallestInvalid");
    QTest::newRow("RunCurrent") << 6 << 32;
    QTest::newRow("StandbyCurrent") << 7 << 32;
    QTest::newRow("MicroStepResolution") << 140 << 6;
    QTest::newRow("MicroStepMultiplier") << 160 << 2;
    QTest::newRow("MicroStepDoubleEdge") << 161 << 2;
    QTest::newRow("HalfCurrentRange") << 179 << 2;
}

void TestFakeModule::outOfRange()
{
    QFETCH(int, number);
    QFETCH(int, smallestInvalid);
    FakeModuleFaults faults;
    faults.outOfRange = true;
    module->setFaults(faults);
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QByteArray reply = exchange(getRequest(number));
        QCOMPARE(reply.size(), replySize);
        QCOMPARE(status(reply), 100);
        QVERIFY2(valueByte(reply) >= smallestInvalid,
                 qPrintable(QString::number(valueByte(reply))));
    }
}

void TestFakeModule::garbageKeepsStatusAndValue()
{
    const QByteArray clean = exchange(getRequest(6));
    FakeModuleFaults faults;
    faults.garbage = true;
    module->setFaults(faults);
    module->setSeed(7);
    const QByteArray spoilt = exchange(getRequest(6));
    QCOMPARE(spoilt.size(), replySize);
    QCOMPARE(status(spoilt), 100);
    QCOMPARE(valueByte(spoilt), 20);
    QVERIFY(spoilt != clean);
}

void TestFakeModule::garbageIsReproducible()
{
    FakeModuleFaults faults;
    faults.garbage = true;
    module->setFaults(faults);
    module->setSeed(42);
    const QByteArray first = exchange(getRequest(179));
    module->setSeed(42);
    const QByteArray again = exchange(getRequest(179));
    QCOMPARE(first.size(), replySize);
    QCOMPARE(again, first);
    module->setSeed(43);
    QVERIFY(exchange(getRequest(179)) != first);
}

void TestFakeModule::unplug_data()
{
    QTest::addColumn<int>("framesBeforeFault");
    QTest::addColumn<int>("unplugAfterFrames");
    QTest::newRow("at once") << 0 << 0;
    QTest::newRow("on the first frame") << 0 << 1;
    QTest::newRow("counted from the fault") << 2 << 2;
}

void TestFakeModule::unplug()
{
    QFETCH(int, framesBeforeFault);
    QFETCH(int, unplugAfterFrames);
    // Qt 5.15 reads end-of-file from the hung-up terminal and takes the error
    // kind from a leftover errno: ResourceError or a stream of ReadErrors.
    QSignalSpy errors(port.get(), &QSerialPort::errorOccurred);
    for (int frame = 0; frame < framesBeforeFault; ++frame)
        QCOMPARE(exchange(getRequest(6)).size(), replySize);

    if (unplugAfterFrames == 0) {
        module->unplug();
    } else {
        FakeModuleFaults faults;
        faults.unplugAfterFrames = unplugAfterFrames;
        module->setFaults(faults);
        for (int frame = 1; frame < unplugAfterFrames; ++frame)
            QCOMPARE(exchange(getRequest(6)).size(), replySize);
        QVERIFY(!module->isUnplugged());
        port->write(getRequest(6));
        QVERIFY(waitUntil([this] { return module->isUnplugged(); }, replyWaitMs));
    }

    QVERIFY(module->isUnplugged());
    QVERIFY(!QFileInfo::exists(module->portName()));
    const auto lineLost = [&errors] {
        for (const QList<QVariant> &arguments : errors) {
            const auto error = arguments.first().value<QSerialPort::SerialPortError>();
            if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
                return true;
        }
        return false;
    };
    QVERIFY(waitUntil(lineLost, replyWaitMs));
}

QTEST_GUILESS_MAIN(TestFakeModule)
#include "tst_fakemodule.moc"
