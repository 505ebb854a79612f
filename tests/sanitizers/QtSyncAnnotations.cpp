// Qt 5's QMutex and QWaitCondition lock and wait with futex system calls and
// atomic operations compiled into libQt5Core without ThreadSanitizer's
// instrumentation. ThreadSanitizer therefore sees no ordering between two
// threads that hand data over under a QMutex and reports each such access as
// a data race (Qt 6 annotates its mutex itself; Qt 5 does not).
//
// In the ThreadSanitizer build this library is linked ahead of Qt, so that
// the program's calls to QMutex's out-of-line lock, unlock and tryLock, and to
// QWaitCondition::wait, land here. Each one calls Qt's own function and tells
// ThreadSanitizer what it did to the mutex. Nothing is hidden: an access made
// without the mutex is still reported, and so is a lock-order inversion.
#include <QDeadlineTimer>
#include <QMutex>
#include <QWaitCondition>
#include <sanitizer/tsan_interface.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

template <typename Function> Function qtFunction(const char* mangledName) {
    void* function = dlvsym(RTLD_NEXT, mangledName, "Qt_5");
    if (!function) {
        std::fprintf(stderr, "QMutex annotations: %s not found in Qt\n", mangledName);
        std::abort();
    }
    return reinterpret_cast<Function>(function);
}

using LockFunction = void (*)(QMutex*);
using TryLockFunction = bool (*)(QMutex*, int);
using WaitFunction = bool (*)(QWaitCondition*, QMutex*, unsigned long);
using WaitUntilFunction = bool (*)(QWaitCondition*, QMutex*, QDeadlineTimer);

void annotateRelease(void* mutex) {
    __tsan_mutex_pre_unlock(mutex, 0);
    __tsan_mutex_post_unlock(mutex, 0);
}

void annotateAcquire(void* mutex) {
    __tsan_mutex_pre_lock(mutex, 0);
    __tsan_mutex_post_lock(mutex, 0, 0);
}

} // namespace

void QMutex::lock() QT_MUTEX_LOCK_NOEXCEPT {
    static const auto qtLock = qtFunction<LockFunction>("_ZN6QMutex4lockEv");
    __tsan_mutex_pre_lock(this, 0);
    qtLock(this);
    __tsan_mutex_post_lock(this, 0, 0);
}

bool QMutex::tryLock(int timeout) QT_MUTEX_LOCK_NOEXCEPT {
    static const auto qtTryLock = qtFunction<TryLockFunction>("_ZN6QMutex7tryLockEi");
    __tsan_mutex_pre_lock(this, __tsan_mutex_try_lock);
    const bool locked = qtTryLock(this, timeout);
    __tsan_mutex_post_lock(
        this, locked ? __tsan_mutex_try_lock : __tsan_mutex_try_lock | __tsan_mutex_try_lock_failed,
        0);
    return locked;
}

void QMutex::unlock() noexcept {
    static const auto qtUnlock = qtFunction<LockFunction>("_ZN6QMutex6unlockEv");
    __tsan_mutex_pre_unlock(this, 0);
    qtUnlock(this);
    __tsan_mutex_post_unlock(this, 0);
}

// The wait gives the mutex up and takes it again before it returns.
bool QWaitCondition::wait(QMutex* mutex, unsigned long time) {
    static const auto qtWait = qtFunction<WaitFunction>("_ZN14QWaitCondition4waitEP6QMutexm");
    annotateRelease(mutex);
    const bool woken = qtWait(this, mutex, time);
    annotateAcquire(mutex);
    return woken;
}

bool QWaitCondition::wait(QMutex* mutex, QDeadlineTimer deadline) {
    static const auto qtWait =
        qtFunction<WaitUntilFunction>("_ZN14QWaitCondition4waitEP6QMutex14QDeadlineTimer");
    annotateRelease(mutex);
    const bool woken = qtWait(this, mutex, deadline);
    annotateAcquire(mutex);
    return woken;
}
