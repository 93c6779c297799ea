// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/exchangeplan.h"
#include "link/latereply.h"
#include "link/linksession.h"
#include "link/motion.h"
#include "link/portinput.h"
#include "link/replystep.h"
#include "link/settingsrules.h"

#include <QBuffer>
#include <QtTest>

#include <functional>
#include <utility>

using P = DeviceParameter;
using R = RequestState;
using SettingsRule = std::function<SettingsWrites(const LinkState &)>;

Q_DECLARE_METATYPE(LinkState)
Q_DECLARE_METATYPE(DeviceParameter)
Q_DECLARE_METATYPE(RequestState)
Q_DECLARE_METATYPE(Reply)
Q_DECLARE_METATYPE(MotionState)
Q_DECLARE_METATYPE(MotionEvent)
Q_DECLARE_METATYPE(SpeedShown)
Q_DECLARE_METATYPE(SettingsRule)

namespace {

Reply good(int value)
{
    return {true, replySuccessStatus, value};
}
const Reply refused{true, 3, 0};
const Reply missing{};

LinkState pending(std::initializer_list<std::pair<P, R>> requests)
{
    LinkState link;
    link.powerStageRequest = R::None;
    for (const auto &[parameter, request] : requests)
        link.requests[parameter] = request;
    return link;
}

LinkState holding(std::initializer_list<std::pair<P, int>> values)
{
    LinkState link = pending({});
    for (const auto &[parameter, value] : values)
        link.values[parameter] = value;
    return link;
}

// "RunCurrent 17, HalfCurrentRange 0", in write order.
QString writtenText(const SettingsWrites &writes)
{
    QStringList written;
    for (P parameter : allDeviceParameters) {
        if (writes[parameter])
            written << parameterName(parameter) + QLatin1Char(' ') +
                           QString::number(*writes[parameter]);
    }
    return written.isEmpty() ? QStringLiteral("nothing") : written.join(QStringLiteral(", "));
}

QString sentFrame(const TickPlan &plan)
{
    if (!plan.frame)
        return QStringLiteral("nothing");
    const OutgoingFrame &f = *plan.frame;
    return frameHex(encodeFrame(int(f.command), f.type, f.motor, f.value));
}

// A link turning the motor at the frequency, confirmed, with nothing pending.
LinkState turning(int frequency)
{
    LinkState link = pending({});
    link.powerStageOff = false;
    link.pulseWanted = link.pulseSent = link.lastPulseFrame = frequency;
    return link;
}

// "read 6", "write 6=25", "pulse 0" (the rows' values fit a byte); "-" for no frame.
QString frameName(const std::optional<Frame> &frame)
{
    if (!frame)
        return QStringLiteral("-");
    const Frame &f = *frame;
    if (Command(f[1]) == Command::RunPulseGenerator)
        return QStringLiteral("pulse %1").arg(f[7]);
    const bool read = Command(f[1]) == Command::GetParameter;
    return read ? QStringLiteral("read %1").arg(f[2])
                : QStringLiteral("write %1=%2").arg(f[2]).arg(f[7]);
}

// "x*3" stands for three entries "x".
QStringList expanded(const QStringList &entries)
{
    QStringList all;
    for (const QString &entry : entries) {
        const int times = entry.contains(QLatin1Char('*')) ? entry.section('*', 1).toInt() : 1;
        for (int i = 0; i < times; ++i)
            all << entry.section('*', 0, 0);
    }
    return all;
}

// What the port received in a tick: "-" nothing, "ok" or "ok=24" a whole good
// reply, "refused" a whole reply with status 3, a number that many bytes of a
// good reply.
QByteArray received(const QString &bytes)
{
    QByteArray reply(frameLength, char(0));
    reply[2] = char(bytes == QLatin1String("refused") ? 3 : replySuccessStatus);
    reply[7] = char(bytes.section('=', 1).toInt());
    if (bytes == QLatin1String("-"))
        return QByteArray();
    return bytes.at(0).isDigit() ? reply.left(bytes.toInt()) : reply;
}

} // namespace

