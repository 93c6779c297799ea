// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainwindow.h"
#include "link/serialports.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QValidator>
#include <QtTest>

#include <memory>

namespace {

QStringList messagesDuringCapture;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    messagesDuringCapture.append(message);
}

QStringList itemTexts(const QComboBox *comboBox)
{
    QStringList texts;
    for (int i = 0; i < comboBox->count(); ++i)
        texts.append(comboBox->itemText(i));
    return texts;
}

// Replaces the whole text with one edit, as a paste over a selection does, so
// the other motor field's rewrite cannot interfere halfway.
void pasteOver(QLineEdit *lineEdit, const QString &text)
{
    lineEdit->selectAll();
    lineEdit->insert(text);
}

// Selects everything and types the text key by key; the first key replaces the selection.
void typeOver(QLineEdit *lineEdit, const QString &text)
{
    lineEdit->selectAll();
    QTest::keyClicks(lineEdit, text);
}

} // namespace

// A freshly constructed window, before any port is opened.
class StartStateTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void settingsControlsStartDisabled_data();
    void settingsControlsStartDisabled();
    void menuActionsStartDisabled();
    void portSelectionStartsUsable();
    void portListEndsWithSimulator();
    void startValues_data();
    void startValues();
    void microstepListHoldsTheSixResolutions();
    void statusBarStartsEmpty();
    void exchangeTimerIsNotRunning();
    void configurationFileDialogStartsHidden();
    void windowSizeIsFixed();
    void motorFieldValidators_data();
    void motorFieldValidators();
    void typedFullStepsSettleWithTheStepAngle_data();
    void typedFullStepsSettleWithTheStepAngle();
    void pastedStepAngleSettlesWithTheFullSteps();
    void destroyingWithoutOpenPortIsQuiet();

private:
    template <typename Child> Child *child(const QString &objectName) const
    {
        return window->findChild<Child *>(objectName);
    }

    // The motor fields take input only while the window is enabled; the
    // simulator enables it without any port.
    bool openSimulator();

    std::unique_ptr<MainWindow> window;
};

void StartStateTest::initTestCase()
{
    // The step angle validator follows the default locale; the texts here use a decimal point.
    QLocale::setDefault(QLocale::c());
}

void StartStateTest::init()
{
    window = std::make_unique<MainWindow>();
}

void StartStateTest::cleanup()
{
    window.reset();
}

bool StartStateTest::openSimulator()
{
    auto *ports = child<QComboBox>(QStringLiteral("serialPortComboBox"));
    ports->setCurrentIndex(ports->findText(QStringLiteral("Simulator")));
    child<QPushButton>(QStringLiteral("openButton"))->click();
    return child<QLineEdit>(QStringLiteral("motorFullStepsLineEdit"))->isEnabled();
}

