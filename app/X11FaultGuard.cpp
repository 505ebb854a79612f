#include "app/X11FaultGuard.h"

#include <QGuiApplication>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

std::atomic<xcb_connection_t*> guardedConnection{nullptr};
struct sigaction previousAction;

// Reading the connection's error flag and writing to a file are safe in a
// signal handler; exit() is not, but the process is ending either way, and
// it is the very call Xlib makes on a broken connection.
void onFault(int) {
    xcb_connection_t* connection = guardedConnection.load();
    if (connection && xcb_connection_has_error(connection)) {
        static const char message[] = "zaredezid: the display went away under the GL driver\n";
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
        std::exit(EXIT_FAILURE);
    }
    // Returning repeats the faulting instruction, now under the earlier handler.
    sigaction(SIGSEGV, &previousAction, nullptr);
}

} // namespace

X11FaultGuard::X11FaultGuard() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        return;
    }
    guardedConnection = x11->connection();
    struct sigaction action = {};
    action.sa_handler = onFault;
    sigemptyset(&action.sa_mask);
    installed = sigaction(SIGSEGV, &action, &previousAction) == 0;
}

X11FaultGuard::~X11FaultGuard() {
    if (installed) {
        sigaction(SIGSEGV, &previousAction, nullptr);
    }
    guardedConnection = nullptr;
}
