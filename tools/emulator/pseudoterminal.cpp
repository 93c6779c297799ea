// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/emulator/pseudoterminal.h"

#include <QLockFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

PseudoTerminal::~PseudoTerminal()
{
    close();
}

namespace {

constexpr int maximumAttempts = 16;

// Serial port programs lock a port by its name. A program whose port sat on a
// terminal that has vanished may not have closed it yet: a new terminal of the
// same name could then not be opened by anyone until it does.
bool isNameLockedByOpenPort(const QString &path)
{
    QString name = path;
    name.remove(QRegularExpression(QStringLiteral("^/dev/")))
        .replace(QLatin1Char('/'), QLatin1Char('_'));
    QLockFile lock(QStringLiteral("/var/lock/LCK..") + name);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

} // namespace

bool PseudoTerminal::open()
{
    close();
    // Names still locked stay taken until a free one comes, then are given back.
    std::vector<int> lockedMasters;
    bool opened = false;
    for (int attempt = 0; attempt < maximumAttempts && !opened; ++attempt) {
        if (!openMaster())
            break;
        opened = !isNameLockedByOpenPort(path);
        if (!opened) {
            lockedMasters.push_back(masterFd);
            masterFd = -1;
        }
    }
    for (int fd : lockedMasters)
        ::close(fd);
    return opened && openSlave();
}

bool PseudoTerminal::openMaster()
{
    // Close-on-exec, like the slave: a program a test starts must not hold
    // the line open, or unplugging would not hang it up.
    masterFd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (masterFd < 0)
        return fail("posix_openpt");
    if (grantpt(masterFd) != 0)
        return fail("grantpt");
    if (unlockpt(masterFd) != 0)
        return fail("unlockpt");
    const char *name = ptsname(masterFd);
    if (!name)
        return fail("ptsname");
    path = QString::fromLocal8Bit(name);
    return true;
}

bool PseudoTerminal::openSlave()
{
    slaveFd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveFd < 0)
        return fail("open slave");
    // Raw from the start: no echo, no line editing, no CR/LF translation,
    // whatever the program on the other side does with its settings.
    termios settings;
    if (tcgetattr(slaveFd, &settings) != 0)
        return fail("tcgetattr");
    cfmakeraw(&settings);
    if (tcsetattr(slaveFd, TCSANOW, &settings) != 0)
        return fail("tcsetattr");
    return true;
}

void PseudoTerminal::close()
{
    if (slaveFd >= 0)
        ::close(slaveFd);
    if (masterFd >= 0)
        ::close(masterFd);
    slaveFd = -1;
    masterFd = -1;
}

bool PseudoTerminal::fail(const char *step)
{
    error =
        QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(strerror(errno)));
    close();
    return false;
}