// The exchange cycle's and reply handling's decisions, on plain values.
class LinkRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void nextTick_data();
    void nextTick();
    void readReply_data();
    void readReply();
    void writeReply_data();
    void writeReply();
    void switchReplies();
    void lateReplyWait_data();
    void lateReplyWait();
    void session_data();
    void session();
    void receivedBytes_data();
    void receivedBytes();
    void motion_data();
    void motion();
    void settingsRules_data();
    void settingsRules();
};

void LinkRulesTest::nextTick_data()
{
    QTest::addColumn<LinkState>("link");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("readsComplete");
    QTest::addColumn<bool>("writesComplete");

    QTest::newRow("nothing pending") << pending({}) << "nothing" << true << true;
    QTest::newRow("reads first, range first") << pending({{P::RunCurrent, R::Write},
                                                          {P::StandbyCurrent, R::Read},
                                                          {P::HalfCurrentRange, R::Read}})
                                              << "01 06 B3 00 00 00 00 00 BA" << false << false;
    LinkState powerStage = pending({{P::StandbyCurrentDelay, R::Write}});
    powerStage.powerStageRequest = R::Write;
    QTest::newRow("power stage before writes")
        << powerStage << "01 0E 02 02 00 00 00 01 14" << true << false;
    LinkState switchOnly = pending({});
    switchOnly.powerStageRequest = R::Write;
    switchOnly.powerStageOff = false;
    QTest::newRow("a switch does not hold up the write completion")
        << switchOnly << "01 0E 02 02 00 00 00 00 13" << true << true;
    LinkState writes = pending({{P::StandbyCurrentDelay, R::Write}, {P::RunCurrent, R::Write}});
    writes.values[P::RunCurrent] = 24;
    writes.pulseWanted = 1000;
    QTest::newRow("writes in write order, before the pulse generator")
        << writes << "01 05 06 00 00 00 00 18 24" << true << false;
    LinkState noCode =
        pending({{P::MicroStepResolution, R::Write}, {P::HalfCurrentRange, R::Write}});
    noCode.values[P::MicroStepResolution] = 12;
    noCode.pulseWanted = 1000;
    QTest::newRow("a resolution without code stalls what follows")
        << noCode << "nothing" << true << false;
    LinkState pulse = pending({});
    pulse.pulseWanted = -1000;
    pulse.pulseSent = 1000;
    QTest::newRow("pulse generator until confirmed")
        << pulse << "01 01 00 00 FF FF FC 18 14" << true << true;
    LinkState stop = pending({});
    stop.pulseSent.reset();
    QTest::newRow("stop after an unconfirmed frame")
        << stop << "01 01 00 00 00 00 00 00 02" << true << true;
    LinkState connected = pending({});
    startConnection(connected);
    connected.requests = PerParameter<RequestState>();
    connected.powerStageRequest = R::None;
    QTest::newRow("nothing asked of the pulse generator since opening")
        << connected << "nothing" << true << true;
    LinkState stopFirst = turning(1000);
    stopFirst.requests[P::HalfCurrentRange] = R::Read;
    stopFirst.requests[P::RunCurrent] = R::Write;
    stopFirst.pulseWanted = 0;
    QTest::newRow("a stop before reads and writes")
        << stopFirst << "01 01 00 00 00 00 00 00 02" << false << false;
    LinkState driverOn = connected;
    driverOn.pulseWanted = 0;
    driverOn.powerStageOff = false;
    driverOn.powerStageRequest = R::Write;
    QTest::newRow("driver on, generator unknown: the stop first")
        << driverOn << "01 01 00 00 00 00 00 00 02" << true << true;
    LinkState rotate = pending({{P::RunCurrent, R::Write}});
    rotate.powerStageOff = false;
    rotate.powerStageRequest = R::Write;
    rotate.pulseWanted = -1000;
    QTest::newRow("rotate: the frequency confirmed before the power stage goes on")
        << rotate << "01 01 00 00 FF FF FC 18 14" << true << false;
    rotate.pulseSent = -1000;
    QTest::newRow("then the power stage")
        << rotate << "01 0E 02 02 00 00 00 00 13" << true << false;
    rotate.powerStageOff = true;
    rotate.pulseWanted = rotate.lastPulseFrame = 0;
    rotate.pulseSent.reset();
    QTest::newRow("switching off never waits")
        << rotate << "01 0E 02 02 00 00 00 01 14" << true << false;
}

