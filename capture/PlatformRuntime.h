#pragma once

class CapturePlatform;

// Counts the users of the capture framework's runtime across the process:
// the first user starts it, the last one stops it.
class PlatformRuntime {
public:
    static void acquire(CapturePlatform& platform);
    // True when this call stopped the runtime.
    static bool release(CapturePlatform& platform);

private:
    // Touched only by the thread that builds and enumerates devices.
    static int users_;
};
