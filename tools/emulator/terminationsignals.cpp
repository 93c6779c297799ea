// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/emulator/terminationsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The handler can reach only static storage.
int pipeEnds[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
    (void)ignored;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
}

TerminationSignals::~TerminationSignals()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    delete notifier;
    for (int &end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

bool TerminationSignals::install()
{
    if (::pipe2(pipeEnds, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::drainPipe);

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

void TerminationSignals::drainPipe()
{
    char buffer[16];
    while (::read(pipeEnds[0], buffer, sizeof buffer) > 0) {
    }
    emit terminationRequested();
}
