#pragma once

#include <QByteArray>
#include <QIODevice>

// Reading the module's replies off its port, or off any device that stands in
// for it.

// Bytes that came outside a reply's time are read out and dropped rather than
// purged: a purge aborts the pending read on Windows, which reports it like a
// pulled cable. Returns how many there were.
inline int discardStrayInput(QIODevice &device)
{
    device.waitForReadyRead(0);
    return int(device.readAll().size());
}

// What has arrived of a reply, all of it, without waiting; collected even if
// the port's notifier has not run yet. More than a frame is no reply.
inline QByteArray receivedReplyBytes(QIODevice &device)
{
    device.waitForReadyRead(0);
    return device.readAll();
}
