#include "capture/platform/fake/FakeGraphObjects.h"

#include <algorithm>

using namespace platform;

namespace fake {

namespace {
class FakeMediaSample : public MediaSample {
public:
    FakeMediaSample(const std::vector<uint8_t>& bytes, Status pointerStatus)
        : bytes_(bytes)
        , pointerStatus_(pointerStatus) {}

    Status getPointer(const uint8_t*& data) override {
        data = bytes_.data();
        return pointerStatus_;
    }
    int32_t actualDataLength() override { return static_cast<int32_t>(bytes_.size()); }

private:
    const std::vector<uint8_t>& bytes_;
    Status pointerStatus_;
};

std::shared_ptr<FakeFilter> asFakeFilter(const std::shared_ptr<Filter>& filter) {
    return std::dynamic_pointer_cast<FakeFilter>(filter);
}
} // namespace

FakePin::FakePin(PinDirection direction, const std::weak_ptr<FakeFilter>& owner)
    : direction_(direction)
    , owner_(owner) {}

Status FakePin::connectedTo(std::shared_ptr<Pin>& peer) {
    peer = peer_.lock();
    return peer ? kOk : kFail;
}

Status FakePin::queryPinInfo(PinDirection& direction, std::shared_ptr<Filter>& owner) {
    direction = direction_;
    owner = owner_.lock();
    return kOk;
}

void FakePin::link(const std::shared_ptr<FakePin>& output, const std::shared_ptr<FakePin>& input) {
    output->peer_ = input;
    input->peer_ = output;
}

FakeSampleGrabber::FakeSampleGrabber(std::shared_ptr<FakeScript> script)
    : script_(std::move(script)) {}

Status FakeSampleGrabber::setCallback(SampleGrabberCB* callback, int) {
    const Status status = script_->statusOf(Operation::SetCallback);
    if (!succeeded(status) && callback != nullptr) {
        return status;
    }
    QMutexLocker locker(&callbackLock_);
    callback_ = callback;
    return kOk;
}

Status FakeSampleGrabber::setMediaType(const MediaType& type) {
    mediaType_ = type;
    return kOk;
}

bool FakeSampleGrabber::deliver(const std::vector<uint8_t>& sample) {
    QMutexLocker locker(&callbackLock_);
    if (callback_ == nullptr) {
        return false;
    }
    FakeMediaSample mediaSample(sample, script_->statusOf(Operation::GetSamplePointer));
    callback_->sampleCB(0.0, mediaSample);
    return true;
}

bool FakeSampleGrabber::hasCallback() {
    QMutexLocker locker(&callbackLock_);
    return callback_ != nullptr;
}

FakeFilter::FakeFilter(Kind kind, std::shared_ptr<FakeScript> script, FakeDevice* device)
    : kind_(kind)
    , script_(std::move(script))
    , device_(device) {}

std::shared_ptr<FakeFilter> FakeFilter::make(Kind kind, std::shared_ptr<FakeScript> script,
                                             FakeDevice* device) {
    std::shared_ptr<FakeFilter> filter(new FakeFilter(kind, script, device));
    if (kind != Kind::Source) {
        filter->input_ = std::make_shared<FakePin>(PinDirection::Input, filter);
    }
    if (kind != Kind::Renderer) {
        filter->output_ = std::make_shared<FakePin>(PinDirection::Output, filter);
    }
    if (kind == Kind::Grabber) {
        filter->grabber_ = std::make_shared<FakeSampleGrabber>(script);
    }
    return filter;
}

Status FakeFilter::queryFilterName(std::u16string& name) {
    name = name_;
    return kOk;
}

Status FakeFilter::enumPins(std::vector<std::shared_ptr<Pin>>& pins) {
    pins.clear();
    for (const auto& pin : {input_, output_}) {
        if (pin) {
            pins.push_back(pin);
        }
    }
    return kOk;
}

Status FakeFilter::querySampleGrabber(std::shared_ptr<SampleGrabber>& grabber) {
    const Status status = script_->statusOf(Operation::QuerySampleGrabber);
    if (!grabber_ || !succeeded(status)) {
        return grabber_ ? status : kFail;
    }
    grabber = grabber_;
    return kOk;
}

FakeFilterGraph::FakeFilterGraph(std::shared_ptr<FakeScript> script)
    : script_(std::move(script)) {}

Status FakeFilterGraph::addFilter(const std::shared_ptr<Filter>& filter,
                                  const std::u16string& name) {
    const auto fakeFilter = asFakeFilter(filter);
    if (!fakeFilter) {
        return kFail;
    }
    if (fakeFilter->kind() == FakeFilter::Kind::Grabber &&
        !succeeded(script_->statusOf(Operation::AddSampleGrabber))) {
        return script_->statusOf(Operation::AddSampleGrabber);
    }
    if (fakeFilter->kind() == FakeFilter::Kind::Renderer &&
        !succeeded(script_->statusOf(Operation::AddNullRenderer))) {
        return script_->statusOf(Operation::AddNullRenderer);
    }
    fakeFilter->setName(name);
    QMutexLocker locker(&filtersLock_);
    filters_.push_back(fakeFilter);
    return kOk;
}

Status FakeFilterGraph::removeFilter(const std::shared_ptr<Filter>& filter) {
    const Status status = script_->statusOf(Operation::RemoveFilter);
    if (!succeeded(status)) {
        return status;
    }
    QMutexLocker locker(&filtersLock_);
    const auto found = std::find(filters_.begin(), filters_.end(), asFakeFilter(filter));
    if (found == filters_.end()) {
        return kFail;
    }
    filters_.erase(found);
    return kOk;
}

Status FakeFilterGraph::enumFilters(std::vector<std::shared_ptr<Filter>>& filters) {
    const Status status = script_->statusOf(Operation::EnumFilters);
    if (!succeeded(status)) {
        return status;
    }
    QMutexLocker locker(&filtersLock_);
    filters.assign(filters_.begin(), filters_.end());
    return kOk;
}

Status FakeFilterGraph::disconnect(const std::shared_ptr<Pin>& pin) {
    const auto fakePin = std::dynamic_pointer_cast<FakePin>(pin);
    if (!fakePin) {
        return kFail;
    }
    fakePin->unlink();
    return kOk;
}

Status FakeFilterGraph::queryMediaControl(std::shared_ptr<MediaControl>& control) {
    const Status status = script_->statusOf(Operation::QueryMediaControl);
    if (!succeeded(status)) {
        return status;
    }
    control = std::shared_ptr<MediaControl>(shared_from_this(), static_cast<MediaControl*>(this));
    return kOk;
}

Status FakeFilterGraph::runWithoutClock() {
    return script_->statusOf(Operation::RunWithoutClock);
}

Status FakeFilterGraph::run() {
    const Status status = script_->statusOf(Operation::Run);
    if (succeeded(status)) {
        running_ = true;
    }
    return status;
}

Status FakeFilterGraph::pause() {
    running_ = false;
    return script_->statusOf(Operation::Pause);
}

Status FakeFilterGraph::stop() {
    running_ = false;
    return script_->statusOf(Operation::Stop);
}

std::shared_ptr<FakeFilter> FakeFilterGraph::filterOfKind(FakeFilter::Kind kind) const {
    QMutexLocker locker(&filtersLock_);
    for (const auto& filter : filters_) {
        if (filter->kind() == kind) {
            return filter;
        }
    }
    return nullptr;
}

FakeStreamConfig::FakeStreamConfig(std::shared_ptr<FakeScript> script, FakeDevice& device)
    : script_(std::move(script))
    , device_(device)
    , currentFormat_(device.defaultFormat) {}

Status FakeStreamConfig::getFormat(std::unique_ptr<MediaType>& format) {
    const Status status = script_->statusOf(Operation::GetFormat);
    if (!succeeded(status)) {
        return status;
    }
    format = std::make_unique<MediaType>(currentFormat_);
    return kOk;
}

Status FakeStreamConfig::setFormat(const MediaType& format) {
    device_.submittedFormats.push_back(format);
    if (!device_.accepts(format)) {
        return kFail;
    }
    currentFormat_ = format;
    return kOk;
}

Status FakeStreamConfig::getNumberOfCapabilities(int& count, int& recordSize) {
    count = static_cast<int>(device_.capabilities.size());
    recordSize = device_.capabilityRecordSize;
    return kOk;
}

Status FakeStreamConfig::getStreamCaps(int index, std::unique_ptr<MediaType>& format,
                                       VideoStreamCaps& caps) {
    const auto& failing = device_.failingCapabilityIndices;
    if (index < 0 || index >= static_cast<int>(device_.capabilities.size()) ||
        std::find(failing.begin(), failing.end(), index) != failing.end()) {
        return kFail;
    }
    const Capability& capability = device_.capabilities[static_cast<std::size_t>(index)];
    caps = capability.caps;
    format = std::make_unique<MediaType>(device_.defaultFormat);
    format->subtype = capability.subtype;
    format->video.width = capability.caps.maxWidth;
    format->video.height = capability.caps.maxHeight;
    return kOk;
}

FakeCaptureGraphBuilder::FakeCaptureGraphBuilder(std::shared_ptr<FakeScript> script)
    : script_(std::move(script)) {}

Status FakeCaptureGraphBuilder::setFiltergraph(const std::shared_ptr<FilterGraph>&) {
    return script_->statusOf(Operation::SetFiltergraph);
}

Status FakeCaptureGraphBuilder::findStreamConfig(PinCategory category,
                                                 const std::shared_ptr<Filter>& source,
                                                 std::unique_ptr<StreamConfig>& config) {
    const auto fakeSource = asFakeFilter(source);
    if (!fakeSource || !fakeSource->device()) {
        return kFail;
    }
    FakeDevice& device = *fakeSource->device();
    const bool hasPin =
        category == PinCategory::Preview ? device.hasPreviewPin : device.hasCapturePin;
    const Status status = script_->statusOf(Operation::FindStreamConfig);
    if (!hasPin || !succeeded(status)) {
        return hasPin ? status : kFail;
    }
    config = std::make_unique<FakeStreamConfig>(script_, device);
    return kOk;
}

Status FakeCaptureGraphBuilder::renderStream(PinCategory, const std::shared_ptr<Filter>& source,
                                             const std::shared_ptr<Filter>& grabber,
                                             const std::shared_ptr<Filter>& renderer) {
    const Status status = script_->statusOf(Operation::RenderStream);
    if (!succeeded(status)) {
        return status;
    }
    const auto fakeSource = asFakeFilter(source);
    const auto fakeGrabber = asFakeFilter(grabber);
    const auto fakeRenderer = asFakeFilter(renderer);
    if (!fakeSource || !fakeGrabber || !fakeRenderer) {
        return kFail;
    }
    FakePin::link(fakeSource->outputPin(), fakeGrabber->inputPin());
    FakePin::link(fakeGrabber->outputPin(), fakeRenderer->inputPin());
    return kOk;
}

} // namespace fake
