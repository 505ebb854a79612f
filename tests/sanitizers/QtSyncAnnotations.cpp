// Qt 6 tells ThreadSanitizer about QMutex's lock, unlock and tryLock in its
// headers, so code built with ThreadSanitizer reports them. QWaitCondition's
// wait, though, gives the mutex up and takes it again inside libQt6Core,
// which is built without ThreadSanitizer; it would see the waiting thread
// keep the mutex while another takes it. And QThread::wait synchronises
// through futex system calls it cannot see, so it sees no ordering between a
// thread's last work and the return of wait() for it, and reports each such
// access as a data race.
//
// In the ThreadSanitizer build this library is linked ahead of Qt, so that
// calls to QWaitCondition::wait and to QThread's start, wait, isFinished and
// isRunning land here. Each one calls Qt's own function and tells
// ThreadSanitizer what it did. Nothing is hidden: an access made without the
// mutex is still reported, and so is a lock-order inversion.
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
    void* function = dlvsym(RTLD_NEXT, mangledName, "Qt_6");
    if (!function) {
        std::fprintf(stderr, "Qt annotations: %s not found in Qt\n", mangledName);
        std::abort();
    }
    return reinterpret_cast<Function>(function);
}

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
