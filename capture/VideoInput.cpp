#include "capture/VideoInput.h"

#include "capture/CaptureConsole.h"
#include "capture/CaptureDevice.h"
#include "capture/DeviceTeardown.h"
#include "capture/Image.h"
#include "capture/PlatformRuntime.h"

#include <cstdio>

using namespace platform;

namespace {
constexpr double kLayerVersion = 1.0;
constexpr int kHundredNanosecondsPerSecond = 10000000;
// Room for a line with two subtype names and four sizes.
constexpr std::size_t kLineLength = 128;
} // namespace

VideoInput::VideoInput(std::unique_ptr<CapturePlatform> platform)
    : platform_(std::move(platform))
    , enumerator_(*platform_)
    , negotiator_(subtypes_) {
    PlatformRuntime::acquire(*platform_);
    for (auto& device : devices_) {
        device = std::make_unique<CaptureDevice>();
    }
    printCaptureLine("\n***** ZAREDEZID CAPTURE LAYER - %2.04f *****\n\n", kLayerVersion);
}

VideoInput::~VideoInput() {
    for (auto& device : devices_) {
        DeviceTeardown::tearDown(*device);
        device.reset();
    }
    PlatformRuntime::release(*platform_);
}

bool VideoInput::isSlot(int index) {
    return index >= 0 && index < kDeviceSlots;
}

int VideoInput::enumerateDevices() {
    return enumerator_.enumerate(names_);
}

const char* VideoInput::deviceName(int index) const {
    return isSlot(index) ? names_[static_cast<std::size_t>(index)].data() : nullptr;
}

const char* VideoInput::setUpName(int index) const {
    return isDeviceReady(index) ? devices_[static_cast<std::size_t>(index)]->name.data()
                                : deviceName(index);
}

int VideoInput::deviceCount() {
    return enumerator_.count();
}

void VideoInput::setFrameRate(int index, int framesPerSecond) {
    if (!isSlot(index) || isDeviceReady(index) || framesPerSecond <= 0) {
        return;
    }
    devices_[static_cast<std::size_t>(index)]->frameInterval =
        kHundredNanosecondsPerSecond / framesPerSecond;
}

bool VideoInput::setupDevice(int index, int width, int height) {
    if (!isSlot(index) || isDeviceReady(index)) {
        return false;
    }
    CaptureDevice& device = *devices_[static_cast<std::size_t>(index)];
    device.requestedWidth = width;
    device.requestedHeight = height;
    deviceCount_ = deviceCount();
    if (index > deviceCount_ - 1) {
        printCaptureLine("SETUP: device[%i] not found - you have %i devices available\n", index,
                         deviceCount_);
        printCaptureLine("SETUP: this means that the last device you can use is device[%i] \n",
                         deviceCount_ - 1);
        return false;
    }
    return buildGraph(index) == kOk;
}

bool VideoInput::isDeviceReady(int index) const {
    return isSlot(index) && index < deviceCount_ &&
           devices_[static_cast<std::size_t>(index)]->ready;
}

int VideoInput::frameWidth(int index) const {
    return isDeviceReady(index) ? devices_[static_cast<std::size_t>(index)]->width : 0;
}

int VideoInput::frameHeight(int index) const {
    return isDeviceReady(index) ? devices_[static_cast<std::size_t>(index)]->height : 0;
}

int VideoInput::frameSize(int index) const {
    return isDeviceReady(index) ? devices_[static_cast<std::size_t>(index)]->frameBytes : 0;
}

int VideoInput::frameRate(int index) const {
    if (!isDeviceReady(index)) {
        return 0;
    }
    const CaptureDevice& device = *devices_[static_cast<std::size_t>(index)];
    const int64_t interval = device.mediaType ? device.mediaType->video.averageTimePerFrame : 0;
    return interval > 0 ? static_cast<int>((kHundredNanosecondsPerSecond + interval / 2) / interval)
                        : 0;
}

bool VideoInput::hasNewFrame(int index) {
    return isDeviceReady(index) &&
           devices_[static_cast<std::size_t>(index)]->callback->hasNewFrame();
}

bool VideoInput::getPixels(int index, uint8_t* destination, std::size_t capacity) {
    if (!isDeviceReady(index)) {
        return false;
    }
    CaptureDevice& device = *devices_[static_cast<std::size_t>(index)];
    return device.callback->takeFrame(destination, capacity, device.width, device.height);
}

int64_t VideoInput::capturedAt(int index) const {
    return isDeviceReady(index)
               ? devices_[static_cast<std::size_t>(index)]->callback->takenCaptureTime()
               : I::Image::kUnknownTime;
}

