#include "tools/emulator/pseudoterminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open()
{
    close();
    masterFd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
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

    slaveFd = ::open(name, O_RDWR | O_NOCTTY);
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
