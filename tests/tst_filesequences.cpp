// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/configurationfile.h"
#include "tests/support/answerfilechooser.h"
#include "tests/support/connectedwindow.h"
#include "tests/support/eventwait.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Wire numbers of the module's parameters.
constexpr int runCurrentNumber = 6;
constexpr int standbyCurrentNumber = 7;
constexpr int resolutionNumber = 140;
constexpr int multiplierNumber = 160;
constexpr int doubleEdgeNumber = 161;
constexpr int halfRangeNumber = 179;
constexpr int delayNumber = 214;
constexpr int code16Microsteps = 4;
constexpr int code32Microsteps = 3;

const QString readingFile = QStringLiteral("Reading values from file ...");
const QString programming = QStringLiteral("Programming values to VELD-7316 ...");
const QString programmed = QStringLiteral("Values written to VELD-7316.");
const QString readingDone = QStringLiteral("Reading done.");

const QStringList allVerified{"HalfCurrentRange verfiy OK!",    "RunCurrent verify OK!",
                              "StandbyCurrent verify OK!",      "StandbyCurrentDelay verify OK!",
                              "MicroStepResolution verify OK!", "MicroStepMultiplier verify OK!",
                              "MicroStepDoubleEdge verify OK!"};

// The module's settings when the port is opened: those the window starts with
// for the microstep settings, others of its own for the currents.
const QByteArray moduleSettingsFile("HalfCurrentRange FALSE\nRunCurrent 24\nStandbyCurrent 12\n"
                                    "StandbyCurrentDelay 7\nMicroStepResolution 16\n"
                                    "MicroStepMultiplier TRUE\nMicroStepDoubleEdge FALSE\n");

QString setFrame(int number, int value)
{
    const int address = 1;
    const int command = 5;
    return hexFrame(
        {address, command, number, 0, 0, 0, 0, value, (address + command + number + value) % 256});
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFileSequences : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readSavesTheModuleSettings();
    void programSetsControlsAndWritesTheModule_data();
    void programSetsControlsAndWritesTheModule();
    void verifyAfterProgramConfirmsAll();
    void verifyConfirmsOnlyModuleValues_data();
    void verifyConfirmsOnlyModuleValues();
    void readKeepsTheFileWithoutEveryModuleValue_data();
    void readKeepsTheFileWithoutEveryModuleValue();
    void refusedWritesAreNamed();
    void readPressedTwiceEndsOnce();
    void programDuringReadEndsTheRead();
    void readWhoseFileCannotBeWrittenSaysSo();
    void programInterruptedByOpeningThePortSaysSo();

private:
    template <typename Widget> Widget *control(const char *objectName) const
    {
        return fixture->widget<Widget>(objectName);
    }
    QStringList log() const;
    bool logHas(const QString &line) const { return log().contains(line); }
    bool waitForLogLine(const QString &line) const;
    void click(const char *buttonName) const;
    // Opens the dialog and chooses a file with the content; returns its path.
    QString chooseFile(const QString &name, const QByteArray &content);

    std::unique_ptr<QTemporaryDir> directory;
    std::unique_ptr<ConnectedWindow> fixture;
    ConfigurationFile *dialog = nullptr;
};

void TestFileSequences::init()
{
    directory = std::make_unique<QTemporaryDir>();
    QVERIFY(directory->isValid());
    fixture = std::make_unique<ConnectedWindow>();
    FakeModule &module = fixture->module;
    module.setParameter(halfRangeNumber, 0);
    module.setParameter(runCurrentNumber, 24);
    module.setParameter(standbyCurrentNumber, 12);
    module.setParameter(delayNumber, 7);
    module.setParameter(resolutionNumber, code16Microsteps);
    module.setParameter(multiplierNumber, 1);
    module.setParameter(doubleEdgeNumber, 0);
    dialog = fixture->window->findChild<ConfigurationFile *>();
    QVERIFY(dialog);
}

void TestFileSequences::cleanup()
{
    fixture.reset();
    directory.reset();
}

