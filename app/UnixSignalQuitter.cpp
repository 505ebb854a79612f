#include "app/UnixSignalQuitter.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Both ends of the socket pair: [0] is written by the handler, [1] is read by
// the event loop. Only one quitter exists at a time.
int signalSockets[2] = {-1, -1};
constexpr int kHandledSignals[] = {SIGINT, SIGTERM};

extern "C" void writeSignalByte(int) {
    const char byte = 1;
    // Nothing useful can be done about a failed write inside a handler.
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, sizeof byte);
}

void installHandlers(void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kHandledSignals)
        sigaction(signalNumber, &action, nullptr);
}

} // namespace

UnixSignalQuitter::UnixSignalQuitter(QObject* parent)
    : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &UnixSignalQuitter::readSignal);
    installHandlers(writeSignalByte);
}

UnixSignalQuitter::~UnixSignalQuitter() {
    if (!notifier)
        return;
    installHandlers(SIG_DFL);
    delete notifier;
    for (int& socket : signalSockets) {
        ::close(socket);
        socket = -1;
    }
}

void UnixSignalQuitter::readSignal() {
    char byte = 0;
    if (::read(signalSockets[1], &byte, sizeof byte) <= 0)
        return;
    quitRequestedOnce = true;
    emit quitRequested();
}
