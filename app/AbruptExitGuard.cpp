#include "app/AbruptExitGuard.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>
#include <utility>

namespace {

// How long a second thread that finds the display gone waits for the first
// to save the settings and end the process, before it ends the process
// itself.
constexpr unsigned kSecondCallerWaitSeconds = 3;

enum class Guard { Disarmed, Armed, Ending };

std::function<void()> lastWords;
std::atomic<Guard> guard{Guard::Disarmed};
thread_local bool endingInThisThread = false;
// A child forked from this process shares the flag, but not the settings to
// save: its own ends stay its own.
pid_t guardedProcess = 0;

using ExitFunction = void (*)(int);

ExitFunction libraryFunction(const char* name) {
    return reinterpret_cast<ExitFunction>(dlsym(RTLD_NEXT, name));
}

// Looked up at start-up: a child between vfork() and exec() may call _exit(),
// and must not run the dynamic linker in its parent's memory.
const ExitFunction libraryExit = libraryFunction("exit");
const ExitFunction libraryQuickExit = libraryFunction("_exit");

// Qt's Wayland platform reads the display in a thread of its own as well, so
// two threads may find the display gone at the same moment.
void endGuardedAtOnce(int status) {
    if (getpid() != guardedProcess || endingInThisThread)
        return;
    Guard armed = Guard::Armed;
    if (guard.compare_exchange_strong(armed, Guard::Ending)) {
        endingInThisThread = true;
        lastWords();
        std::fputs("zaredezid: ending at once\n", stderr);
        std::fflush(nullptr);
        std::_Exit(status);
    }
    if (armed == Guard::Ending)
        sleep(kSecondCallerWaitSeconds);
}

} // namespace

AbruptExitGuard::AbruptExitGuard(std::function<void()> words) {
    lastWords = std::move(words);
    guardedProcess = getpid();
    guard = Guard::Armed;
}

AbruptExitGuard::~AbruptExitGuard() {
    Guard armed = Guard::Armed;
    guard.compare_exchange_strong(armed, Guard::Disarmed);
}

// The program exports these two (see app/CMakeLists.txt), so the libraries'
// calls come here instead of the C library's: Qt's X11 platform and Xlib
// call exit(), Qt's Wayland platform _exit(). Nothing has been destroyed yet
// when they are called, unlike in a handler registered with atexit(), which
// runs after everything made later, such as Qt's own caches.
extern "C" void exit(int status) noexcept {
    endGuardedAtOnce(status);
    libraryExit(status);
    std::abort();
}

extern "C" void _exit(int status) noexcept {
    endGuardedAtOnce(status);
    libraryQuickExit(status);
    std::abort();
}