void LinkRulesTest::nextTick()
{
    QFETCH(LinkState, link);
    const TickPlan plan = planTick(link);
    QTEST(sentFrame(plan), "frame");
    QTEST(plan.readsComplete, "readsComplete");
    QTEST(plan.writesComplete, "writesComplete");
}

void LinkRulesTest::readReply_data()
{
    QTest::addColumn<DeviceParameter>("parameter");
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<RequestState>("requestNow");
    QTest::addColumn<bool>("standbyReadWaits");
    QTest::addColumn<RequestState>("request");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("held"); // -1: not known
    QTest::addColumn<bool>("shownValue");
    QTest::addColumn<bool>("shownInvalid");
    QTest::addColumn<bool>("boxFollows");
    QTest::addColumn<QString>("report");

    // Every row starts from the value 32, held by the module as far as known.
    const QString noCommunication = QStringLiteral("Error: no communication with VELD-7316");
    QTest::newRow("run current taken") << P::RunCurrent << good(31) << R::Read << false << R::None
                                       << 31 << 31 << true << false << true << "RunCurrent = 31";
    QTest::newRow("run current taken, standby read still to come")
        << P::RunCurrent << good(31) << R::Read << true << R::None << 31 << 31 << true << false
        << false << "RunCurrent = 31";
    QTest::newRow("run current 32") << P::RunCurrent << good(32) << R::Read << false << R::None
                                    << 32 << -1 << false << true << false << "RunCurrent = invalid";
    QTest::newRow("resolution code 0")
        << P::MicroStepResolution << good(0) << R::Read << false << R::None << 256 << 256 << true
        << false << false << "MicroStepResolution = 256";
    QTest::newRow("resolution code 6: the module holds 4, the list keeps 32")
        << P::MicroStepResolution << good(6) << R::Read << false << R::None << 32 << 4 << false
        << false << false << "MicroStepResolution = 4 (not selectable)";
    QTest::newRow("resolution code 200")
        << P::MicroStepResolution << good(200) << R::Read << false << R::None << 32 << -1 << false
        << false << false << "MicroStepResolution = invalid";
    QTest::newRow("boolean 2 unreported")
        << P::MicroStepDoubleEdge << good(2) << R::Read << false << R::None << 32 << -1 << false
        << false << false << QString();
    QTest::newRow("delay 255") << P::StandbyCurrentDelay << good(255) << R::Read << false << R::None
                               << 255 << 255 << true << false << false
                               << "StandbyCurrentDelay = 255";
    QTest::newRow("delay unanswered")
        << P::StandbyCurrentDelay << missing << R::Read << false << R::Read << 32 << 32 << false
        << true << false << noCommunication;
    QTest::newRow("delay refused while its change waits")
        << P::StandbyCurrentDelay << refused << R::Write << false << R::Write << 32 << 32 << false
        << false << false << noCommunication;
    QTest::newRow("user changed it meanwhile")
        << P::MicroStepMultiplier << good(1) << R::Write << false << R::Write << 32 << 32 << false
        << false << false << QString();
}

void LinkRulesTest::readReply()
{
    QFETCH(DeviceParameter, parameter);
    QFETCH(Reply, reply);
    QFETCH(RequestState, requestNow);
    QFETCH(bool, standbyReadWaits);

    LinkState link = pending({{parameter, requestNow}});
    if (standbyReadWaits)
        link.requests[P::StandbyCurrent] = R::Read;
    link.values[parameter] = 32;
    link.held[parameter] = 32;
    const OutgoingFrame sent{Command::GetParameter, parameterNumber(parameter), 0, 0};
    const ReplyStep step = replyStep(link, sent, reply, false);

    QTEST(step.link.requests[parameter], "request");
    QTEST(step.link.values[parameter], "value");
    QTEST(step.link.held[parameter].value_or(-1), "held");
    QTEST(step.effects.shownValue == parameter, "shownValue");
    QTEST(step.effects.shownInvalid == parameter, "shownInvalid");
    QTEST(step.effects.standbyBoxFollows, "boxFollows");
    QTEST(step.effects.report, "report");
}

