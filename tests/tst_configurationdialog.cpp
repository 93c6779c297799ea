// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/configurationfile.h"
#include "app/mainwindow.h"
#include "tests/support/answerfilechooser.h"
#include "tests/support/modaldialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QString pleaseSelect = QStringLiteral("Please select file name!");
const QString readingHeader = QStringLiteral("Reading values from file ...");

// Says yes to every message box that comes up within the time and counts
// them, so that an unexpected question cannot block the test.
void answerQuestionsFor(int milliseconds, int *asked, QObject *owner)
{
    auto *poll = new QTimer(owner);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [=] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++*asked;
            if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                yes->click();
            else
                box->reject();
        }
        if (clock->elapsed() > milliseconds)
            poll->deleteLater();
    });
    poll->start(10);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestConfigurationDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void actionsBeforeAFileWasChosenAskForOne_data();
    void actionsBeforeAFileWasChosenAskForOne();
    void chooserAsksForATextFileToSave();
    void choosingANewNameCreatesIt();
    void choosingAnExistingFileAsksNothing();
    void cancellingTheChooserForgetsTheFile();
    void fileWithAnInvalidValueKeepsTheActionsRefused();
    void okButtonClosesTheDialog();
    void dialogKeepsItsStateAcrossOpenings();

private:
    template <typename Widget> Widget *dialogWidget(const char *objectName) const
    {
        return dialog->findChild<Widget *>(QLatin1String(objectName));
    }
    QStringList log() const;
    void choose(const QString &path, ChooserSeen *seen = nullptr);
    void openSimulator();
    // Opens the dialog from the Tools menu; the action runs while it is shown.
    void openThroughMenu(const std::function<void()> &whileShown);

    std::unique_ptr<QTemporaryDir> directory;
    std::unique_ptr<MainWindow> window;
    ConfigurationFile *dialog = nullptr;
};

void TestConfigurationDialog::init()
{
    directory = std::make_unique<QTemporaryDir>();
    QVERIFY(directory->isValid());
    window = std::make_unique<MainWindow>();
    dialog = window->findChild<ConfigurationFile *>();
    QVERIFY(dialog);
}

void TestConfigurationDialog::cleanup()
{
    window.reset();
    directory.reset();
}

QStringList TestConfigurationDialog::log() const
{
    const QString text =
        dialogWidget<QPlainTextEdit>("configurationFileLogTextEdit")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TestConfigurationDialog::choose(const QString &path, ChooserSeen *seen)
{
    ChooserSeen ignored;
    answerFileChooser(path, seen ? seen : &ignored);
    dialogWidget<QPushButton>("fileSelectButton")->click();
}

void TestConfigurationDialog::openSimulator()
{
    auto *ports = window->findChild<QComboBox *>(QStringLiteral("serialPortComboBox"));
    ports->setCurrentIndex(ports->findText(QStringLiteral("Simulator")));
    window->findChild<QPushButton *>(QStringLiteral("openButton"))->click();
}

void TestConfigurationDialog::openThroughMenu(const std::function<void()> &whileShown)
{
    auto *action = window->findChild<QAction *>(QStringLiteral("actionConfiguration_File"));
    QVERIFY(action->isEnabled());
    // Never leave the test waiting in the dialog's event loop.
    QTimer fallback;
    fallback.setSingleShot(true);
    connect(&fallback, &QTimer::timeout, dialog, &QDialog::reject);
    fallback.start(2000);
    whenModalShown([this, whileShown](QWidget *modal) {
        if (modal == dialog)
            whileShown();
    });
    action->trigger();
}

void TestConfigurationDialog::actionsBeforeAFileWasChosenAskForOne_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Program") << QStringLiteral("writeButton");
    QTest::newRow("Verify") << QStringLiteral("verifyButton");
    QTest::newRow("Read") << QStringLiteral("readButton");
}

void TestConfigurationDialog::actionsBeforeAFileWasChosenAskForOne()
{
    QFETCH(QString, button);
    dialog->show();
    auto *pressed = dialog->findChild<QPushButton *>(button);

    pressed->click();
    QCOMPARE(log(), QStringList{pleaseSelect});
    pressed->click();
    QCOMPARE(log(), (QStringList{pleaseSelect, pleaseSelect}));
}

void TestConfigurationDialog::chooserAsksForATextFileToSave()
{
    dialog->show();
    ChooserSeen seen;
    choose(directory->filePath(QStringLiteral("a.txt")), &seen);

    QVERIFY(seen.shown);
    QCOMPARE(seen.title, QStringLiteral("Configuration File"));
    QCOMPARE(seen.nameFilters, QStringList{"Files (*.txt)"});
    QVERIFY(seen.acceptsSave);
    QVERIFY(!seen.confirmsOverwrite);
}

