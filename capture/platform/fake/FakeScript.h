#pragma once

#include "capture/platform/PlatformTypes.h"

#include <QMutex>
#include <deque>
#include <map>
#include <string>
#include <vector>

// What a test tells the fake platform: its devices and which single
// operations fail.
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

struct AcceptedFormat {
    int32_t width;
    int32_t height;
    platform::Guid subtype;
};

struct Capability {
    platform::VideoStreamCaps caps;
    platform::Guid subtype;
};

struct FakeDevice {
    explicit FakeDevice(const std::u16string& friendlyName);

    bool accepts(const platform::MediaType& format) const;
    // Accepts every size with the given subtype.
    FakeDevice& acceptAnySize(const platform::Guid& subtype);
    FakeDevice& accept(int32_t width, int32_t height, const platform::Guid& subtype);
    FakeDevice& offer(const platform::VideoStreamCaps& caps, const platform::Guid& subtype);

    std::u16string friendlyName;
    std::u16string description;
    bool hasFriendlyName = true;
    bool hasDescription = false;
    bool propertyStoreOpens = true;
    bool bindSucceeds = true;
    bool hasPreviewPin = true;
    bool hasCapturePin = true;
    platform::MediaType defaultFormat;
    std::vector<AcceptedFormat> acceptedFormats;
    std::vector<platform::Guid> anySizeSubtypes;
    std::vector<Capability> capabilities;
    int capabilityRecordSize = platform::kVideoStreamCapsRecordSize;
    std::vector<int> failingCapabilityIndices;
    // Every format the layer submitted, accepted or not, in order.
    std::vector<platform::MediaType> submittedFormats;
};

class FakeScript {
public:
    void fail(Operation operation, platform::Status status = platform::kFail);
    void clearFailures();
    // The scripted status of an operation: kOk unless it was told to fail.
    platform::Status statusOf(Operation operation) const;

    // A deque, so a test may keep references to devices while adding more.
    std::deque<FakeDevice> devices;

private:
    // Guards failures_, read from the capture thread during teardown.
    mutable QMutex lock_;
    std::map<Operation, platform::Status> failures_;
};

} // namespace fake