QStringList TestFileSequences::log() const
{
    const QString text =
        dialog->findChild<QPlainTextEdit *>(QStringLiteral("configurationFileLogTextEdit"))
            ->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

bool TestFileSequences::waitForLogLine(const QString &line) const
{
    return waitUntil([&] { return logHas(line); });
}

void TestFileSequences::click(const char *buttonName) const
{
    dialog->findChild<QPushButton *>(QLatin1String(buttonName))->click();
}

QString TestFileSequences::chooseFile(const QString &name, const QByteArray &content)
{
    const QString path = directory->filePath(name);
    if (!content.isNull() && !writeFile(path, content))
        return QString();
    dialog->show();
    ChooserSeen seen;
    answerFileChooser(path, &seen);
    click("fileSelectButton");
    return seen.shown ? path : QString();
}

void TestFileSequences::readSavesTheModuleSettings()
{
    QVERIFY(fixture->open());
    FakeModule &module = fixture->module;
    module.setParameter(halfRangeNumber, 1);
    module.setParameter(runCurrentNumber, 20);
    module.setParameter(standbyCurrentNumber, 10);
    module.setParameter(delayNumber, 100);
    module.setParameter(multiplierNumber, 0);
    module.setParameter(doubleEdgeNumber, 1);
    const QString path = chooseFile(QStringLiteral("saved.txt"), QByteArray());
    QVERIFY(!path.isEmpty());

    click("readButton");

    const QStringList expected{readingFile,
                               "Reading values from VELD-7316 ...",
                               "HalfCurrentRange = TRUE",
                               "RunCurrent = 20",
                               "StandbyCurrent = 10",
                               "StandbyCurrentDelay = 100",
                               "MicroStepResolution = 16",
                               "MicroStepMultiplier = FALSE",
                               "MicroStepDoubleEdge = TRUE",
                               readingDone,
                               "Writing to file ...",
                               "MicroStepResolution = 16",
                               "MicroStepMultiplier = FALSE",
                               "MicroStepDoubleEdge = TRUE",
                               "HalfCurrentRange = TRUE",
                               "RunCurrent = 20",
                               "StandbyCurrent = 10",
                               "StandbyCurrentDelay = 100"};
    QVERIFY(waitUntil([&] { return log().size() >= expected.size(); }));
    QVERIFY(fixture->waitUntilQuiet());
    QCOMPARE(log(), expected);
    QCOMPARE(fileContent(path), QByteArray("MicroStepResolution 16\nMicroStepMultiplier FALSE\n"
                                           "MicroStepDoubleEdge TRUE\nHalfCurrentRange TRUE\n"
                                           "RunCurrent 20\nStandbyCurrent 10\n"
                                           "StandbyCurrentDelay 100\n"));
}

void TestFileSequences::programSetsControlsAndWritesTheModule_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("halfRange");
    QTest::addColumn<int>("standbyCurrent");
    QTest::addColumn<int>("runCurrentDialPosition");
    QTest::addColumn<bool>("ownStandbyCurrent");

    QTest::newRow("full range, own standby current")
        << QByteArray("HalfCurrentRange FALSE\nRunCurrent 20\nStandbyCurrent 10\n"
                      "StandbyCurrentDelay 50\nMicroStepResolution 32\n"
                      "MicroStepMultiplier TRUE\nMicroStepDoubleEdge FALSE\n")
        << 0 << 10 << 35 << true;
    QTest::newRow("half range, standby as run current")
        << QByteArray("HalfCurrentRange TRUE\nRunCurrent 20\nStandbyCurrent 20\n"
                      "StandbyCurrentDelay 50\nMicroStepResolution 32\n"
                      "MicroStepMultiplier TRUE\nMicroStepDoubleEdge FALSE\n")
        << 1 << 20 << 20 << false;
}

void TestFileSequences::programSetsControlsAndWritesTheModule()
{
    QFETCH(QByteArray, file);
    QFETCH(int, halfRange);
    QFETCH(int, standbyCurrent);
    QFETCH(int, runCurrentDialPosition);
    QFETCH(bool, ownStandbyCurrent);
    QVERIFY(fixture->open());
    QVERIFY(control<QCheckBox>("x16CheckBox")->isChecked());
    QVERIFY(!chooseFile(QStringLiteral("program.txt"), file).isEmpty());

    click("writeButton");

    // The controls change at once, before anything is sent.
    QCOMPARE(control<QDial>("runCurrentDial")->value(), runCurrentDialPosition);
    QCOMPARE(control<QDial>("standbyCurrentDial")->value(), standbyCurrent);
    QCOMPARE(control<QDial>("delayDial")->value(), 50);
    QCOMPARE(control<QGroupBox>("standbyCurrentGroupBox")->isChecked(), ownStandbyCurrent);
    QCOMPARE(control<QDial>("standbyCurrentDial")->isEnabled(), ownStandbyCurrent);
    QCOMPARE(control<QDial>("delayDial")->isEnabled(), ownStandbyCurrent);
    QCOMPARE(control<QComboBox>("microstepComboBox")->currentText(), QStringLiteral("32"));
    QVERIFY(control<QCheckBox>("x16CheckBox")->isChecked());
    QVERIFY(!control<QCheckBox>("doubleEdgeCheckBox")->isChecked());

    QVERIFY(waitForLogLine(programmed));
    QVERIFY(fixture->waitUntilQuiet());
    QCOMPARE(log().mid(8), (QStringList{programming, programmed}));
    QCOMPARE(
        fixture->distinctFrames(),
        (QStringList{setFrame(runCurrentNumber, 20), setFrame(standbyCurrentNumber, standbyCurrent),
                     setFrame(resolutionNumber, code32Microsteps), setFrame(multiplierNumber, 1),
                     setFrame(doubleEdgeNumber, 0), setFrame(halfRangeNumber, halfRange),
                     setFrame(delayNumber, 50)}));
    QCOMPARE(fixture->module.parameter(multiplierNumber), 1);
    QCOMPARE(fixture->module.parameter(resolutionNumber), code32Microsteps);
}