void LinkRulesTest::writeReply_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<int>("cachedValue");
    QTest::addColumn<bool>("programUnderWay");
    QTest::addColumn<RequestState>("request");
    QTest::addColumn<int>("held"); // -1: not known
    QTest::addColumn<QString>("report");
    QTest::addColumn<bool>("unconfirmedInProgram");

    // Every row answers the write of RunCurrent 25.
    const QString notWritten = QStringLiteral("Error: RunCurrent not written to VELD-7316");
    QTest::newRow("confirmed") << good(25) << 25 << false << R::None << 25 << QString() << false;
    QTest::newRow("confirmed, changed meanwhile")
        << good(25) << 27 << false << R::Write << 25 << QString() << false;
    QTest::newRow("refused is read back")
        << refused << 25 << false << R::Read << -1 << notWritten << false;
    QTest::newRow("unanswered is read back")
        << missing << 25 << false << R::Read << -1 << notWritten << false;
    QTest::newRow("refused, changed meanwhile")
        << refused << 27 << false << R::Write << -1 << notWritten << false;
    QTest::newRow("refused in a Program is named at its end")
        << refused << 25 << true << R::Read << -1 << QString() << true;
}

void LinkRulesTest::writeReply()
{
    QFETCH(Reply, reply);
    QFETCH(int, cachedValue);
    QFETCH(bool, programUnderWay);

    LinkState link = pending({{P::RunCurrent, R::Write}});
    link.values[P::RunCurrent] = cachedValue;
    link.held[P::RunCurrent] = 24;
    const OutgoingFrame sent{Command::SetParameter, parameterNumber(P::RunCurrent), 0, 25};
    const ReplyStep step = replyStep(link, sent, reply, programUnderWay);

    QTEST(step.link.requests[P::RunCurrent], "request");
    QTEST(step.link.held[P::RunCurrent].value_or(-1), "held");
    QTEST(step.effects.report, "report");
    QTEST(step.effects.unconfirmedWrite == P::RunCurrent, "unconfirmedInProgram");
}

void LinkRulesTest::switchReplies()
{
    const auto answer = [](LinkState link, Command command, int value, const Reply &reply) {
        const int type = command == Command::SwitchPowerStage ? powerStageType : 0;
        const int bank = command == Command::SwitchPowerStage ? powerStageBank : 0;
        return replyStep(link, OutgoingFrame{command, type, bank, value}, reply, false);
    };
    const QString powerStageOn = QStringLiteral("Power stage on. Don not plug / unplug motor!");

    // The power stage: the message follows what was confirmed; a switch the
    // user asked for meanwhile stays pending.
    LinkState link = pending({});
    link.powerStageOff = false;
    link.powerStageRequest = R::Write;
    ReplyStep step = answer(link, Command::SwitchPowerStage, 1, good(1));
    QCOMPARE(step.effects.status->colour, StatusColour::Green);
    QCOMPARE(step.link.powerStageRequest, R::Write);
    step = answer(link, Command::SwitchPowerStage, 0, good(0));
    QCOMPARE(step.effects.status->message, powerStageOn);
    QCOMPARE(step.link.powerStageRequest, R::None);
    link.requests[P::RunCurrent] = R::Write;
    step = answer(link, Command::SwitchPowerStage, 0, refused);
    QCOMPARE(step.effects.status->colour, StatusColour::Red);
    QVERIFY(step.effects.status->message.contains(QStringLiteral("settings wait")));
    QCOMPARE(step.link.powerStageRequest, R::Write);

    // The pulse generator: only a confirmation counts as sent.
    link = pending({});
    link.powerStageOff = false;
    step = answer(link, Command::RunPulseGenerator, 0, missing);
    QVERIFY(!step.link.pulseSent);
    QCOMPARE(step.effects.status->message, QLatin1String(pulseGeneratorUnconfirmedMessage));
    step = answer(step.link, Command::RunPulseGenerator, -500, good(0));
    QCOMPARE(step.link.pulseSent, -500);
    QCOMPARE(step.effects.status->message, powerStageOn);
    QVERIFY(!step.link.pulseErrorShown);
    link.pulseErrorShown = true;
    link.powerStageRequest = R::Write;
    step = answer(link, Command::RunPulseGenerator, 0, good(0));
    QVERIFY(!step.effects.status);
}

