#include "link/exchangeplan.h"
#include "link/replyrules.h"

#include <QtTest>

using P = DeviceParameter;
using R = RequestState;
using ReadKind = ReadReplyOutcome::Kind;

Q_DECLARE_METATYPE(LinkSnapshot)
Q_DECLARE_METATYPE(DeviceParameter)
Q_DECLARE_METATYPE(RequestState)
Q_DECLARE_METATYPE(ReadKind)
Q_DECLARE_METATYPE(Reply)

namespace {

Reply good(int value)
{
    return {true, replySuccessStatus, value};
}
const Reply refused{true, 3, 0};
const Reply missing{};

LinkSnapshot pending(std::initializer_list<std::pair<P, R>> requests)
{
    LinkSnapshot link;
    link.powerStageRequest = R::None;
    for (const auto &[parameter, request] : requests)
        link.requests[parameter] = request;
    return link;
}

QString sentFrame(const TickPlan &plan)
{
    if (!plan.frame)
        return QStringLiteral("nothing");
    const OutgoingFrame &f = *plan.frame;
    return frameHex(encodeFrame(int(f.command), f.type, f.motor, f.value));
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
};

void LinkRulesTest::nextTick_data()
{
    QTest::addColumn<LinkSnapshot>("link");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("readsComplete");
    QTest::addColumn<bool>("writesComplete");

    QTest::newRow("nothing pending") << pending({}) << "nothing" << true << true;
    QTest::newRow("reads first, range first") << pending({{P::RunCurrent, R::Write},
                                                          {P::StandbyCurrent, R::Read},
                                                          {P::HalfCurrentRange, R::Read}})
                                              << "01 06 B3 00 00 00 00 00 BA" << false << false;
    LinkSnapshot powerStage = pending({{P::StandbyCurrentDelay, R::Write}});
    powerStage.powerStageRequest = R::Write;
    QTest::newRow("power stage before writes")
        << powerStage << "01 0E 02 02 00 00 00 01 14" << true << false;
    LinkSnapshot switchOnly = pending({});
    switchOnly.powerStageRequest = R::Write;
    switchOnly.powerStageOff = false;
    QTest::newRow("a switch does not hold up the write completion")
        << switchOnly << "01 0E 02 02 00 00 00 00 13" << true << true;
    LinkSnapshot writes = pending({{P::StandbyCurrentDelay, R::Write}, {P::RunCurrent, R::Write}});
    writes.values[P::RunCurrent] = 24;
    writes.pulseWanted = 1000;
    QTest::newRow("writes in write order, before the pulse generator")
        << writes << "01 05 06 00 00 00 00 18 24" << true << false;
    LinkSnapshot noCode =
        pending({{P::MicroStepResolution, R::Write}, {P::HalfCurrentRange, R::Write}});
    noCode.values[P::MicroStepResolution] = 12;
    noCode.pulseWanted = 1000;
    QTest::newRow("a resolution without code stalls what follows")
        << noCode << "nothing" << true << false;
    LinkSnapshot pulse = pending({});
    pulse.pulseWanted = -1000;
    pulse.pulseSent = 1000;
    QTest::newRow("pulse generator until confirmed")
        << pulse << "01 01 00 00 FF FF FC 18 14" << true << true;
    LinkSnapshot stop = pending({});
    stop.pulseSent = unknownPulse;
    QTest::newRow("stop after an unconfirmed frame")
        << stop << "01 01 00 00 00 00 00 00 02" << true << true;
}

void LinkRulesTest::nextTick()
{
    QFETCH(LinkSnapshot, link);
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
    QTest::addColumn<ReadKind>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("showInvalid");
    QTest::addColumn<QString>("report");

    const QString noCommunication = QStringLiteral("Error: no communication with VELD-7316");
    QTest::newRow("run current taken") << P::RunCurrent << good(31) << R::Read << ReadKind::Accepted
                                       << 31 << false << "RunCurrent = 31";
    QTest::newRow("run current 32") << P::RunCurrent << good(32) << R::Read << ReadKind::Rejected
                                    << 0 << true << "RunCurrent = invalid";
    QTest::newRow("resolution code 0")
        << P::MicroStepResolution << good(0) << R::Read << ReadKind::Accepted << 256 << false
        << "MicroStepResolution = 256";
    QTest::newRow("resolution code 6 keeps 32")
        << P::MicroStepResolution << good(6) << R::Read << ReadKind::Rejected << 0 << false
        << "MicroStepResolution = 32";
    QTest::newRow("boolean 2 unreported") << P::MicroStepDoubleEdge << good(2) << R::Read
                                          << ReadKind::Rejected << 0 << false << QString();
    QTest::newRow("delay 255") << P::StandbyCurrentDelay << good(255) << R::Read
                               << ReadKind::Accepted << 255 << false << "StandbyCurrentDelay = 255";
    QTest::newRow("delay unanswered") << P::StandbyCurrentDelay << missing << R::Read
                                      << ReadKind::Failed << 0 << true << noCommunication;
    QTest::newRow("delay refused while its change waits")
        << P::StandbyCurrentDelay << refused << R::Write << ReadKind::Failed << 0 << false
        << noCommunication;
    QTest::newRow("user changed it meanwhile") << P::MicroStepMultiplier << good(1) << R::Write
                                               << ReadKind::Superseded << 0 << false << QString();
}

void LinkRulesTest::readReply()
{
    QFETCH(DeviceParameter, parameter);
    QFETCH(Reply, reply);
    QFETCH(RequestState, requestNow);
    const ReadReplyOutcome outcome = readReplyOutcome(parameter, reply, requestNow, 32);
    QTEST(outcome.kind, "kind");
    QTEST(outcome.value, "value");
    QTEST(outcome.showInvalid, "showInvalid");
    QTEST(outcome.report, "report");
}

void LinkRulesTest::writeReply_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<int>("cachedValue");
    QTest::addColumn<bool>("programUnderWay");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<int>("request"); // -1: the newer request stands
    QTest::addColumn<QString>("report");
    QTest::addColumn<bool>("unconfirmedInProgram");