void TestFileSequences::verifyAfterProgramConfirmsAll()
{
    QVERIFY(fixture->open());
    QVERIFY(!chooseFile(QStringLiteral("program.txt"),
                        "RunCurrent 31\nStandbyCurrent 0\nHalfCurrentRange TRUE\n"
                        "MicroStepResolution 256\nMicroStepMultiplier FALSE\n"
                        "MicroStepDoubleEdge TRUE\nStandbyCurrentDelay 255\n")
                 .isEmpty());
    click("writeButton");
    QVERIFY(waitForLogLine(programmed));

    click("verifyButton");

    QCOMPARE(log().mid(10),
             QStringList{"Verify values ..."} + allVerified + QStringList{"Verify complete."});
}

void TestFileSequences::verifyConfirmsOnlyModuleValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("silentModule");
    QTest::addColumn<int>("moduleRunCurrent");
    QTest::addColumn<QStringList>("verified");

    QByteArray otherRunCurrent = moduleSettingsFile;
    otherRunCurrent.replace("RunCurrent 24", "RunCurrent 25");
    QStringList sixVerified = allVerified;
    sixVerified.removeAll(QStringLiteral("RunCurrent verify OK!"));
    QStringList runCurrentUnknown = allVerified;
    runCurrentUnknown[1] = QStringLiteral("RunCurrent not verified: value in VELD-7316 unknown!");
    QStringList nothingKnown;
    for (const QString &line : allVerified)
        nothingKnown << line.section(QLatin1Char(' '), 0, 0) +
                            QStringLiteral(" not verified: value in VELD-7316 unknown!");

    QTest::newRow("a value differs") << otherRunCurrent << false << 24 << sixVerified;
    // The window's start value, 24, was never the module's.
    QTest::newRow("module sent a value out of range")
        << moduleSettingsFile << false << 40 << runCurrentUnknown;
    QTest::newRow("module silent since opening")
        << moduleSettingsFile << true << 24 << nothingKnown;
}

void TestFileSequences::verifyConfirmsOnlyModuleValues()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, silentModule);
    QFETCH(int, moduleRunCurrent);
    QFETCH(QStringList, verified);

    fixture->module.setParameter(runCurrentNumber, moduleRunCurrent);
    if (silentModule) {
        FakeModuleFaults silent;
        silent.silent = true;
        fixture->module.setFaults(silent);
        QVERIFY(fixture->selectModulePort());
        fixture->clickOpen();
        QVERIFY(fixture->waitForFrames(2));
    } else {
        QVERIFY(fixture->open());
    }
    QVERIFY(!chooseFile(QStringLiteral("verified.txt"), file).isEmpty());
    const int framesBefore = fixture->frames().size();

    click("verifyButton");

    QCOMPARE(log().mid(8),
             QStringList{"Verify values ..."} + verified + QStringList{"Verify complete."});
    // Verify compares cached values only: the module hears nothing new.
    if (!silentModule) {
        processEventsFor(200);
        QCOMPARE(fixture->frames().size(), framesBefore);
    }
}

void TestFileSequences::readKeepsTheFileWithoutEveryModuleValue_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("parameter");

    QTest::newRow("RunCurrent 40") << runCurrentNumber << 40 << "RunCurrent";
    QTest::newRow("resolution code 6") << resolutionNumber << 6 << "MicroStepResolution";
    QTest::newRow("HalfCurrentRange byte 2") << halfRangeNumber << 2 << "HalfCurrentRange";
}

void TestFileSequences::readKeepsTheFileWithoutEveryModuleValue()
{
    QFETCH(int, number);
    QFETCH(int, byte);
    QFETCH(QString, parameter);

    QVERIFY(fixture->open());
    const QByteArray before("kept as it was\n");
    const QString path = chooseFile(QStringLiteral("kept.txt"), before);
    QVERIFY(!path.isEmpty());
    fixture->module.setParameter(number, byte);

    click("readButton");

    const QStringList ending{readingDone,
                             "ERROR: VELD-7316 sent no valid value for " + parameter + "!",
                             "File not written."};
    QVERIFY(waitForLogLine(ending.last()));
    QVERIFY(fixture->waitUntilQuiet());
    QCOMPARE(log().mid(log().size() - 3), ending);
    QCOMPARE(fileContent(path), before);
}