void LinkRulesTest::lateReplyWait_data()
{
    QTest::addColumn<QList<int>>("before"); // earlier replies' bytes, each wait run out quietly
    QTest::addColumn<int>("received");
    QTest::addColumn<QList<int>>("arrivals"); // bytes in each tick after the reply's, then none
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("sendsOnTick"); // 0: at once

    const QList<int> none;
    const int hold = LateReplyWait::holdTicks;
    QTest::newRow("whole reply") << none << 9 << none << true << 0;
    QTest::newRow("silent module: a bounded wait")
        << none << 0 << QList<int>{0, 0, 0, 0, 0} << false << 5;
    QTest::newRow("late reply comes whole") << none << 0 << QList<int>{0, 9} << false << 2;
    QTest::newRow("the rest of a partial reply") << none << 4 << QList<int>{5} << false << 1;
    QTest::newRow("more than owed: until quiet") << none << 0 << QList<int>{12, 0} << false << 2;
    QTest::newRow("another reply came with it") << none << 18 << QList<int>{0} << false << 1;
    QTest::newRow("line never quiet") << none << 0 << QList<int>{4, 4, 4, 4, 4} << false << 5;
    QTest::newRow("whole after a wait ran out: held, bytes or not")
        << QList<int>{4} << 9 << QList<int>{9, 0, 9} << false << hold;
    QTest::newRow("whole after a wait that ended quiet")
        << QList<int>{18} << 9 << none << true << 0;
    QTest::newRow("whole after the hold") << QList<int>{0, 9} << 9 << none << true << 0;
}

void LinkRulesTest::lateReplyWait()
{
    QFETCH(QList<int>, before);
    QFETCH(int, received);
    QFETCH(QList<int>, arrivals);

    LateReplyWait wait;
    for (const int earlier : before) {
        wait.afterReply(earlier);
        while (wait.waiting())
            wait.tick(0);
    }
    QTEST(wait.afterReply(received), "taken");
    int tick = 0;
    while (wait.waiting() && tick < 100)
        wait.tick(arrivals.value(tick++));
    QVERIFY(!wait.waiting());
    QTEST(tick, "sendsOnTick");
}

