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
    // Also wakes a paused loop, which would otherwise sleep forever.
    stopMe();
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

// Takes the lock only for the flag and the wake-up, which the loop never
// holds across a ping(), so this returns at once as before.
void RunnerThr::stopMe() {
    QMutexLocker locker(&mutex);
    stop = true;
    pauseEnded.wakeAll();
}

void RunnerThr::pauseMe() {
    QMutexLocker locker(&mutex);
    paused = true;
}

void RunnerThr::resumeMe() {
    QMutexLocker locker(&mutex);
    paused = false;
    pauseEnded.wakeAll();
}

void RunnerThr::run() {
    for (;;) {
        QThread::msleep(kSleepMilliseconds);
        if (awaitResumeThenLeaveIfStopped())
            return;
        emit ping();
        if (leaveIfStopped())
            return;
    }
}

// A ping() already under way when the pause came still completes; the loop
// holds back before the next one.
bool RunnerThr::awaitResumeThenLeaveIfStopped() {
    QMutexLocker locker(&mutex);
    while (paused && !stop)
        pauseEnded.wait(&mutex);
    return leaveIfStoppedLocked();
}

bool RunnerThr::leaveIfStopped() {
    QMutexLocker locker(&mutex);
    return leaveIfStoppedLocked();
}

bool RunnerThr::leaveIfStoppedLocked() {
    if (!stop)
        return false;
    looping = false;
    return true;
}