void TestFileSequences::refusedWritesAreNamed()
{
    QVERIFY(fixture->open());
    FakeModuleFaults faults;
    faults.refuseWrites = true;
    fixture->module.setFaults(faults);
    QByteArray file = moduleSettingsFile;
    file.replace("StandbyCurrent 12", "StandbyCurrent 3");
    QVERIFY(!chooseFile(QStringLiteral("refused.txt"), file).isEmpty());

    click("writeButton");

    const QString refusal = QStringLiteral(
        "ERROR: VELD-7316 did not confirm RunCurrent, StandbyCurrent, MicroStepResolution, "
        "MicroStepMultiplier, MicroStepDoubleEdge, HalfCurrentRange, StandbyCurrentDelay!");
    QVERIFY(waitForLogLine(refusal));
    QVERIFY(fixture->waitUntilQuiet());
    QVERIFY(!logHas(programmed));
    QCOMPARE(log().last(), refusal);
    QCOMPARE(fixture->module.parameter(standbyCurrentNumber), 12);

    // Once the Program is over, a refusal of a control's write is told in the
    // status bar; the log keeps only what the Program did.
    dialog->hide();
    QSignalSpy shown(fixture->window->statusBar(), &QStatusBar::messageChanged);
    ConnectedWindow::drag(control<QDial>("delayDial"), 9);
    const QList<QVariant> notWritten{
        QStringLiteral("Error: StandbyCurrentDelay not written to VELD-7316")};
    QVERIFY(waitUntil([&] { return shown.contains(notWritten); }));
    QCOMPARE(log().last(), refusal);
}

void TestFileSequences::readPressedTwiceEndsOnce()
{
    QVERIFY(fixture->open());
    const QString path = chooseFile(QStringLiteral("twice.txt"), QByteArray());
    QVERIFY(!path.isEmpty());

    click("readButton");
    QVERIFY(fixture->waitForFrames(1));
    click("readButton");

    QVERIFY(waitForLogLine(readingDone));
    QVERIFY(fixture->waitUntilQuiet());
    QCOMPARE(log().count(readingDone), 1);
    QCOMPARE(log().count(QStringLiteral("Writing to file ...")), 1);
    QCOMPARE(fileContent(path), QByteArray("MicroStepResolution 16\nMicroStepMultiplier TRUE\n"
                                           "MicroStepDoubleEdge FALSE\nHalfCurrentRange FALSE\n"
                                           "RunCurrent 24\nStandbyCurrent 12\n"
                                           "StandbyCurrentDelay 7\n"));
}

void TestFileSequences::programDuringReadEndsTheRead()
{
    QVERIFY(fixture->open());
    // Not as the writer would put it, so that a write would show.
    const QByteArray file("runcurrent 20\nstandbycurrent 10\n");
    const QString path = chooseFile(QStringLiteral("kept.txt"), file);
    QVERIFY(!path.isEmpty());

    click("readButton");
    QVERIFY(fixture->waitForFrames(1));
    click("writeButton");

    QVERIFY(waitForLogLine(programmed));
    QVERIFY(fixture->waitUntilQuiet());
    QVERIFY(!logHas(readingDone));
    QCOMPARE(fileContent(path), file);
}

void TestFileSequences::readWhoseFileCannotBeWrittenSaysSo()
{
    QVERIFY(fixture->open());
    const QString path = chooseFile(QStringLiteral("gone.txt"), QByteArray());
    QVERIFY(!path.isEmpty());
    // A directory now stands where the file was; no permission lets that be written.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));

    click("readButton");

    const QString failure = "ERROR: cannot write file <" + path + ">!";
    QVERIFY(waitForLogLine(failure));
    QVERIFY(fixture->waitUntilQuiet());
    QCOMPARE(log().mid(log().size() - 2), (QStringList{readingDone, failure}));
}

void TestFileSequences::programInterruptedByOpeningThePortSaysSo()
{
    // The simulator queues the Program's writes but sends nothing.
    auto *ports = control<QComboBox>("serialPortComboBox");
    ports->setCurrentIndex(ports->findText(QStringLiteral("Simulator")));
    fixture->clickOpen();
    QVERIFY(!chooseFile(QStringLiteral("waiting.txt"), moduleSettingsFile).isEmpty());
    click("writeButton");
    control<QPushButton>("closeButton")->click();

    QVERIFY(fixture->open());

    QVERIFY(fixture->waitUntilQuiet());
    QCOMPARE(log().mid(8),
             (QStringList{programming, "ERROR: Programming interrupted by opening "
                                       "the port! Values not written to VELD-7316."}));
}

QTEST_MAIN(TestFileSequences)
#include "tst_filesequences.moc"
