// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A pseudo-terminal whose slave side looks like a serial port to a program.
// The master side is this process's end of the line. One slave descriptor
// stays open for the terminal's whole life: without it the master reports a
// hang-up whenever the program closes its port.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;
    ~PseudoTerminal();

    // Opens a non-blocking master and a raw slave, under a name no serial port
    // program still holds locked. On failure everything is closed again and
    // errorString() says why.
    bool open();
    // Closes both ends; the slave path disappears from /dev/pts.
    void close();

    bool isOpen() const { return masterFd >= 0; }
    int master() const { return masterFd; }
    QString slavePath() const { return path; }
    QString errorString() const { return error; }

private:
    bool openMaster();
    bool openSlave();
    bool fail(const char *step);

    int masterFd = -1;
    int slaveFd = -1;
    QString path;
    QString error;
};