void StartStateTest::settingsControlsStartDisabled_data()
{
    QTest::addColumn<QString>("objectName");
    for (const char *name : {"closeButton",
                             "microstepComboBox",
                             "x16CheckBox",
                             "doubleEdgeCheckBox",
                             "standbyCurrentGroupBox",
                             "runCurrentLineEdit",
                             "runCurrentDial",
                             "delayLineEdit",
                             "delayDial",
                             "standbyCurrentLineEdit",
                             "standbyCurrentDial",
                             "herzRadioButton",
                             "x100HzRadioButton",
                             "pulseFrequencyLineEdit",
                             "pulseFrequencyDial",
                             "motorFullStepsLineEdit",
                             "motorStepAngleLineEdit",
                             "rpmLineEdit",
                             "rotateLeftButton",
                             "rotateRightButton",
                             "stopButton"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void StartStateTest::settingsControlsStartDisabled()
{
    QFETCH(QString, objectName);
    const QWidget *control = child<QWidget>(objectName);
    QVERIFY(control);
    QVERIFY(!control->isEnabled());
}

void StartStateTest::menuActionsStartDisabled()
{
    for (const QString &name : {QStringLiteral("actionConfiguration_File"),
                                QStringLiteral("actionReset_to_Factory_Defaults")}) {
        const QAction *action = child<QAction>(name);
        QVERIFY2(action, qPrintable(name));
        QVERIFY2(!action->isEnabled(), qPrintable(name));
    }
}

void StartStateTest::portSelectionStartsUsable()
{
    QVERIFY(child<QPushButton>(QStringLiteral("openButton"))->isEnabled());
    QVERIFY(child<QComboBox>(QStringLiteral("serialPortComboBox"))->isEnabled());
}

void StartStateTest::portListEndsWithSimulator()
{
    const QComboBox *ports = child<QComboBox>(QStringLiteral("serialPortComboBox"));
    QVERIFY(ports);
    // The machine may have modules attached; only they come before the simulator.
    const QStringList expected = portItemTexts(availablePorts());
    QCOMPARE(itemTexts(ports), expected);
    QCOMPARE(ports->itemText(ports->count() - 1), QStringLiteral("Simulator"));
    QCOMPARE(ports->currentIndex(), 0);
    if (expected.size() == 1)
        QCOMPARE(ports->currentText(), QStringLiteral("Simulator"));
}

void StartStateTest::startValues_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");

    const auto row = [](const char *objectName, const char *property, const QVariant &expected) {
        QTest::addRow("%s %s", objectName, property)
            << QString::fromLatin1(objectName) << QByteArray(property) << expected;
    };
    row("runCurrentDial", "value", 39);
    row("runCurrentLineEdit", "text", QStringLiteral("1.123A"));
    row("standbyCurrentGroupBox", "checked", false);
    row("standbyCurrentDial", "value", 24);
    row("standbyCurrentLineEdit", "text", QStringLiteral("1.123A"));
    row("delayDial", "value", 0);
    row("delayLineEdit", "text", QStringLiteral("0ms"));
    row("microstepComboBox", "currentText", QStringLiteral("16"));
    row("x16CheckBox", "checked", true);
    row("doubleEdgeCheckBox", "checked", false);
    row("herzRadioButton", "checked", false);
    row("x100HzRadioButton", "checked", true);
    // Shown in Hz although the 100 Hz step is selected.
    row("pulseFrequencyLineEdit", "text", QStringLiteral("0Hz"));
    row("pulseFrequencyDial", "value", 0);
    row("motorFullStepsLineEdit", "text", QStringLiteral("200"));
    row("motorStepAngleLineEdit", "text", QStringLiteral("1.8"));
    row("rpmLineEdit", "text", QStringLiteral("0"));
    row("stopButton", "text", QStringLiteral("Driver On"));
}

void StartStateTest::startValues()
{
    QFETCH(QString, objectName);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);
    const QObject *control = child<QObject>(objectName);
    QVERIFY(control);
    QCOMPARE(control->property(property.constData()), expected);
}

void StartStateTest::microstepListHoldsTheSixResolutions()
{
    const QComboBox *resolutions = child<QComboBox>(QStringLiteral("microstepComboBox"));
    QCOMPARE(itemTexts(resolutions), (QStringList{"8", "16", "32", "64", "128", "256"}));
    QCOMPARE(resolutions->currentIndex(), 1);
}

void StartStateTest::statusBarStartsEmpty()
{
    QCOMPARE(window->statusBar()->currentMessage(), QString());
    QVERIFY(!window->statusBar()->autoFillBackground());
}

void StartStateTest::exchangeTimerIsNotRunning()
{
    const QList<QTimer *> timers =
        window->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(timers.size(), 1);
    QVERIFY(!timers.first()->isActive());
}

void StartStateTest::configurationFileDialogStartsHidden()
{
    window->show();
    const QDialog *dialog = child<QDialog>(QStringLiteral("ConfigurationFile"));
    QVERIFY(dialog);
    QVERIFY(window->isVisible());
    QVERIFY(!dialog->isVisible());
}

void StartStateTest::windowSizeIsFixed()
{
    const QSize fixed(692, 521);
    QCOMPARE(window->size(), fixed);
    QCOMPARE(window->minimumSize(), fixed);
    QCOMPARE(window->maximumSize(), fixed);
}

void StartStateTest::motorFieldValidators_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("acceptable");

    const QString fullSteps = QStringLiteral("motorFullStepsLineEdit");
    const QString stepAngle = QStringLiteral("motorStepAngleLineEdit");
    QTest::newRow("full steps 0") << fullSteps << "0" << true;
    QTest::newRow("full steps 1000") << fullSteps << "1000" << true;
    QTest::newRow("full steps 1001") << fullSteps << "1001" << false;
    QTest::newRow("full steps -1") << fullSteps << "-1" << false;
    QTest::newRow("full steps 1.5") << fullSteps << "1.5" << false;
    QTest::newRow("step angle 360") << stepAngle << "360" << true;
    QTest::newRow("step angle 1.25") << stepAngle << "1.25" << true;
    QTest::newRow("step angle 0") << stepAngle << "0" << true;
    QTest::newRow("step angle 1.255") << stepAngle << "1.255" << false;
    QTest::newRow("step angle 361") << stepAngle << "361" << false;
    QTest::newRow("step angle -1") << stepAngle << "-1" << false;
}

