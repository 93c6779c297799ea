// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/soak/loopgapwatch.h"
#include "tests/soak/modalwatchdog.h"
#include "tests/soak/soakfigures.h"
#include "tests/soak/soakrandom.h"
#include "tests/soak/soaksession.h"
#include "tests/soak/soaksettings.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

namespace {

constexpr int shortestSessionMs = 4000;
constexpr int longestSessionMs = 12000;
// Far longer than any script keeps a dialog up.
constexpr int modalLimitMs = 30000;

} // namespace

// The whole program against a misbehaving module for a while: random user
// actions, random module faults, invariants checked throughout. The seed is
// printed first; setting VELD_SOAK_SEED to it repeats the run.
class SoakTest : public QObject
{
    Q_OBJECT

private slots:
    void windowAndModuleAgreeThroughFaults();
};

void SoakTest::windowAndModuleAgreeThroughFaults()
{
    const SoakSettings settings = SoakSettings::fromEnvironment();
    qInfo().noquote() << QStringLiteral("soak seed %1 for %2 s; VELD_SOAK_SEED=%1 repeats it")
                             .arg(settings.seed)
                             .arg(settings.seconds);
    SoakRandom random(settings.seed);
    SoakFigures figures;
    figures.seed = settings.seed;
    figures.seconds = settings.seconds;
    LoopGapWatch clock;
    ModalWatchdog watchdog(modalLimitMs);

    const qint64 end = qint64(settings.seconds) * 1000;
    QString failure;
    for (int number = 0; clock.now() < end && failure.isEmpty(); ++number) {
        qint64 until = clock.now() + random.between(shortestSessionMs, longestSessionMs);
        if (end - until < shortestSessionMs)
            until = end;
        // The second session always ends with an unplug, others now and then.
        const bool unplugAtEnd = number == 1 || random.chance(20);
        SoakSession session(number, random, figures, clock);
        ++figures.sessions;
        const bool held = session.run(until, unplugAtEnd);
        const QStringList complaints = watchdog.complaints();
        if (!held || !complaints.isEmpty())
            failure = QStringLiteral("seed %1, session %2:\n%3\n%4")
                          .arg(settings.seed)
                          .arg(number)
                          .arg(complaints.join(QLatin1Char('\n')), session.report());
    }
    qInfo().noquote() << figures.line();
    // Test messages are cut short; the whole report goes to the output.
    if (!failure.isEmpty())
        std::fputs(qPrintable(failure + QLatin1Char('\n')), stdout);
    QVERIFY2(failure.isEmpty(), "an invariant failed; the report is printed above");
}

// QtTest stops a test function after five minutes unless told otherwise; a
// longer soak gets its own length and five minutes more.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT")) {
        constexpr int marginSeconds = 300;
        const qint64 limitMs =
            (qint64(SoakSettings::fromEnvironment().seconds) + marginSeconds) * 1000;
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(limitMs));
    }
    SoakTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_soak.moc"