    // Every row answers the write of RunCurrent 25.
    const QString notWritten = QStringLiteral("Error: RunCurrent not written to VELD-7316");
    QTest::newRow("confirmed") << good(25) << 25 << false << true << int(R::None) << QString()
                               << false;
    QTest::newRow("confirmed, changed meanwhile")
        << good(25) << 27 << false << true << -1 << QString() << false;
    QTest::newRow("refused is read back")
        << refused << 25 << false << false << int(R::Read) << notWritten << false;
    QTest::newRow("unanswered is read back")
        << missing << 25 << false << false << int(R::Read) << notWritten << false;
    QTest::newRow("refused, changed meanwhile")
        << refused << 27 << false << false << -1 << notWritten << false;
    QTest::newRow("refused in a Program is named at its end")
        << refused << 25 << true << false << int(R::Read) << QString() << true;
}

void LinkRulesTest::writeReply()
{
    QFETCH(Reply, reply);
    QFETCH(int, cachedValue);
    QFETCH(bool, programUnderWay);
    const WriteReplyOutcome outcome =
        writeReplyOutcome(P::RunCurrent, reply, R::Write, cachedValue, 25, programUnderWay);
    QTEST(outcome.confirmed, "confirmed");
    QTEST(outcome.request ? int(*outcome.request) : -1, "request");
    QTEST(outcome.report, "report");
    QTEST(outcome.unconfirmedInProgram, "unconfirmedInProgram");
}

void LinkRulesTest::switchReplies()
{
    // The power stage: the message follows what was confirmed; a switch the
    // user asked for meanwhile stays pending.
    PowerStageReplyOutcome stage = powerStageReplyOutcome(good(1), true, false, false);
    QCOMPARE(stage.status.colour, StatusColour::Green);
    QVERIFY(!stage.endsRequest);
    stage = powerStageReplyOutcome(good(0), false, false, false);
    QCOMPARE(stage.status.message, QStringLiteral("Power stage on. Don not plug / unplug motor!"));
    QVERIFY(stage.endsRequest);
    stage = powerStageReplyOutcome(refused, true, true, true);
    QCOMPARE(stage.status.colour, StatusColour::Red);
    QVERIFY(stage.status.message.contains(QStringLiteral("settings wait")));
    QVERIFY(!stage.endsRequest);

    // The pulse generator: only a confirmation counts as sent.
    PulseGeneratorReplyOutcome pulse = pulseGeneratorReplyOutcome(missing, 0, false, false, true);
    QCOMPARE(pulse.pulseSent, unknownPulse);
    QCOMPARE(pulse.status->message, QLatin1String(pulseGeneratorUnconfirmedMessage));
    pulse = pulseGeneratorReplyOutcome(good(0), -500, true, false, true);
    QCOMPARE(pulse.pulseSent, -500);
    QCOMPARE(pulse.status->message, QStringLiteral("Power stage on. Don not plug / unplug motor!"));
    pulse = pulseGeneratorReplyOutcome(good(0), 0, true, false, false);
    QVERIFY(!pulse.status);
}

QTEST_APPLESS_MAIN(LinkRulesTest)
#include "tst_linkrules.moc"
