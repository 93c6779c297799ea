// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target for the reply handling: a real MainWindow talks through its real
// QSerialPort to a module stand-in on a pseudo-terminal, and the stand-in
// answers every request with bytes taken from the input.
//
// The input is a sequence of records:
//   action   what the user does: an entry of fuzzedActions, the byte modulo
//            their count; the byte divided by their count, when odd, has the
//            user act while the request is on its way instead of before it
//            is sent; the actions that take a number take the next byte
//   length   the reply's length, the byte modulo 13 (0 to 12 bytes)
//   reply    the module's answer to the request, cut short where the input
//            ends
// A record lets the window send one request and apply the answer to it; a
// window with nothing to send leaves the reply unused.
//
// Every input starts a session of its own in which the first eight requests
// are the opening's seven reads and its power-stage switch. Besides crashes,
// the run fails on a request the programmer may not send, a shown "inf" or
// "nan", a dial outside its range, and a power stage shown off that the module
// did not confirm off.

#include "tests/fuzz/replies/fuzzcheck.h"
#include "tests/fuzz/replies/recordchoices.h"
#include "tests/fuzz/replies/replyrig.h"
#include "tests/support/useractions.h"

#include <QApplication>
#include <QDial>
#include <QFile>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>

namespace {

constexpr int longestReply = 12;

struct FuzzedAction
{
    std::optional<UserAction> action; // none: the user does nothing
    bool takesNumber;                 // a dial position, an item, a step count
};

// The order is the one the seed corpus is written in.
constexpr FuzzedAction fuzzedActions[] = {
    {std::nullopt, false},
    {UserAction::DragRunCurrent, true},
    {UserAction::DragStandbyCurrent, true},
    {UserAction::DragDelay, true},
    {UserAction::DragPulseFrequency, true},
    {UserAction::ChooseMicrosteps, true},
    {UserAction::TypeFullSteps, true},
    {UserAction::ClickStandbyBox, false},
    {UserAction::ClickMultiplier, false},
    {UserAction::ClickDoubleEdge, false},
    {UserAction::ClickHertz, false},
    {UserAction::ClickHundredHertz, false},
    {UserAction::ClickRotateLeft, false},
    {UserAction::ClickRotateRight, false},
    {UserAction::ClickStop, false},
    {UserAction::ResetToFactoryDefaults, false},
};
constexpr int actionCount = int(std::size(fuzzedActions));

const char powerStageOffMessage[] = "Power stage is off. You can now plug or unplug the motor.";

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
        const size_t available = qMin(size - offset, size_t(count));
        const QByteArray bytes(reinterpret_cast<const char *>(data + offset), int(available));
        offset += available;
        return bytes;
    }

private:
    const uint8_t *data;
    size_t size;
    size_t offset = 0;
};

void checkShownText(const QString &where, const QString &text)
{
    if (text.contains(QLatin1String("inf")) || text.contains(QLatin1String("nan")))
        failFuzzCheck(QStringLiteral("%1 shows \"%2\"").arg(where, text));
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

void checkDial(const QDial *dial, const DialRange &range)
{
    if (dial->minimum() == range.minimum && dial->maximum() == range.maximum &&
        dial->value() >= range.minimum && dial->value() <= range.maximum)
        return;
    failFuzzCheck(QStringLiteral("%1 at %2 in %3..%4")
                      .arg(QLatin1String(range.objectName))
                      .arg(dial->value())
                      .arg(dial->minimum())
                      .arg(dial->maximum()));
}

void checkInvariants(const ReplyRig &rig)
{
    for (const QLineEdit *edit : rig.window().findChildren<QLineEdit *>())
        checkShownText(edit->objectName(), edit->text());
    const QString status = rig.window().statusBar()->currentMessage();
    checkShownText(QStringLiteral("the status bar"), status);

    for (const DialRange &range : dialRanges)
        checkDial(rig.widget<QDial>(range.objectName), range);

    if (status == QLatin1String(powerStageOffMessage) && !rig.powerStageOffConfirmed())
        failFuzzCheck(QStringLiteral("power stage shown off without a confirmed switch-off"));
}

// What lives for the whole run, in the order it is built.
struct FuzzRun
{
    FuzzRun()
    {
        // A runtime directory of its own keeps other emulators out of the port list.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDirectory.path()));
    }

    QTemporaryDir runtimeDirectory;
    int argc = 1;
    char name[16] = "fuzz_replies";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    std::unique_ptr<ReplyRig> rig;
    RecordChoices choices;
    UserActionHooks unwatched;
    std::unique_ptr<UserActions> user;
};

FuzzRun *run = nullptr;

} // namespace

// Libraries under Qt that keep one-time allocations without a pointer to them:
// not leaks of the code under test.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libqoffscreen.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    run = new FuzzRun;
    if (!run->runtimeDirectory.isValid())
        failFuzzCheck(QStringLiteral("no runtime directory"));
    run->application = std::make_unique<QApplication>(run->argc, run->argv);
    run->rig = std::make_unique<ReplyRig>();
    run->user =
        std::make_unique<UserActions>(run->rig->connectedWindow(), run->choices, run->unwatched);
    std::atexit([] { delete run; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ReplyRig &rig = *run->rig;
    rig.startSession();
    RecordReader input(data, size);
    const auto act = [](const FuzzedAction &fuzzed) {
        if (fuzzed.action)
            run->user->perform(*fuzzed.action);
    };
    while (!input.atEnd()) {
        const int actionByte = input.nextByte();
        const FuzzedAction &fuzzed = fuzzedActions[actionByte % actionCount];
        const bool actsWhileInFlight = actionByte / actionCount % 2 == 1;
        run->choices.take(fuzzed.takesNumber ? input.nextByte() : 0);
        const QByteArray reply = input.nextBytes(input.nextByte() % (longestReply + 1));

        if (!actsWhileInFlight)
            act(fuzzed);
        const bool sent = rig.sendRequest([&reply](const QByteArray &) { return reply; });
        if (actsWhileInFlight)
            act(fuzzed);
        if (sent)
            rig.applyReply();
        checkInvariants(rig);
    }
    return 0;
}