void LinkRulesTest::session_data()
{
    // Before the ticks: reads and writes pending ("read 6", "write 6=25"),
    // or "turning" at 1000 Hz with the power stage on.
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<bool>("program");
    // What the port received at each tick, after "stop;" when the stop is
    // clicked right before it.
    QTest::addColumn<QStringList>("ticks");
    QTest::addColumn<QStringList>("sent"); // at each tick
    QTest::addColumn<QStringList>("said"); // reports and status lines, in order
    QTest::addColumn<int>("failures");     // in a row, at the end
    QTest::addColumn<bool>("done");        // nothing left at the end

    const QString noCommunication = QLatin1String(noCommunicationMessage);
    const QString notWritten = QStringLiteral("Error: RunCurrent not written to VELD-7316");
    const QString pulseUnconfirmed = QLatin1String(pulseGeneratorUnconfirmedMessage);
    const QString powerStageOn = QStringLiteral("Power stage on. Don not plug / unplug motor!");
    const QStringList none;
    QTest::newRow("silent: asked again after the wait")
        << QStringList{"read 6"} << false << QStringList{"-*13"}
        << QStringList{"read 6", "-*5", "read 6", "-*5", "read 6"}
        << QStringList{noCommunication, noCommunication} << 2 << false;
    // Under load a reply can come after its tick: dropped, and asked again.
    QTest::newRow("late reply dropped, asked again")
        << QStringList{"read 179", "read 6"} << false << QStringList{"-", "-", "-", "9", "ok=1"}
        << QStringList{"read 179", "-", "-", "read 179", "-"}
        << QStringList{noCommunication, "HalfCurrentRange = TRUE"} << 0 << false;
    QTest::newRow("refused write: said at once, read back")
        << QStringList{"write 6=25"} << false << QStringList{"-", "refused", "-", "ok=24"}
        << QStringList{"write 6=25", "-", "read 6", "-"}
        << QStringList{notWritten, "RunCurrent = 24"} << 0 << true;
    // The try after a lost reply is answered while the link is out of step:
    // that answer is not taken, and the write goes out a third time.
    QTest::newRow("one lost write reply: sent again, confirmed")
        << QStringList{"write 6=25"} << true << QStringList{"-*7", "ok*26", "ok"}
        << QStringList{"write 6=25", "-*5", "write 6=25", "-*25", "write 6=25", "-"} << none << 0
        << true;
    QTest::newRow("unanswered write: five tries, then read back")
        << QStringList{"write 6=25"} << false << QStringList{"-*31"}
        << QStringList{"write 6=25", "-*5", "write 6=25", "-*5", "write 6=25", "-*5",
                       "write 6=25", "-*5", "write 6=25", "-*5", "read 6"}
        << QStringList{notWritten} << 5 << false;
    QTest::newRow("a stop clicked with a reply awaited: the tick after")
        << QStringList{"turning", "write 6=25"} << false << QStringList{"-", "stop;ok", "-", "ok"}
        << QStringList{"write 6=25", "-", "pulse 0", "-"} << none << 0 << true;
    // Its reply may be the late one's, and is not taken; once in step the
    // stop is sent again behind the read and confirmed.
    QTest::newRow("a stop during the wait for a lost reply: at once")
        << QStringList{"turning", "read 6"} << false
        << QStringList{"-", "-", "stop;-", "ok*26", "ok", "-", "ok"}
        << QStringList{"read 6", "-", "pulse 0", "-*25", "read 6", "-", "pulse 0", "-"}
        << QStringList{noCommunication, pulseUnconfirmed, "RunCurrent = 0", powerStageOn} << 0
        << true;
}

void LinkRulesTest::session()
{
    QFETCH(QStringList, setup);
    QFETCH(bool, program);
    QFETCH(QStringList, ticks);

    LinkSession session;
    session.open();
    LinkState &link = session.link();
    link = pending({});
    for (const QString &step : setup) {
        const auto parameter = DeviceParameter(step.section(' ', 1).section('=', 0, 0).toInt());
        if (step == QLatin1String("turning")) {
            link = turning(1000);
        } else if (step.startsWith(QLatin1String("read"))) {
            link.requests[parameter] = R::Read;
        } else {
            link.values[parameter] = step.section('=', 1).toInt();
            link.requests[parameter] = R::Write;
        }
    }
    QStringList frames;
    QStringList said;
    QByteArray port; // what the session has not taken yet
    for (const QString &tick : expanded(ticks)) {
        if (tick.startsWith(QLatin1String("stop;")))
            link.pulseWanted = 0;
        port += received(tick.section(';', -1));
        const SessionTick step =
            session.tick([&port] { return std::exchange(port, QByteArray()); }, program);
        frames << frameName(step.frame);
        if (step.reply && !step.reply->report.isEmpty())
            said << step.reply->report;
        if (step.reply && step.reply->status)
            said << step.reply->status->message;
    }
    QFETCH(QStringList, sent);
    QCOMPARE(frames, expanded(sent));
    QTEST(said, "said");
    QTEST(session.failuresInARow(), "failures");
    QTEST(session.reached(LinkGoal::NothingPending), "done");
}

void LinkRulesTest::receivedBytes_data()
{
    QTest::addColumn<QByteArray>("arrived");
    QTest::addColumn<bool>("succeeded");

    const QByteArray reply = QByteArray::fromHex("020164060000001879");
    QTest::newRow("one reply") << reply << true;
    QTest::newRow("a late reply before it") << reply + reply << false;
    QTest::newRow("a part") << reply.left(5) << false;
}

