// Qt 5's QMutex, QWaitCondition and QThread::wait synchronise through futex
// system calls and atomic operations compiled into libQt5Core without
// ThreadSanitizer's instrumentation. ThreadSanitizer therefore sees no
// ordering between two threads that hand data over under a QMutex, or
// between a thread's last work and the return of wait() for it, and reports
// each such access as a data race (Qt 6 annotates these itself; Qt 5 does not).
//
// In the ThreadSanitizer build this library is linked ahead of Qt, so that
// calls to QMutex's out-of-line lock, unlock and tryLock, to
// QWaitCondition::wait and to QThread's start, wait, isFinished and isRunning
// land here. Each one calls Qt's own function and tells ThreadSanitizer what
// it did. Nothing is hidden: an access made without the mutex is still
// reported, and so is a lock-order inversion.
//
// GLib's GMutex, GRecMutex and GCond, under which GStreamer hands buffers from
// the demo camera's feeder to the streaming thread, are futex-based the same
// way; GStreamer's calls to them land here as well and are told as an acquire
// after each lock and a release before each unlock.
#include <QDeadlineTimer>
#include <QMutex>
#include <QThread>
#include <QVariant>
#include <QWaitCondition>
#include <sanitizer/tsan_interface.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

template <typename Function> Function qtFunction(const char* mangledName) {
    void* function = dlvsym(RTLD_NEXT, mangledName, "Qt_5");
    if (!function) {
        std::fprintf(stderr, "Qt annotations: %s not found in Qt\n", mangledName);
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

// A thread's end is published to whoever later sees it finished: just
// before Qt marks a thread finished it emits finished() in that thread.
void QThread::start(Priority priority) {
    static const auto qtStart =
        qtFunction<void (*)(QThread*, Priority)>("_ZN7QThread5startENS_8PriorityE");
    static const char* const kPublishesEnd = "zaredezidThreadSanitizerPublishesEnd";
    if (!property(kPublishesEnd).toBool()) {
        setProperty(kPublishesEnd, true);
        connect(this, &QThread::finished, [this] { __tsan_release(this); });
    }
    qtStart(this, priority);
}

bool QThread::wait(QDeadlineTimer deadline) {
    static const auto qtWait =
        qtFunction<bool (*)(QThread*, QDeadlineTimer)>("_ZN7QThread4waitE14QDeadlineTimer");
    const bool ended = qtWait(this, deadline);
    if (ended)
        __tsan_acquire(this);
    return ended;
}

bool QThread::wait(unsigned long time) {
    static const auto qtWait = qtFunction<bool (*)(QThread*, unsigned long)>("_ZN7QThread4waitEm");
    const bool ended = qtWait(this, time);
    if (ended)
        __tsan_acquire(this);
    return ended;
}

bool QThread::isFinished() const {
    static const auto qtIsFinished =
        qtFunction<bool (*)(const QThread*)>("_ZNK7QThread10isFinishedEv");
    const bool finished = qtIsFinished(this);
    if (finished)
        __tsan_acquire(const_cast<QThread*>(this));
    return finished;
}

bool QThread::isRunning() const {
    static const auto qtIsRunning =
        qtFunction<bool (*)(const QThread*)>("_ZNK7QThread9isRunningEv");
    const bool running = qtIsRunning(this);
    if (!running)
        __tsan_acquire(const_cast<QThread*>(this));
    return running;
}

namespace {

template <typename Function> Function glibFunction(const char* name) {
    void* function = dlsym(RTLD_NEXT, name);
    if (!function) {
        std::fprintf(stderr, "GLib annotations: %s not found in GLib\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(function);
}

using GLockFunction = void (*)(void*);
using GTryLockFunction = int (*)(void*);

} // namespace

// GLib's own types are opaque here: only their addresses matter.
extern "C" {

void g_mutex_lock(void* mutex) {
    static const auto glibLock = glibFunction<GLockFunction>("g_mutex_lock");
    glibLock(mutex);
    __tsan_acquire(mutex);
}

int g_mutex_trylock(void* mutex) {
    static const auto glibTryLock = glibFunction<GTryLockFunction>("g_mutex_trylock");
    const int locked = glibTryLock(mutex);
    if (locked)
        __tsan_acquire(mutex);
    return locked;
}

void g_mutex_unlock(void* mutex) {
    static const auto glibUnlock = glibFunction<GLockFunction>("g_mutex_unlock");
    __tsan_release(mutex);
    glibUnlock(mutex);
}

void g_rec_mutex_lock(void* mutex) {
    static const auto glibLock = glibFunction<GLockFunction>("g_rec_mutex_lock");
    glibLock(mutex);
    __tsan_acquire(mutex);
}

int g_rec_mutex_trylock(void* mutex) {
    static const auto glibTryLock = glibFunction<GTryLockFunction>("g_rec_mutex_trylock");
    const int locked = glibTryLock(mutex);
    if (locked)
        __tsan_acquire(mutex);
    return locked;
}

void g_rec_mutex_unlock(void* mutex) {
    static const auto glibUnlock = glibFunction<GLockFunction>("g_rec_mutex_unlock");
    __tsan_release(mutex);
    glibUnlock(mutex);
}

void g_cond_wait(void* condition, void* mutex) {
    static const auto glibWait = glibFunction<void (*)(void*, void*)>("g_cond_wait");
    __tsan_release(mutex);
    glibWait(condition, mutex);
    __tsan_acquire(mutex);
}

int g_cond_wait_until(void* condition, void* mutex, long long endTime) {
    static const auto glibWaitUntil =
        glibFunction<int (*)(void*, void*, long long)>("g_cond_wait_until");
    __tsan_release(mutex);
    const int signalled = glibWaitUntil(condition, mutex, endTime);
    __tsan_acquire(mutex);
    return signalled;
}

} // extern "C"
