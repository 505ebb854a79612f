#pragma once

#include <QString>

// The kernel's virtual camera (vivid), which the device tests' virtual
// machine loads.
namespace vivid {

struct Node {
    QString path;
    // The name the driver gives its card, which the device list shows.
    QString card;
};

// Its capture node; empty where the driver is not loaded.
Node find();
// Whether this machine was started to have it, so that its absence is a
// failure rather than a reason to skip.
bool mustBePresent();

} // namespace vivid

// In a test body or SetUp: skips the test where the camera's node is empty,
// or fails it where this machine should have the camera.
#define SKIP_UNLESS_VIVID_PRESENT(node)                                                            \
    do {                                                                                           \
        if (!(node).path.isEmpty())                                                                \
            break;                                                                                 \
        if (vivid::mustBePresent())                                                                \
            FAIL() << "no vivid camera, although this machine should have one";                    \
        GTEST_SKIP() << "the kernel's virtual camera (vivid) is not loaded";                       \
    } while (false)