// Reply collection works on any device, a scripted one here.
void LinkRulesTest::receivedBytes()
{
    QFETCH(QByteArray, arrived);

    QBuffer device(&arrived);
    QVERIFY(device.open(QIODevice::ReadOnly));
    QTEST(decodeReply(::receivedBytes(device)).succeeded(), "succeeded");
    QCOMPARE(::receivedBytes(device), QByteArray());
}

void LinkRulesTest::motion_data()
{
    QTest::addColumn<MotionState>("state");
    QTest::addColumn<MotionEvent>("event");
    QTest::addColumn<MotionState>("next");
    QTest::addColumn<QVariant>("powerStageOff"); // invalid: not switched
    QTest::addColumn<QVariant>("pulseWanted");   // invalid: unchanged
    QTest::addColumn<SpeedShown>("speed");
    QTest::addColumn<QString>("stopButton");

    using S = MotionState;
    using E = MotionEvent;
    const QVariant keep;
    // Every row at 1000 Hz.
    QTest::newRow("driver on") << S::DriverOff << E::StopClicked << S::DriverOn << QVariant(false)
                               << QVariant(0) << SpeedShown::Unchanged << "Driver Off";
    QTest::newRow("driver off") << S::DriverOn << E::StopClicked << S::DriverOff << QVariant(true)
                                << keep << SpeedShown::Unchanged << "Driver On";
    QTest::newRow("stop while turning") << S::RotatingLeft << E::StopClicked << S::DriverOn << keep
                                        << QVariant(0) << SpeedShown::Zero << "Driver Off";
    QTest::newRow("rotate left") << S::DriverOff << E::RotateLeftClicked << S::RotatingLeft
                                 << QVariant(false) << QVariant(-1000) << SpeedShown::Speed
                                 << "STOP";
    QTest::newRow("reverse") << S::RotatingLeft << E::RotateRightClicked << S::RotatingRight
                             << QVariant(false) << QVariant(1000) << SpeedShown::Speed << "STOP";
    QTest::newRow("dial while turning left")
        << S::RotatingLeft << E::FrequencyChanged << S::RotatingLeft << keep << QVariant(-1000)
        << SpeedShown::Speed << "STOP";
    QTest::newRow("dial while stopped") << S::DriverOn << E::FrequencyChanged << S::DriverOn << keep
                                        << keep << SpeedShown::Zero << "Driver Off";
    QTest::newRow("connected") << S::RotatingRight << E::Connected << S::DriverOff << keep << keep
                               << SpeedShown::Unchanged << "Driver On";
}

void LinkRulesTest::motion()
{
    QFETCH(MotionState, state);
    QFETCH(MotionEvent, event);
    QFETCH(QVariant, powerStageOff);
    QFETCH(QVariant, pulseWanted);

    const MotionStep step = nextMotion(state, event, 1000);
    QTEST(step.state, "next");
    QCOMPARE(step.powerStageOff.has_value(), powerStageOff.isValid());
    if (step.powerStageOff)
        QCOMPARE(*step.powerStageOff, powerStageOff.toBool());
    QCOMPARE(step.pulseWanted.has_value(), pulseWanted.isValid());
    if (step.pulseWanted)
        QCOMPARE(*step.pulseWanted, pulseWanted.toInt());
    QTEST(step.speed, "speed");
    QTEST(QString::fromLatin1(stopButtonText(step.state)), "stopButton");
}

