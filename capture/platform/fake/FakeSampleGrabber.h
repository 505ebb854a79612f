#pragma once

#include "capture/platform/SampleGrabber.h"
#include "capture/platform/fake/FakeScript.h"

#include <QMutex>
#include <memory>
#include <vector>

namespace fake {

// Hands the samples a test pushes to the registered callback, on the
// test's own thread.
class FakeSampleGrabber : public platform::SampleGrabber {
public:
    explicit FakeSampleGrabber(std::shared_ptr<FakeScript> script);

    platform::Status setOneShot(bool) override { return platform::kOk; }
    platform::Status setBufferSamples(bool) override { return platform::kOk; }
    platform::Status setCallback(platform::SampleGrabberCB* callback, int method) override;
    platform::Status setMediaType(const platform::MediaType& type) override;

    // Runs the callback on the calling thread; false when none is set.
    bool deliver(const std::vector<uint8_t>& sample, double sampleTime);
    bool hasCallback();
    platform::MediaType mediaType() const { return mediaType_; }

private:
    std::shared_ptr<FakeScript> script_;
    // Guards callback_ and is held for the whole of each call into it, so
    // unregistering waits for a call in flight.
    QMutex callbackLock_;
    platform::SampleGrabberCB* callback_ = nullptr;
    platform::MediaType mediaType_;
};

} // namespace fake
