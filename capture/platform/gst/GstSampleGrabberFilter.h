#pragma once

#include "capture/platform/SampleGrabber.h"
#include "capture/platform/gst/GstFilter.h"

#include <QMutex>
#include <atomic>
#include <memory>
#include <vector>

// The sample grabber of a capture pipeline: a caps filter that holds the
// stream to the grabber's media type, with a probe on its output that hands
// every frame to the registered callback as a tightly packed, bottom-up
// sample, the way the device layer expects 24-bit frames.
class GstSampleGrabberFilter : public GstFilter, public platform::SampleGrabber {
public:
    static std::shared_ptr<GstSampleGrabberFilter> make();
    ~GstSampleGrabberFilter() override;

    platform::Status querySampleGrabber(std::shared_ptr<platform::SampleGrabber>& grabber) override;

    platform::Status setOneShot(bool oneShot) override;
    platform::Status setBufferSamples(bool bufferSamples) override;
    platform::Status setCallback(platform::SampleGrabberCB* callback, int method) override;
    platform::Status setMediaType(const platform::MediaType& type) override;

    // After a stream error no further frame is handed over.
    void watchFailure(std::shared_ptr<std::atomic<bool>> streamFailed);

private:
    explicit GstSampleGrabberFilter(GstObjectPtr<GstElement> element);
    static GstPadProbeReturn onBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer grabber);
    void deliver(GstPad* pad, GstBuffer* buffer);
    double captureSeconds(GstPad* pad, GstBuffer* buffer) const;

    GstObjectPtr<GstPad> outputPad_;
    gulong probeId_ = 0;
    std::shared_ptr<std::atomic<bool>> streamFailed_;
    // Guards callback_ and packed_. Held for the whole of each call into the
    // callback, so unregistering waits for a frame being handed over.
    QMutex callbackLock_;
    platform::SampleGrabberCB* callback_ = nullptr;
    std::vector<uint8_t> packed_;
};
