#include "view/RunnerThr.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace {
// The only pacing: with the paint time added, at most about 166 frames a second.
constexpr unsigned long kSleepMilliseconds = 6;
// How long the destructor waits for the loop between two looks at the
// events that a blocked ping() may be waiting for.
constexpr unsigned long kJoinSliceMilliseconds = 5;
} // namespace

RunnerThr::~RunnerThr() {
    stop = true;
    // A ping() still in flight can only complete when the thread that owns
    // its receiver runs the queued call. That thread may be this one, so
    // waiting blindly could deadlock: drop the connection first so that no
    // new ping is posted, and keep delivering the calls already posted to
    // objects of this thread while waiting.
    disconnect(this, &RunnerThr::ping, nullptr, nullptr);
    while (!wait(kJoinSliceMilliseconds)) {
        if (QCoreApplication::instance())
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
}

bool RunnerThr::isPacing() const {
    QMutexLocker locker(&mutex);
    return looping;
}

void RunnerThr::startMe() {
    {
        QMutexLocker locker(&mutex);
        stop = false;
        if (looping)
            return;
        looping = true;
    }
    // The loop has decided to end (or never ran). It emits nothing after that
    // decision, so waiting for it to finish cannot wait on a ping() delivery.
    wait();
    start(QThread::InheritPriority);
}

void RunnerThr::stopMe() {
    stop = true;
}

void RunnerThr::run() {
    for (;;) {
        QThread::msleep(kSleepMilliseconds);
        if (leaveIfStopped())
            return;
        emit ping();
        if (leaveIfStopped())
            return;
    }
}

bool RunnerThr::leaveIfStopped() {
    QMutexLocker locker(&mutex);
    if (!stop)
        return false;
    looping = false;
    return true;
}
