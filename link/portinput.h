// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QIODevice>

// Everything that has arrived on the module's port, or on any device that
// stands in for it, read without waiting; collected even if the port's
// notifier has not run yet. Bytes that come outside a reply's time are read
// out like this and dropped rather than purged: a purge aborts the pending
// read on Windows, which reports it like a pulled cable.
inline QByteArray receivedBytes(QIODevice &device)
{
    device.waitForReadyRead(0);
    return device.readAll();
}
