#include "app/X11FaultGuard.h"
#include "app/AbruptExitGuard.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

namespace {

// As when the X server ends: the socket closes and the next request fails.
void breakConnection(xcb_connection_t* connection) {
    shutdown(xcb_get_file_descriptor(connection), SHUT_RDWR);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// A read through a null pointer, as the GL driver makes.
void fault() {
    volatile int* volatile nowhere = nullptr;
    std::printf("%d\n", *nowhere);
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
