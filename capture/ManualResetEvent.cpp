#include "capture/ManualResetEvent.h"

#include <QDeadlineTimer>

void ManualResetEvent::set() {
    QMutexLocker locker(&mutex_);
    signalled_ = true;
    changed_.wakeAll();
}

void ManualResetEvent::reset() {
    QMutexLocker locker(&mutex_);
    signalled_ = false;
}

bool ManualResetEvent::isSet() const {
    QMutexLocker locker(&mutex_);
    return signalled_;
}

bool ManualResetEvent::waitFor(int milliseconds) const {
    QDeadlineTimer deadline(milliseconds);
    QMutexLocker locker(&mutex_);
    while (!signalled_) {
        if (!changed_.wait(&mutex_, deadline)) {
            return signalled_;
        }
    }
    return true;
}
