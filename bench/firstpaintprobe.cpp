// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/processfigures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_DUMP_STATS_AT(reason)
#endif

// Linked into a start-up harness beside an unchanged main: it hooks into the
// application object's construction, so the program under test needs no
// change to be timed.

namespace {

// Watches every event of the application for the first paint of a top-level
// window, the moment the user first sees it, then reports and quits.
class FirstPaintProbe : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            seen = true;
            const double startupMs = millisecondsSinceLaunch();
            // Under callgrind, what was counted up to here goes to a file of its own.
            CALLGRIND_DUMP_STATS_AT("first paint");
            // Memory is read once the paint and its flush are done.
            QTimer::singleShot(0, this, [startupMs] {
                std::printf("startup_ms %.3f\npeak_kib %ld\nanon_kib %ld\n", startupMs,
                            processStatusKiB("VmHWM"), processStatusKiB("RssAnon"));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool seen = false;
};

void installFirstPaintProbe()
{
    QCoreApplication *application = QCoreApplication::instance();
    application->installEventFilter(new FirstPaintProbe(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaintProbe)
