// Fuzz target for the reply handling: a real MainWindow talks through its real
// QSerialPort to a module stand-in on a pseudo-terminal, and the stand-in
// answers every request with bytes taken from the input.
//
// The input is a sequence of records:
//   action   what the user does first (UserAction, the byte modulo their
//            count); the actions that need a number take the next byte
//   length   the reply's length, the byte modulo 13 (0 to 12 bytes)
//   reply    the module's answer to the next request, cut short where the
//            input ends
// After its action, each record runs the window's tick until it has sent one
// request and applied the answer to it, or has found nothing to send.
//
// Each input starts from a fresh window that has just opened the port, so the
// first eight records answer the opening's seven reads and its power-stage
// switch.

#include "tests/fuzz/allowedrequests.h"
#include "tests/support/connectedwindow.h"
#include "tests/support/modaldialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int exchangeIntervalMs = 20;
constexpr int longestReply = 12;
constexpr int replyFrameSize = 9;
constexpr int replyStatusByte = 2;
constexpr int successStatus = 100;
// Event passes a sent request needs to reach the stand-in: one for the port to
// write it, one for the stand-in to read it, with room to spare.
constexpr int deliveryPasses = 16;

const char powerStageOffMessage[] = "Power stage is off. You can now plug or unplug the motor.";

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "fuzz_replies: %s\n", qPrintable(what));
    std::fflush(stderr);
    std::abort();
}

// The stand-in's side of the script: answers the one request it is told to
// expect with the given bytes, checks every request it receives, and notes
// what the last power-stage switch was answered with.
class ScriptedModule
{
public:
    explicit ScriptedModule(FakeModule &module)
    {
        module.setReplyOverride([this](const QByteArray &request) { return answer(request); });
    }

    void expectRequest(const QByteArray &reply)
    {
        nextReply = reply;
        expecting = true;
    }
    // Returns whether the expected request came and was answered.
    bool endExpecting()
    {
        const bool answered = !expecting;
        expecting = false;
        return answered;
    }
    bool answered() const { return !expecting; }
    bool powerStageOffConfirmed() const { return offConfirmed; }
    void reset() { offConfirmed = false; }

private:
    QByteArray answer(const QByteArray &request)
    {
        const QString fault = requestFrameFault(request);
        if (!fault.isEmpty())
            fail(QStringLiteral("request %1: %2").arg(QString::fromLatin1(request.toHex(' ')), fault));
        if (!expecting)
            fail(QStringLiteral("request %1 came outside an exchange")
                     .arg(QString::fromLatin1(request.toHex(' '))));
        expecting = false;
        if (isPowerStageRequest(request))
            offConfirmed = isPowerStageOffRequest(request) && nextReply.size() >= replyFrameSize
                           && quint8(nextReply.at(replyStatusByte)) == successStatus;
        return nextReply;
    }

    QByteArray nextReply;
    bool expecting = false;
    bool offConfirmed = false;
};

enum class UserAction {
    None,
    DragRunCurrent,
    DragStandbyCurrent,
    DragDelay,
    DragPulseFrequency,
    SelectResolution,
    TypeFullSteps,
    ClickStandbyBox,
    ClickMultiplier,
    ClickDoubleEdge,
    ClickHertz,
    ClickHundredHertz,
    RotateLeft,
    RotateRight,
    Stop,
    FactoryResetOk,
    Count
};

bool takesArgument(UserAction action)
{
    return action >= UserAction::DragRunCurrent && action <= UserAction::TypeFullSteps;
}

// Reads the input record by record.
class RecordReader
{
public:
    RecordReader(const uint8_t *data, size_t size)
        : data(data)
        , size(size)
    {
    }

    bool atEnd() const { return offset >= size; }
    int nextByte() { return atEnd() ? 0 : data[offset++]; }
    QByteArray nextBytes(int count)
    {
        const int available = int(qMin(size - offset, size_t(count)));
        const QByteArray bytes(reinterpret_cast<const char *>(data + offset), available);
        offset += size_t(available);
        return bytes;
    }

private:
    const uint8_t *data;
    size_t size;
    size_t offset = 0;
};

