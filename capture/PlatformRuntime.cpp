#include "capture/PlatformRuntime.h"

#include "capture/CaptureConsole.h"
#include "capture/platform/CapturePlatform.h"

int PlatformRuntime::users_ = 0;

void PlatformRuntime::acquire(CapturePlatform& platform) {
    if (users_ == 0 && platform.initRuntime() == platform::kRuntimeChangedMode) {
        printCaptureLine("SETUP - COM already setup - threaded capture might not be possible\n");
    }
    ++users_;
}

bool PlatformRuntime::release(CapturePlatform& platform) {
    if (users_ <= 0) {
        return false;
    }
    --users_;
    if (users_ > 0) {
        return false;
    }
    platform.shutdownRuntime();
    return true;
}
