#pragma once

#include <functional>

// Qt and Xlib end the program with exit(1) from inside whatever call finds
// the connection to the X server or the Wayland compositor broken. exit()
// then destroys the process-wide objects while the capture thread streams,
// the pacing thread waits for a paint that can never come and the main
// window still lives on main's stack: the program hangs or crashes, holding
// the camera and the virtual joystick meanwhile.
//
// While a guard lives, a library's call of exit() runs the guard's last
// words (saving the settings) and ends the process at once with the status
// asked for, running no destructors and no exit handlers; the kernel closes
// the camera, the virtual joystick and every other file with the process.
// Returning from main is not such a call.
class AbruptExitGuard {
public:
    explicit AbruptExitGuard(std::function<void()> lastWords);
    ~AbruptExitGuard();

    AbruptExitGuard(const AbruptExitGuard&) = delete;
    AbruptExitGuard& operator=(const AbruptExitGuard&) = delete;
};