// The slot always gets a fresh record, so a device can be set up again.
void VideoInput::disconnectDevice(int index) {
    if (!isSlot(index)) {
        return;
    }
    auto& slot = devices_[static_cast<std::size_t>(index)];
    DeviceTeardown::tearDown(*slot);
    slot = std::make_unique<CaptureDevice>();
}

std::string VideoInput::streamFailure(int index) {
    if (!isDeviceReady(index)) {
        return {};
    }
    const auto& control = devices_[static_cast<std::size_t>(index)]->mediaControl;
    return control ? control->streamFailure() : std::string();
}

const char* VideoInput::subtypeName(const Guid& subtype) const {
    return subtypes_.name(subtype);
}

void VideoInput::addDemoCamera() {
    platform_->addDemoCamera();
}

void VideoInput::addVideoFile(const std::string& path) {
    platform_->addVideoFile(path);
}

std::unique_ptr<CameraControls> VideoInput::openControls(int index) {
    std::unique_ptr<CameraControls> controls;
    if (!succeeded(enumerator_.openControls(index, controls))) {
        controls.reset();
    }
    return controls;
}

void VideoInput::watchDevices(std::function<void()> devicesChanged) {
    platform_->watchDevices(std::move(devicesChanged));
}

Status VideoInput::failSetup(int index, Status status, const char* line) {
    printCaptureLine("%s", line);
    disconnectDevice(index);
    // A step may also fail by handing back nothing with a success code.
    return succeeded(status) ? kFail : status;
}

// Builds source -> sample grabber -> null renderer for one slot and starts
// it. Any failure after the graph builder exists tears the record down and
// leaves a fresh one in the slot.
Status VideoInput::buildGraph(int index) {
    CaptureDevice& device = *devices_[static_cast<std::size_t>(index)];
    device.deviceIndex = index;
    device.setupStarted = true;
    captureCategory_ = PinCategory::Capture;
    printCaptureLine("SETUP: Setting up device %i\n", index);

    Status status = platform_->createCaptureGraphBuilder(device.captureGraphBuilder);
    if (!succeeded(status)) {
        // Deliberately no teardown here: the record stays, marked as
        // started, and a later set-up builds over it.
        printCaptureLine("ERROR - Could not create the Filter Graph Manager\n");
        return status;
    }
    using Step = Status (VideoInput::*)(CaptureDevice&);
    for (Step step :
         {&VideoInput::createGraph, &VideoInput::openSource, &VideoInput::configureStream,
          &VideoInput::addSampleGrabber, &VideoInput::configureGrabber,
          &VideoInput::addRendererAndConnect, &VideoInput::startGraph}) {
        status = (this->*step)(device);
        if (!succeeded(status)) {
            return status;
        }
    }
    return kOk;
}

Status VideoInput::createGraph(CaptureDevice& device) {
    const int index = device.deviceIndex;
    Status status = platform_->createFilterGraph(device.graph);
    if (!succeeded(status) || !device.graph) {
        return failSetup(index, status, "ERROR - Could not add the graph builder!\n");
    }
    status = device.captureGraphBuilder->setFiltergraph(device.graph);
    if (!succeeded(status)) {
        return failSetup(index, status, "ERROR - Could not set filtergraph\n");
    }
    status = device.graph->queryMediaControl(device.mediaControl);
    if (!succeeded(status)) {
        return failSetup(index, status, "ERROR - Could not create the Media Control object\n");
    }
    return kOk;
}

Status VideoInput::openSource(CaptureDevice& device) {
    const int index = device.deviceIndex;
    const Status status = enumerator_.findDevice(index, device);
    if (!succeeded(status) || !device.sourceFilter) {
        return failSetup(index, status, "ERROR - Could not find specified video device\n");
    }
    printCaptureLine("SETUP: %s\n", device.name.data());
    device.graph->addFilter(device.sourceFilter, std::u16string(device.wideName.data()));
    return kOk;
}

// A device with a preview pin is configured through it; others through their
// capture pin.
Status VideoInput::configureStream(CaptureDevice& device) {
    const int index = device.deviceIndex;
    std::unique_ptr<StreamConfig> previewConfig;
    if (succeeded(device.captureGraphBuilder->findStreamConfig(
            PinCategory::Preview, device.sourceFilter, previewConfig))) {
        captureCategory_ = PinCategory::Preview;
    } else {
        printCaptureLine("SETUP: Couldn't find preview pin using SmartTee\n");
    }
    previewConfig.reset();
    Status status = device.captureGraphBuilder->findStreamConfig(
        captureCategory_, device.sourceFilter, device.streamConfig);
    if (!succeeded(status) || !device.streamConfig) {
        return failSetup(index, status, "ERROR: Couldn't config the stream!\n");
    }
    status = device.streamConfig->getFormat(device.mediaType);
    if (!succeeded(status) || !device.mediaType) {
        return failSetup(index, status, "ERROR: Couldn't getFormat for pAmMediaType!\n");
    }
    negotiator_.negotiate(device);
    return kOk;
}