void LinkRulesTest::settingsRules_data()
{
    QTest::addColumn<LinkState>("link");
    QTest::addColumn<SettingsRule>("rule");
    QTest::addColumn<QString>("written");

    const LinkState halfTopOwnStandby =
        holding({{P::HalfCurrentRange, 1}, {P::RunCurrent, 31}, {P::StandbyCurrent, 24}});
    const LinkState halfFollowing =
        holding({{P::HalfCurrentRange, 1}, {P::RunCurrent, 24}, {P::StandbyCurrent, 24}});
    const LinkState fullOwnStandby =
        holding({{P::RunCurrent, 24}, {P::StandbyCurrent, 10}, {P::StandbyCurrentDelay, 15}});
    LinkState rangeBeingRead = fullOwnStandby;
    rangeBeingRead.requests[P::HalfCurrentRange] = R::Read;
    const LinkState multiplierAt16 =
        holding({{P::MicroStepResolution, 16}, {P::MicroStepMultiplier, 1}});
    const LinkState plainAt32 = holding({{P::MicroStepResolution, 32}});
    const LinkState doubleEdgeAt64 =
        holding({{P::MicroStepResolution, 64}, {P::MicroStepDoubleEdge, 1}});
    const auto runDial = [](int position, bool ownStandbyCurrent) {
        return SettingsRule([=](const LinkState &link) {
            return turnRunCurrentDial(link, position, ownStandbyCurrent);
        });
    };
    const auto rule = [](SettingsWrites (*apply)(const LinkState &, bool), bool checked) {
        return SettingsRule([=](const LinkState &link) { return apply(link, checked); });
    };
    const auto chosen = [](P parameter, int value) {
        return SettingsRule(
            [=](const LinkState &link) { return chooseValue(link, parameter, value); });
    };
    const auto resolution = [](int microsteps) {
        return SettingsRule(
            [=](const LinkState &link) { return chooseResolution(link, microsteps); });
    };

    QTest::newRow("run dial 31 to 32 crosses into the full range")
        << halfTopOwnStandby << runDial(32, true) << "RunCurrent 17, HalfCurrentRange 0";
    QTest::newRow("run dial at 46 from the half range top writes only the range")
        << halfTopOwnStandby << runDial(46, true) << "HalfCurrentRange 0";
    QTest::newRow("run dial takes the standby current along without its own")
        << halfFollowing << runDial(10, false) << "RunCurrent 10, StandbyCurrent 10";
    QTest::newRow("run dial onto the cached value")
        << fullOwnStandby << runDial(39, true) << "nothing";
    QTest::newRow("run dial writes a range still being read")
        << rangeBeingRead << runDial(39, true) << "HalfCurrentRange 0";
    QTest::newRow("run dial one notch above a full-range 5 is half range 21")
        << holding({{P::RunCurrent, 5}}) << runDial(21, false)
        << "RunCurrent 21, StandbyCurrent 21, HalfCurrentRange 1";
    QTest::newRow("standby dial") << fullOwnStandby << chosen(P::StandbyCurrent, 12)
                                  << "StandbyCurrent 12";
    QTest::newRow("delay dial onto the cached value")
        << fullOwnStandby << chosen(P::StandbyCurrentDelay, 15) << "nothing";
    QTest::newRow("standby box unchecked") << fullOwnStandby << SettingsRule(shareRunCurrent)
                                           << "StandbyCurrent 24, StandbyCurrentDelay 0";
    QTest::newRow("32 with the multiplier on")
        << multiplierAt16 << resolution(32) << "MicroStepResolution 32, MicroStepMultiplier 0";
    QTest::newRow("16 with the multiplier off")
        << plainAt32 << resolution(16) << "MicroStepResolution 16";
    QTest::newRow("the resolution held") << multiplierAt16 << resolution(16) << "nothing";
    QTest::newRow("multiplier at 64 with double edge")
        << doubleEdgeAt64 << rule(clickMultiplier, true)
        << "MicroStepResolution 16, MicroStepMultiplier 1, MicroStepDoubleEdge 0";
    QTest::newRow("multiplier off keeps the resolution")
        << multiplierAt16 << rule(clickMultiplier, false) << "MicroStepMultiplier 0";
    QTest::newRow("double edge with the multiplier on")
        << multiplierAt16 << rule(clickDoubleEdge, true)
        << "MicroStepMultiplier 0, MicroStepDoubleEdge 1";
    QTest::newRow("double edge off")
        << doubleEdgeAt64 << rule(clickDoubleEdge, false) << "MicroStepDoubleEdge 0";
}

void LinkRulesTest::settingsRules()
{
    QFETCH(LinkState, link);
    QFETCH(SettingsRule, rule);
    QTEST(writtenText(rule(link)), "written");
}

QTEST_APPLESS_MAIN(LinkRulesTest)
#include "tst_linkrules.moc"
