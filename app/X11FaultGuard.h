#pragma once

// When the X server ends just as a window's GL surface is made, Mesa's GLX
// can fault inside the driver, its request on the broken connection having
// got no reply, instead of leaving the broken connection to Xlib. The program
// would then die by SIGSEGV, instead of ending through Xlib's handling of a
// broken connection, which saves the settings first (see AbruptExitGuard).
//
// While a guard lives, a segmentation fault with the application's X
// connection broken is taken for the display's loss and ends the program as
// Xlib does, with exit(1). Any other fault goes on to the handler there was
// before, so a real fault still crashes, with a sanitizer's report where one
// runs.
class X11FaultGuard {
public:
    // Guards the application's X connection; does nothing on other platforms.
    X11FaultGuard();
    ~X11FaultGuard();

    X11FaultGuard(const X11FaultGuard&) = delete;
    X11FaultGuard& operator=(const X11FaultGuard&) = delete;

private:
    bool installed = false;
};