// The window, the stand-in and the ticks, all in this process. The window's
// own timer is stopped: the ticks come from here, one after the other, so no
// reply is ever raced by a tick and nothing waits 20 ms.
class ReplyFuzzRig
{
public:
    ReplyFuzzRig()
        : script(rig.module)
    {
    }

    MainWindow &window() const { return *rig.window; }
    template<typename Widget>
    Widget *widget(const char *objectName) const
    {
        return rig.widget<Widget>(objectName);
    }

    void startFreshWindow()
    {
        rig.window.reset();
        rig.module.clearReceivedFrames();
        script.reset();
        rig.window = std::make_unique<MainWindow>();
        if (!rig.selectModulePort())
            fail(QStringLiteral("the stand-in's port is not in the window's list"));
        rig.clickOpen();
        if (!widget<QPushButton>("closeButton")->isEnabled())
            fail(QStringLiteral("the window did not open the stand-in's port"));
        stopExchangeTimer();
    }

    // Lets the window send its next request and apply the reply to it.
    // Returns whether a request went out.
    bool exchange(const QByteArray &reply)
    {
        script.expectRequest(reply);
        tick();
        for (int pass = 0; pass < deliveryPasses && !script.answered(); ++pass)
            QCoreApplication::processEvents();
        if (!script.endExpecting())
            return false;
        tick();
        return true;
    }

    bool powerStageOffConfirmed() const { return script.powerStageOffConfirmed(); }

private:
    void tick() { QMetaObject::invokeMethod(rig.window.get(), "on_timerEvent"); }

    void stopExchangeTimer()
    {
        int stopped = 0;
        for (QTimer *timer :
             window().findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (timer->isActive() && timer->interval() == exchangeIntervalMs) {
                timer->stop();
                ++stopped;
            }
        }
        if (stopped != 1)
            fail(QStringLiteral("%1 exchange timers found").arg(stopped));
    }

    ConnectedWindow rig;
    ScriptedModule script;
};

void drag(QDial *dial, int argument)
{
    if (!dial->isEnabled())
        return;
    const int positions = dial->maximum() - dial->minimum() + 1;
    ConnectedWindow::drag(dial, dial->minimum() + argument % positions);
}

