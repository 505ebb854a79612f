#pragma once

#include "capture/platform/CapturePlatform.h"
#include "capture/platform/fake/FakeScript.h"

#include <QMutex>
#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The objects of the fake platform's graphs. They behave like a simple
// filter graph: named filters, pins that link them, a grabber that hands
// samples to its callback while the graph runs.
namespace fake {

class FakeFilter;

class FakePin : public platform::Pin {
public:
    FakePin(platform::PinDirection direction, const std::weak_ptr<FakeFilter>& owner);

    platform::Status connectedTo(std::shared_ptr<platform::Pin>& peer) override;
    platform::Status queryPinInfo(platform::PinDirection& direction,
                                  std::shared_ptr<platform::Filter>& owner) override;

    static void link(const std::shared_ptr<FakePin>& output, const std::shared_ptr<FakePin>& input);
    void unlink() { peer_.reset(); }

private:
    platform::PinDirection direction_;
    std::weak_ptr<FakeFilter> owner_;
    std::weak_ptr<FakePin> peer_;
};

class FakeSampleGrabber : public platform::SampleGrabber {
public:
    explicit FakeSampleGrabber(std::shared_ptr<FakeScript> script);

    platform::Status setOneShot(bool) override { return platform::kOk; }
    platform::Status setBufferSamples(bool) override { return platform::kOk; }
    platform::Status setCallback(platform::SampleGrabberCB* callback, int method) override;
    platform::Status setMediaType(const platform::MediaType& type) override;

    // Runs the callback on the calling thread; false when none is set.
    bool deliver(const std::vector<uint8_t>& sample);
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

class FakeFilter : public platform::Filter, public std::enable_shared_from_this<FakeFilter> {
public:
    enum class Kind { Source, Grabber, Renderer };

    static std::shared_ptr<FakeFilter> make(Kind kind, std::shared_ptr<FakeScript> script,
                                            FakeDevice* device = nullptr);

    platform::Status queryFilterName(std::u16string& name) override;
    platform::Status enumPins(std::vector<std::shared_ptr<platform::Pin>>& pins) override;
    platform::Status querySampleGrabber(std::shared_ptr<platform::SampleGrabber>& grabber) override;

    Kind kind() const { return kind_; }
    FakeDevice* device() const { return device_; }
    std::shared_ptr<FakePin> inputPin() const { return input_; }
    std::shared_ptr<FakePin> outputPin() const { return output_; }
    std::shared_ptr<FakeSampleGrabber> grabber() const { return grabber_; }
    void setName(const std::u16string& name) { name_ = name; }

private:
    FakeFilter(Kind kind, std::shared_ptr<FakeScript> script, FakeDevice* device);

    Kind kind_;
    std::shared_ptr<FakeScript> script_;
    FakeDevice* device_;
    std::u16string name_;
    std::shared_ptr<FakePin> input_;
    std::shared_ptr<FakePin> output_;
    std::shared_ptr<FakeSampleGrabber> grabber_;
};

class FakeFilterGraph : public platform::FilterGraph,
                        public platform::MediaControl,
                        public std::enable_shared_from_this<FakeFilterGraph> {
public:
    explicit FakeFilterGraph(std::shared_ptr<FakeScript> script);

    platform::Status addFilter(const std::shared_ptr<platform::Filter>& filter,
                               const std::u16string& name) override;
    platform::Status removeFilter(const std::shared_ptr<platform::Filter>& filter) override;
    platform::Status enumFilters(std::vector<std::shared_ptr<platform::Filter>>& filters) override;
    platform::Status disconnect(const std::shared_ptr<platform::Pin>& pin) override;
    platform::Status queryMediaControl(std::shared_ptr<platform::MediaControl>& control) override;
    platform::Status runWithoutClock() override;

    platform::Status run() override;
    platform::Status pause() override;
    platform::Status stop() override;

    bool isRunning() const { return running_; }
    std::shared_ptr<FakeFilter> filterOfKind(FakeFilter::Kind kind) const;

private:
    std::shared_ptr<FakeScript> script_;
    // Guards filters_: a test thread looks for the grabber while the layer
    // may be tearing the graph down.
    mutable QMutex filtersLock_;
    std::vector<std::shared_ptr<FakeFilter>> filters_;
    std::atomic<bool> running_{false};
};

class FakeStreamConfig : public platform::StreamConfig {
public:
    FakeStreamConfig(std::shared_ptr<FakeScript> script, FakeDevice& device);

    platform::Status getFormat(std::unique_ptr<platform::MediaType>& format) override;
    platform::Status setFormat(const platform::MediaType& format) override;
    platform::Status getNumberOfCapabilities(int& count, int& recordSize) override;
    platform::Status getStreamCaps(int index, std::unique_ptr<platform::MediaType>& format,
                                   platform::VideoStreamCaps& caps) override;

private:
    std::shared_ptr<FakeScript> script_;
    FakeDevice& device_;
    platform::MediaType currentFormat_;
};

class FakeCaptureGraphBuilder : public platform::CaptureGraphBuilder {
public:
    explicit FakeCaptureGraphBuilder(std::shared_ptr<FakeScript> script);

    platform::Status setFiltergraph(const std::shared_ptr<platform::FilterGraph>& graph) override;
    platform::Status findStreamConfig(platform::PinCategory category,
                                      const std::shared_ptr<platform::Filter>& source,
                                      std::unique_ptr<platform::StreamConfig>& config) override;
    platform::Status renderStream(platform::PinCategory category,
                                  const std::shared_ptr<platform::Filter>& source,
                                  const std::shared_ptr<platform::Filter>& grabber,
                                  const std::shared_ptr<platform::Filter>& renderer) override;

private:
    std::shared_ptr<FakeScript> script_;
};

} // namespace fake