void StartStateTest::motorFieldValidators()
{
    QFETCH(QString, objectName);
    QFETCH(QString, input);
    QFETCH(bool, acceptable);

    const QValidator *validator = child<QLineEdit>(objectName)->validator();
    QVERIFY(validator);
    int position = input.size();
    QCOMPARE(validator->validate(input, position) == QValidator::Acceptable, acceptable);
}

void StartStateTest::typedFullStepsSettleWithTheStepAngle_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fullSteps");
    QTest::addColumn<QString>("stepAngle");
    QTest::newRow("700 comes back as 706") << "700"
                                           << "706"
                                           << "0.51";
    QTest::newRow("999 comes back as 1000") << "999"
                                            << "1000"
                                            << "0.36";
    QTest::newRow("200 stays") << "200"
                               << "200"
                               << "1.80";
}

void StartStateTest::typedFullStepsSettleWithTheStepAngle()
{
    QFETCH(QString, typed);
    QFETCH(QString, fullSteps);
    QFETCH(QString, stepAngle);
    QVERIFY(openSimulator());

    auto *fullStepsEdit = child<QLineEdit>(QStringLiteral("motorFullStepsLineEdit"));
    typeOver(fullStepsEdit, typed);
    QCOMPARE(fullStepsEdit->text(), fullSteps);
    QCOMPARE(child<QLineEdit>(QStringLiteral("motorStepAngleLineEdit"))->text(), stepAngle);
    QCOMPARE(child<QLineEdit>(QStringLiteral("rpmLineEdit"))->text(), QStringLiteral("0"));
}

void StartStateTest::pastedStepAngleSettlesWithTheFullSteps()
{
    QVERIFY(openSimulator());
    auto *fullStepsEdit = child<QLineEdit>(QStringLiteral("motorFullStepsLineEdit"));
    auto *stepAngleEdit = child<QLineEdit>(QStringLiteral("motorStepAngleLineEdit"));
    typeOver(fullStepsEdit, QStringLiteral("400"));
    QCOMPARE(stepAngleEdit->text(), QStringLiteral("0.90"));

    pasteOver(stepAngleEdit, QStringLiteral("1.8"));
    QCOMPARE(fullStepsEdit->text(), QStringLiteral("200"));
    QCOMPARE(stepAngleEdit->text(), QStringLiteral("1.80"));
}

void StartStateTest::destroyingWithoutOpenPortIsQuiet()
{
    messagesDuringCapture.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    window.reset();
    qInstallMessageHandler(previous);
    QCOMPARE(messagesDuringCapture, QStringList());
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

QTEST_MAIN(StartStateTest)

#include "tst_startstate.moc"
