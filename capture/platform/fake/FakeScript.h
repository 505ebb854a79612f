#pragma once

#include "capture/platform/PlatformTypes.h"
#include "capture/platform/fake/FakeDevice.h"

#include <QMutex>

#include <deque>
#include <map>

namespace fake {

enum class Operation {
    InitRuntime,
    VideoInputDevices,
    CreateCaptureGraphBuilder,
    CreateFilterGraph,
    SetFiltergraph,
    QueryMediaControl,
    FindStreamConfig,
    GetFormat,
    CreateSampleGrabber,
    AddSampleGrabber,
    QuerySampleGrabber,
    SetCallback,
    CreateNullRenderer,
    AddNullRenderer,
    RenderStream,
    RunWithoutClock,
    Run,
    Pause,
    Stop,
    EnumFilters,
    RemoveFilter,
    GetSamplePointer,
};

// What a test tells the fake platform: its devices and which single
// operations fail.
class FakeScript {
public:
    void fail(Operation operation, platform::Status status = platform::kFail);
    void clearFailures();
    // The scripted status of an operation: kOk unless it was told to fail.
    platform::Status statusOf(Operation operation) const;

    // A deque, so a test may keep references to devices while adding more.
    std::deque<FakeDevice> devices;
    // The program's own sources (the demo camera, video files), listed after
    // the cameras as the real platform lists them.
    std::deque<FakeDevice> ownSources;

private:
    // Guards failures_, read from the capture thread during teardown.
    mutable QMutex lock_;
    std::map<Operation, platform::Status> failures_;
};

} // namespace fake
