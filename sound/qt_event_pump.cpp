#include "qt_event_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace fw {

namespace {

void RunQtEventsUntil(PlayTime until, const StopCheck& stopRequested) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - SteadyPlayClock::SteadyNow());
    if (stopRequested() || left.count() <= 0)
        return;

    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // The flag is set by an event handler; the dispatcher is about to block once it has run
    // the events at hand, which is the first moment to look.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &loop,
                         [&loop, &stopRequested] {
                             if (stopRequested())
                                 loop.quit();
                         });
    }
    timer.start(left);
    loop.exec(QEventLoop::AllEvents);
}

} // namespace

EventPump QtEventPump() {
    return RunQtEventsUntil;
}

} // namespace fw