void TestConfigurationDialog::choosingANewNameCreatesIt()
{
    const QString path = directory->filePath(QStringLiteral("new.txt"));
    dialog->show();

    choose(path);

    QCOMPARE(dialogWidget<QLineEdit>("filePathLineEdit")->text(), path);
    QVERIFY(QFile::exists(path));
    QCOMPARE(log(), QStringList{readingHeader});
    dialogWidget<QPushButton>("verifyButton")->click();
    QCOMPARE(log().at(1), QStringLiteral("Verify values ..."));
    QCOMPARE(log().last(), QStringLiteral("Verify complete."));
}

void TestConfigurationDialog::choosingAnExistingFileAsksNothing()
{
    const QString path = directory->filePath(QStringLiteral("existing.txt"));
    QVERIFY(writeFile(path, "RunCurrent 5\n"));
    dialog->show();
    int asked = 0;
    answerQuestionsFor(3000, &asked, this);

    choose(path);

    QCOMPARE(asked, 0);
    QCOMPARE(log(), (QStringList{readingHeader, "RunCurrent = 5"}));
    QCOMPARE(dialogWidget<QLineEdit>("filePathLineEdit")->text(), path);
}

void TestConfigurationDialog::cancellingTheChooserForgetsTheFile()
{
    dialog->show();
    choose(directory->filePath(QStringLiteral("first.txt")));
    QCOMPARE(log(), QStringList{readingHeader});

    choose(QString());

    QCOMPARE(dialogWidget<QLineEdit>("filePathLineEdit")->text(), QString());
    QCOMPARE(log().last(), QStringLiteral("ERROR: cannot open file <>!"));
    dialogWidget<QPushButton>("readButton")->click();
    QCOMPARE(log().last(), pleaseSelect);
}

void TestConfigurationDialog::fileWithAnInvalidValueKeepsTheActionsRefused()
{
    const QString path = directory->filePath(QStringLiteral("invalid.txt"));
    QVERIFY(writeFile(path, "RunCurrent 40\n"));
    dialog->show();

    choose(path);
    dialogWidget<QPushButton>("writeButton")->click();

    QCOMPARE(log(), (QStringList{readingHeader,
                                 "ERROR: Invalid value for \"RunCurrent\"! Value out of range "
                                 "(0..31)!",
                                 pleaseSelect}));
}

void TestConfigurationDialog::okButtonClosesTheDialog()
{
    openSimulator();
    bool wasVisible = false;
    QSize shownSize;
    QElapsedTimer clock;
    clock.start();

    openThroughMenu([&] {
        wasVisible = dialog->isVisible();
        shownSize = dialog->size();
        dialogWidget<QPushButton>("okButton")->click();
    });

    QVERIFY(wasVisible);
    QCOMPARE(shownSize, QSize(380, 353));
    QVERIFY(!dialog->isVisible());
    // Closed by the button, not by the fallback that ends a stuck dialog.
    QVERIFY(clock.elapsed() < 2000);
}

void TestConfigurationDialog::dialogKeepsItsStateAcrossOpenings()
{
    const QString path = directory->filePath(QStringLiteral("kept.txt"));
    QVERIFY(writeFile(path, "StandbyCurrent 3\n"));
    openSimulator();
    openThroughMenu([&] {
        choose(path);
        dialogWidget<QPushButton>("okButton")->click();
    });
    const QStringList firstLog = log();
    QCOMPARE(firstLog, (QStringList{readingHeader, "StandbyCurrent = 3"}));

    QString pathShown;
    QStringList logShown;
    QSize minimumSize;
    QSize maximumSize;
    openThroughMenu([&] {
        pathShown = dialogWidget<QLineEdit>("filePathLineEdit")->text();
        logShown = log();
        minimumSize = dialog->minimumSize();
        maximumSize = dialog->maximumSize();
        // The file chosen before still serves, without choosing it again.
        dialogWidget<QPushButton>("verifyButton")->click();
        dialogWidget<QPushButton>("okButton")->click();
    });

    QCOMPARE(pathShown, path);
    QCOMPARE(logShown, firstLog);
    QCOMPARE(minimumSize, QSize(380, 353));
    QCOMPARE(maximumSize, QSize(380, 353));
    QCOMPARE(log().mid(2, 1), QStringList{"Verify values ..."});
    QCOMPARE(log().last(), QStringLiteral("Verify complete."));
}

QTEST_MAIN(TestConfigurationDialog)
#include "tst_configurationdialog.moc"
