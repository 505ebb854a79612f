#include "app/X11FaultGuard.h"
#include "app/AbruptExitGuard.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// As when the X server ends: the socket closes and the next request fails.
void breakConnection(xcb_connection_t* connection) {
    shutdown(xcb_get_file_descriptor(connection), SHUT_RDWR);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// A read of memory the process may not read, as the GL driver makes: a
// page mapped without access, which no sanitizer takes for a fault of its
// own before the processor does.
void fault() {
    void* page = mmap(nullptr, std::size_t(sysconf(_SC_PAGESIZE)), PROT_NONE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    std::printf("%d\n", *static_cast<volatile int*>(page));
}

// A fault with the X connection whole is no loss of the display, and the
// process dies of it as it would without the guard; under a sanitizer its
// handler ends the process with a report and the sanitizer's status.
bool notEndedAsTheDisplaysLoss(int status) {
    return !(WIFEXITED(status) && WEXITSTATUS(status) == EXIT_FAILURE);
}

} // namespace

// A fault inside the GL driver after the X server has gone ends the program
// as the display's loss does: the settings are saved and the status is 1.
TEST(X11FaultGuardDeathTest, AFaultWithTheXConnectionBrokenIsTheDisplaysLoss) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) {
        GTEST_SKIP() << "the display is not an X server";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto guardedFault = [x11](bool broken) {
        const AbruptExitGuard exitGuard([] { std::fputs("settings saved\n", stderr); });
        const X11FaultGuard faultGuard;
        if (broken) {
            breakConnection(x11->connection());
        }
        fault();
    };
    EXPECT_EXIT(guardedFault(true), testing::ExitedWithCode(EXIT_FAILURE),
                "display went away.*\n.*settings saved");
    EXPECT_EXIT(guardedFault(false), notEndedAsTheDisplaysLoss, "");
}