Status VideoInput::addSampleGrabber(CaptureDevice& device) {
    const int index = device.deviceIndex;
    Status status = platform_->createSampleGrabber(device.grabberFilter);
    if (!succeeded(status) || !device.grabberFilter) {
        return failSetup(index, status, "Could not Create Sample Grabber - CoCreateInstance()\n");
    }
    status = device.graph->addFilter(device.grabberFilter, u"Sample Grabber");
    if (!succeeded(status)) {
        return failSetup(index, status, "Could not add Sample Grabber - AddFilter()\n");
    }
    status = device.grabberFilter->querySampleGrabber(device.sampleGrabber);
    if (!succeeded(status) || !device.sampleGrabber) {
        return failSetup(index, status, "ERROR: Could not query SampleGrabber\n");
    }
    return kOk;
}

// Every sample goes to the callback as it arrives, as 24-bit RGB whatever the
// device itself produces.
Status VideoInput::configureGrabber(CaptureDevice& device) {
    SampleGrabber& grabber = *device.sampleGrabber;
    if (arrived_) {
        device.callback->signalArrivals(*arrived_);
    }
    grabber.setOneShot(false);
    grabber.setBufferSamples(false);
    const Status status =
        grabber.setCallback(device.callback.get(), SampleGrabber::kSampleCallback);
    if (!succeeded(status)) {
        return failSetup(device.deviceIndex, status, "ERROR: problem setting callback\n");
    }
    printCaptureLine("SETUP: Capture callback set\n");
    MediaType rgb24;
    rgb24.majorType = kMediaTypeVideo;
    rgb24.subtype = subtype::kRgb24;
    rgb24.formatType = kFormatVideoInfo;
    grabber.setMediaType(rgb24);
    device.streamConfig.reset();
    return kOk;
}

// Always linked through the preview category: the builder inserts a preview
// branch for a device that only has a capture pin.
Status VideoInput::addRendererAndConnect(CaptureDevice& device) {
    const int index = device.deviceIndex;
    Status status = platform_->createNullRenderer(device.rendererFilter);
    if (!succeeded(status) || !device.rendererFilter) {
        return failSetup(index, status, "ERROR: Could not create filter - NullRenderer\n");
    }
    status = device.graph->addFilter(device.rendererFilter, u"NullRenderer");
    if (!succeeded(status)) {
        return failSetup(index, status, "ERROR: Could not add filter - NullRenderer\n");
    }
    status = device.captureGraphBuilder->renderStream(PinCategory::Preview, device.sourceFilter,
                                                      device.grabberFilter, device.rendererFilter);
    if (!succeeded(status)) {
        return failSetup(index, status, "ERROR: Could not connect pins - RenderStream()\n");
    }
    return kOk;
}

Status VideoInput::startGraph(CaptureDevice& device) {
    if (!succeeded(device.graph->runWithoutClock())) {
        printCaptureLine("ERROR: Could not get IID_IMediaFilter interface\n");
    }
    const Status status = device.mediaControl->run();
    if (!succeeded(status)) {
        return failSetup(device.deviceIndex, status, "ERROR: Could not start graph\n");
    }
    if (!succeeded(checkStreamedFormat(device))) {
        return kFail;
    }
    printCaptureLine("SETUP: Device is setup and ready to capture.\n\n");
    device.ready = true;
    // The graph keeps its own references to the filters.
    device.sourceFilter.reset();
    device.grabberFilter.reset();
    device.rendererFilter.reset();
    return kOk;
}

// A driver that cannot deliver the format set may settle on another one;
// frames of a size or kind other than the one reported would reach callers
// that size their buffers by it, so such a stream is refused. A stream that
// does not tell what it carries is taken at its word.
Status VideoInput::checkStreamedFormat(CaptureDevice& device) {
    std::unique_ptr<StreamConfig> config;
    std::unique_ptr<MediaType> streamed;
    if (!succeeded(device.captureGraphBuilder->findStreamConfig(captureCategory_,
                                                                device.sourceFilter, config)) ||
        !config || config->getStreamedFormat(streamed) != kOk || !streamed) {
        return kOk;
    }
    const VideoInfo& video = streamed->video;
    if (video.width == device.width && video.height == device.height &&
        streamed->subtype == device.frameSubtype) {
        return kOk;
    }
    std::array<char, kLineLength> line{};
    std::snprintf(line.data(), line.size(),
                  "ERROR: stream delivers %s @ %i by %i instead of %s @ %i by %i\n",
                  subtypes_.name(streamed->subtype), video.width, video.height,
                  subtypes_.name(device.frameSubtype), device.width, device.height);
    return failSetup(device.deviceIndex, kFail, line.data());
}
