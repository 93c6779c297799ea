// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/emulator/fakemodule.h"
#include "tools/emulator/framehex.h"
#include "tools/emulator/terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

struct Options
{
    QString logFile;
    bool announce = true;
    bool seedGiven = false;
    quint32 seed = 0;
    FakeModuleFaults faults;
};

// Reads a non-negative number option; reports and returns false on anything else.
bool readCount(const QCommandLineParser &parser, const QString &name, int &target)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0) {
        QTextStream(stderr) << "Invalid value for --" << name << ": " << parser.value(name) << '\n';
        return false;
    }
    target = value;
    return true;
}

bool parseOptions(const QCoreApplication &app, Options &options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for a VELD-7316 module on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("log"), QStringLiteral("Append received frames to FILE."),
         QStringLiteral("FILE")},
        {QStringLiteral("silent"), QStringLiteral("Never answer.")},
        {QStringLiteral("late"), QStringLiteral("Answer MS milliseconds late."),
         QStringLiteral("MS")},
        {QStringLiteral("partial"), QStringLiteral("Send only the first K bytes of each reply."),
         QStringLiteral("K")},
        {QStringLiteral("refuse-writes"), QStringLiteral("Refuse commands 1, 5 and 14.")},
        {QStringLiteral("out-of-range"), QStringLiteral("Answer reads with out-of-range values.")},
        {QStringLiteral("garbage"),
         QStringLiteral("Random bytes in every reply byte but status and value.")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the random generator."),
         QStringLiteral("N")},
        {QStringLiteral("unplug-after"), QStringLiteral("Vanish on receiving the Nth frame."),
         QStringLiteral("N")},
        {QStringLiteral("no-announce"), QStringLiteral("Do not announce the port.")},
    });
    parser.process(app);

    int seed = 0;
    if (!readCount(parser, QStringLiteral("late"), options.faults.lateMs) ||
        !readCount(parser, QStringLiteral("partial"), options.faults.partialBytes) ||
        !readCount(parser, QStringLiteral("unplug-after"), options.faults.unplugAfterFrames) ||
        !readCount(parser, QStringLiteral("seed"), seed))
        return false;
    options.seedGiven = parser.isSet(QStringLiteral("seed"));
    options.seed = quint32(seed);
    options.logFile = parser.value(QStringLiteral("log"));
    options.announce = !parser.isSet(QStringLiteral("no-announce"));
    options.faults.silent = parser.isSet(QStringLiteral("silent"));
    options.faults.refuseWrites = parser.isSet(QStringLiteral("refuse-writes"));
    options.faults.outOfRange = parser.isSet(QStringLiteral("out-of-range"));
    options.faults.garbage = parser.isSet(QStringLiteral("garbage"));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veld7316-emulator"));
    Options options;
    if (!parseOptions(app, options))
        return 1;

    QTextStream out(stdout);
    QTextStream err(stderr);
    FakeModule module;
    if (!module.start()) {
        err << "Cannot create a pseudo-terminal: " << module.errorString() << '\n';
        return 1;
    }
    module.setFaults(options.faults);
    if (options.seedGiven)
        module.setSeed(options.seed);
    // Runs for hours; the in-memory frame list is for tests only.
    QObject::connect(&module, &FakeModule::frameReceived, &module,
                     &FakeModule::clearReceivedFrames);
    if (!options.logFile.isEmpty()) {
        if (!module.setLogFile(options.logFile)) {
            err << "Cannot open log file " << options.logFile << '\n';
            return 1;
        }
    } else {
        QObject::connect(&module, &FakeModule::frameReceived, [&out](const QByteArray &frame) {
            out << frameHexText(frame) << Qt::endl;
        });
    }
    if (options.announce && !module.announce())
        err << "Cannot announce the port in " << portAnnouncementDirectory() << '\n';

    TerminationSignals termination;
    if (!termination.install()) {
        err << "Cannot watch for termination signals\n";
        return 1;
    }
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app,
                     &QCoreApplication::quit);

    out << "VELD-7316 emulator on " << module.portName() << Qt::endl;
    return app.exec();
}
