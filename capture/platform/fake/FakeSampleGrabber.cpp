#include "capture/platform/fake/FakeSampleGrabber.h"

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
} // namespace

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

bool FakeSampleGrabber::deliver(const std::vector<uint8_t>& sample, double sampleTime) {
    QMutexLocker locker(&callbackLock_);
    if (callback_ == nullptr) {
        return false;
    }
    FakeMediaSample mediaSample(sample, script_->statusOf(Operation::GetSamplePointer));
    callback_->sampleCB(sampleTime, mediaSample);
    return true;
}

bool FakeSampleGrabber::hasCallback() {
    QMutexLocker locker(&callbackLock_);
    return callback_ != nullptr;
}

} // namespace fake