void typeText(QLineEdit *edit, const QString &text)
{
    if (!edit->isEnabled())
        return;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void confirmFactoryReset(QAction *reset)
{
    if (!reset->isEnabled())
        return;
    answerNextMessageBox(QMessageBox::Ok);
    reset->trigger();
}

// Does what a user does with the controls; disabled controls take no input.
void apply(const ReplyFuzzRig &rig, UserAction action, int argument)
{
    switch (action) {
    case UserAction::None:
    case UserAction::Count:
        return;
    case UserAction::DragRunCurrent:
        return drag(rig.widget<QDial>("runCurrentDial"), argument);
    case UserAction::DragStandbyCurrent:
        return drag(rig.widget<QDial>("standbyCurrentDial"), argument);
    case UserAction::DragDelay:
        return drag(rig.widget<QDial>("delayDial"), argument);
    case UserAction::DragPulseFrequency:
        return drag(rig.widget<QDial>("pulseFrequencyDial"), argument);
    case UserAction::SelectResolution: {
        auto *list = rig.widget<QComboBox>("microstepComboBox");
        if (list->isEnabled())
            list->setCurrentIndex(argument % list->count());
        return;
    }
    case UserAction::TypeFullSteps:
        return typeText(rig.widget<QLineEdit>("motorFullStepsLineEdit"),
                        QString::number(argument * 4));
    case UserAction::ClickStandbyBox: {
        auto *box = rig.widget<QGroupBox>("standbyCurrentGroupBox");
        if (box->isEnabled())
            QTest::keyClick(box, Qt::Key_Space);
        return;
    }
    case UserAction::ClickMultiplier:
        return rig.widget<QCheckBox>("x16CheckBox")->click();
    case UserAction::ClickDoubleEdge:
        return rig.widget<QCheckBox>("doubleEdgeCheckBox")->click();
    case UserAction::ClickHertz:
        return rig.widget<QRadioButton>("herzRadioButton")->click();
    case UserAction::ClickHundredHertz:
        return rig.widget<QRadioButton>("x100HzRadioButton")->click();
    case UserAction::RotateLeft:
        return rig.widget<QPushButton>("rotateLeftButton")->click();
    case UserAction::RotateRight:
        return rig.widget<QPushButton>("rotateRightButton")->click();
    case UserAction::Stop:
        return rig.widget<QPushButton>("stopButton")->click();
    case UserAction::FactoryResetOk:
        return confirmFactoryReset(rig.widget<QAction>("actionReset_to_Factory_Defaults"));
    }
}

void checkShownText(const QString &where, const QString &text)
{
    if (text.contains(QLatin1String("inf")) || text.contains(QLatin1String("nan")))
        fail(QStringLiteral("%1 shows \"%2\"").arg(where, text));
}

struct DialRange
{
    const char *objectName;
    int minimum;
    int maximum;
};

constexpr DialRange dialRanges[] = {
    {"runCurrentDial", 0, 46},
    {"standbyCurrentDial", 0, 31},
    {"delayDial", 0, 255},
    {"pulseFrequencyDial", 0, 99},
};

void checkInvariants(const ReplyFuzzRig &rig)
{
    for (const QLineEdit *edit : rig.window().findChildren<QLineEdit *>())
        checkShownText(edit->objectName(), edit->text());
    const QString status = rig.window().statusBar()->currentMessage();
    checkShownText(QStringLiteral("the status bar"), status);

    for (const DialRange &range : dialRanges) {
        const QDial *dial = rig.widget<QDial>(range.objectName);
        if (dial->minimum() != range.minimum || dial->maximum() != range.maximum
            || dial->value() < range.minimum || dial->value() > range.maximum)
            fail(QStringLiteral("%1 at %2 in %3..%4")
                     .arg(QLatin1String(range.objectName))
                     .arg(dial->value())
                     .arg(dial->minimum())
                     .arg(dial->maximum()));
    }

    if (status == QLatin1String(powerStageOffMessage) && !rig.powerStageOffConfirmed())
        fail(QStringLiteral("power stage shown off without a confirmed switch-off"));
}

// Objects of the whole run, in the order they must be built.
struct FuzzRun
{
    FuzzRun()
    {
        // A runtime directory of its own keeps other emulators out of the port list.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_RUNTIME_DIR", runtimeDirectory.path().toLocal8Bit());
    }

    QTemporaryDir runtimeDirectory;
    int argc = 1;
    char name[16] = "fuzz_replies";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    std::unique_ptr<ReplyFuzzRig> rig;
};

FuzzRun *run = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    run = new FuzzRun;
    if (!run->runtimeDirectory.isValid())
        fail(QStringLiteral("no runtime directory"));
    run->application = std::make_unique<QApplication>(run->argc, run->argv);
    run->rig = std::make_unique<ReplyFuzzRig>();
    std::atexit([] { delete run; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ReplyFuzzRig &rig = *run->rig;
    rig.startFreshWindow();
    RecordReader input(data, size);
    // Only a user action can give a cycle that found nothing to send something again.
    bool cycleIdle = false;
    while (!input.atEnd()) {
        const auto action = UserAction(input.nextByte() % int(UserAction::Count));
        const int argument = takesArgument(action) ? input.nextByte() : 0;
        const QByteArray reply = input.nextBytes(input.nextByte() % (longestReply + 1));
        apply(rig, action, argument);
        if (cycleIdle && action == UserAction::None)
            continue;
        cycleIdle = !rig.exchange(reply);
        checkInvariants(rig);
    }
    return 0;
}
