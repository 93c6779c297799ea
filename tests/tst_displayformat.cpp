// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/displayformat.h"

#include <QtTest>

#include <limits>

namespace {

constexpr int runCurrentDialTop = 46;

// Reads a current text back as amperes; NaN when it is neither "…mA" nor "…A".
double amperesOf(const QString &text)
{
    bool ok = false;
    double amperes = std::numeric_limits<double>::quiet_NaN();
    if (text.endsWith(QLatin1String("mA")))
        amperes = text.chopped(2).toDouble(&ok) / 1000;
    else if (text.endsWith(QLatin1Char('A')))
        amperes = text.chopped(1).toDouble(&ok);
    return ok ? amperes : std::numeric_limits<double>::quiet_NaN();
}

QString currentAtDialPosition(int position)
{
    return formatCurrent(runCurrentFromDialPosition(position), isHalfRangeDialPosition(position));
}

} // namespace

class DisplayFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void currentTexts_data();
    void currentTexts();
    void currentRisesOverTheWholeRunCurrentDial();
    void dialPositionsMapBackToThemselves();
    void delayTexts_data();
    void delayTexts();
    void runCurrentDialPositions_data();
    void runCurrentDialPositions();

    void pulseDialNotchesAcrossTheWrap_data();
    void pulseDialNotchesAcrossTheWrap();
    void pulseFrequencyAfterDialMove_data();
    void pulseFrequencyAfterDialMove();
    void frequencyTexts_data();
    void frequencyTexts();
    void motorSpeedTexts_data();
    void motorSpeedTexts();
};

void DisplayFormatTest::currentTexts_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("halfRange");
    QTest::addColumn<QString>("text");
    QTest::newRow("half 0") << 0 << true << "24mA";
    QTest::newRow("half 24") << 24 << true << "608mA";
    QTest::newRow("half 31") << 31 << true << "778mA";
    QTest::newRow("full 5") << 5 << false << "270mA";
    QTest::newRow("full 17") << 17 << false << "809mA";
    QTest::newRow("full 21, last below one ampere") << 21 << false << "988mA";
    QTest::newRow("full 22, first in amperes") << 22 << false << "1.033A";
    QTest::newRow("full 24") << 24 << false << "1.123A";
    QTest::newRow("full 31") << 31 << false << "1.438A";
}

void DisplayFormatTest::currentTexts()
{
    QFETCH(int, value);
    QFETCH(bool, halfRange);
    QFETCH(QString, text);
    QCOMPARE(formatCurrent(value, halfRange), text);
}

void DisplayFormatTest::currentRisesOverTheWholeRunCurrentDial()
{
    QCOMPARE(currentAtDialPosition(0), QStringLiteral("24mA"));
    QCOMPARE(currentAtDialPosition(31), QStringLiteral("778mA"));
    QCOMPARE(currentAtDialPosition(32), QStringLiteral("809mA"));
    QCOMPARE(currentAtDialPosition(runCurrentDialTop), QStringLiteral("1.438A"));

    double previous = 0;
    for (int position = 0; position <= runCurrentDialTop; ++position) {
        const QString text = currentAtDialPosition(position);
        const double amperes = amperesOf(text);
        QVERIFY2(amperes > previous,
                 qPrintable(QStringLiteral("position %1 shows %2").arg(position).arg(text)));
        previous = amperes;
    }
}

void DisplayFormatTest::dialPositionsMapBackToThemselves()
{
    for (int position = 0; position <= runCurrentDialTop; ++position) {
        const int value = runCurrentFromDialPosition(position);
        QVERIFY(value >= 0 && value <= 31);
        QCOMPARE(runCurrentDialPosition(value, isHalfRangeDialPosition(position)), position);
    }
}

void DisplayFormatTest::delayTexts_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0ms";
    QTest::newRow("1") << 1 << "100ms";
    QTest::newRow("9, last in milliseconds") << 9 << "900ms";
    QTest::newRow("10, first in seconds") << 10 << "1.0s";
    QTest::newRow("15") << 15 << "1.5s";
    QTest::newRow("255") << 255 << "25.5s";
}

void DisplayFormatTest::delayTexts()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(formatDelay(value), text);
}

void DisplayFormatTest::runCurrentDialPositions_data()
{
    QTest::addColumn<int>("runCurrent");
    QTest::addColumn<bool>("halfRange");
    QTest::addColumn<int>("position");
    QTest::newRow("24 full") << 24 << false << 39;
    QTest::newRow("24 half") << 24 << true << 24;
    QTest::newRow("5 full, on the half-range part of the dial") << 5 << false << 20;
    QTest::newRow("17 full") << 17 << false << 32;
    QTest::newRow("31 full") << 31 << false << 46;
    QTest::newRow("0 half") << 0 << true << 0;
    QTest::newRow("31 half") << 31 << true << 31;
}

void DisplayFormatTest::runCurrentDialPositions()
{
    QFETCH(int, runCurrent);
    QFETCH(bool, halfRange);
    QFETCH(int, position);
    QCOMPARE(runCurrentDialPosition(runCurrent, halfRange), position);
}

void DisplayFormatTest::pulseDialNotchesAcrossTheWrap_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("notches");
    QTest::newRow("0 to 5") << 0 << 5 << 5;
    QTest::newRow("98 to 2 across the wrap") << 98 << 2 << 4;
    QTest::newRow("2 to 98 across the wrap") << 2 << 98 << -4;
    QTest::newRow("10 to 60, half a turn up") << 10 << 60 << 50;
    QTest::newRow("10 to 61, more than half a turn") << 10 << 61 << -49;
    QTest::newRow("60 to 10, half a turn down") << 60 << 10 << -50;
    QTest::newRow("61 to 10, more than half a turn") << 61 << 10 << 49;
    QTest::newRow("no move") << 37 << 37 << 0;
}

void DisplayFormatTest::pulseDialNotchesAcrossTheWrap()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, notches);
    QCOMPARE(pulseDialNotches(from, to), notches);
}

void DisplayFormatTest::pulseFrequencyAfterDialMove_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("result");
    QTest::newRow("100 Hz steps, 0 to 5") << 0 << 100 << 0 << 5 << 500;
    QTest::newRow("1 Hz steps across the wrap") << 10 << 1 << 98 << 2 << 14;
    QTest::newRow("1 Hz steps back across the wrap") << 10 << 1 << 2 << 98 << 6;
    QTest::newRow("half a turn up") << 0 << 100 << 10 << 60 << 5000;
    QTest::newRow("just over half a turn") << 10000 << 100 << 10 << 61 << 5100;
    QTest::newRow("below 0 stops at 0") << 200 << 100 << 0 << 95 << 0;
    QTest::newRow("above 50000 stops at 50000") << 49900 << 100 << 0 << 5 << 50000;
    QTest::newRow("at 50000 stays there") << 50000 << 1 << 20 << 21 << 50000;
}

void DisplayFormatTest::pulseFrequencyAfterDialMove()
{
    QFETCH(int, frequency);
    QFETCH(int, step);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, result);
    QCOMPARE(clampPulseFrequency(frequency + pulseDialNotches(from, to) * step), result);
}

void DisplayFormatTest::frequencyTexts_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<bool>("inHertz");
    QTest::addColumn<QString>("text");
    QTest::newRow("1500 in Hz") << 1500 << true << "1500Hz";
    QTest::newRow("1500 in kHz") << 1500 << false << "1.500kHz";
    QTest::newRow("0 in Hz") << 0 << true << "0Hz";
    QTest::newRow("0 in kHz") << 0 << false << "0.000kHz";
    QTest::newRow("1 in kHz") << 1 << false << "0.001kHz";
    QTest::newRow("50000 in kHz") << 50000 << false << "50.000kHz";
    QTest::newRow("50000 in Hz") << 50000 << true << "50000Hz";
}

void DisplayFormatTest::frequencyTexts()
{
    QFETCH(int, frequency);
    QFETCH(bool, inHertz);
    QFETCH(QString, text);
    QCOMPARE(formatFrequency(frequency, inHertz), text);
}

void DisplayFormatTest::motorSpeedTexts_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("microsteps");
    QTest::addColumn<double>("fullSteps");
    QTest::addColumn<bool>("turningLeft");
    QTest::addColumn<QString>("text");

    const QString unknown = QString::fromLatin1(unknownMotorSpeed);
    QTest::newRow("1000 Hz") << 1000 << 16 << 200.0 << false << "18.75";
    QTest::newRow("50000 Hz") << 50000 << 16 << 200.0 << false << "937.5";
    QTest::newRow("1 Hz") << 1 << 16 << 200.0 << false << "0.019";
    QTest::newRow("1000 Hz turning left") << 1000 << 16 << 200.0 << true << "-18.75";

    // 16 microsteps of 240 full steps: one rotation per minute is 64 Hz, so the
    // boundaries fall on whole frequencies and exact binary fractions.
    QTest::newRow("exactly 50") << 3200 << 16 << 240.0 << false << "50.00";
    QTest::newRow("just above 50") << 3201 << 16 << 240.0 << false << "50.0";
    QTest::newRow("exactly 1") << 64 << 16 << 240.0 << false << "1.000";
    QTest::newRow("just above 1") << 65 << 16 << 240.0 << false << "1.02";

    QTest::newRow("zero full steps") << 1000 << 16 << 0.0 << false << unknown;
    QTest::newRow("zero full steps turning left") << 1000 << 16 << 0.0 << true << unknown;
    QTest::newRow("negative full steps") << 1000 << 16 << -200.0 << false << unknown;
    QTest::newRow("full steps not a number")
        << 1000 << 16 << std::numeric_limits<double>::quiet_NaN() << false << unknown;
    QTest::newRow("infinite full steps")
        << 1000 << 16 << std::numeric_limits<double>::infinity() << false << unknown;
    QTest::newRow("no microsteps") << 1000 << 0 << 200.0 << false << unknown;

    QTest::newRow("0 Hz turning left") << 0 << 16 << 200.0 << true << "0.000";
    QTest::newRow("0 Hz turning right") << 0 << 16 << 200.0 << false << "0.000";
}

void DisplayFormatTest::motorSpeedTexts()
{
    QFETCH(int, frequency);
    QFETCH(int, microsteps);
    QFETCH(double, fullSteps);
    QFETCH(bool, turningLeft);
    QFETCH(QString, text);
    QCOMPARE(formatMotorSpeed(frequency, microsteps, fullSteps, turningLeft), text);
}

QTEST_APPLESS_MAIN(DisplayFormatTest)

#include "tst_displayformat.moc"
