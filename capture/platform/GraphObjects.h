#pragma once

#include "capture/platform/PlatformTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

class Filter;
class SampleGrabber;

// Objects of a running capture graph. They are shared (the graph and the
// device record both hold filters), so they travel as shared pointers and
// "releasing" one means dropping a pointer.

class Pin {
public:
    virtual ~Pin() = default;
    // The pin this one is linked to; fails when it is not linked.
    virtual Status connectedTo(std::shared_ptr<Pin>& peer) = 0;
    virtual Status queryPinInfo(PinDirection& direction, std::shared_ptr<Filter>& owner) = 0;
};

class Filter {
public:
    virtual ~Filter() = default;
    virtual Status queryFilterName(std::u16string& name) = 0;
    virtual Status enumPins(std::vector<std::shared_ptr<Pin>>& pins) = 0;
    // Only the sample grabber filter answers this.
    virtual Status querySampleGrabber(std::shared_ptr<SampleGrabber>& grabber) = 0;
};

class MediaControl {
public:
    virtual ~MediaControl() = default;
    virtual Status run() = 0;
    virtual Status pause() = 0;
    virtual Status stop() = 0;
    // Empty while the stream runs; once it has ended or failed, a few words
    // saying how. May be asked from any thread.
    virtual std::string streamFailure() = 0;
};

class FilterGraph {
public:
    virtual ~FilterGraph() = default;
    virtual Status addFilter(const std::shared_ptr<Filter>& filter, const std::u16string& name) = 0;
    virtual Status removeFilter(const std::shared_ptr<Filter>& filter) = 0;
    // The filters now in the graph, in the graph's own order.
    virtual Status enumFilters(std::vector<std::shared_ptr<Filter>>& filters) = 0;
    virtual Status disconnect(const std::shared_ptr<Pin>& pin) = 0;
    virtual Status queryMediaControl(std::shared_ptr<MediaControl>& control) = 0;
    // Lets samples pass as they arrive instead of at their presentation
    // time; fails when the graph offers no way to drop its clock.
    virtual Status runWithoutClock() = 0;
};

class StreamConfig {
public:
    virtual ~StreamConfig() = default;
    virtual Status getFormat(std::unique_ptr<MediaType>& format) = 0;
    // Exactly kOk when the stream accepts the format.
    virtual Status setFormat(const MediaType& format) = 0;
    virtual Status getNumberOfCapabilities(int& count, int& recordSize) = 0;
    virtual Status getStreamCaps(int index, std::unique_ptr<MediaType>& format,
                                 VideoStreamCaps& caps) = 0;
    // The times per frame the stream offers at the size and subtype of the
    // format. Where it offers a whole range that holds the format's own time
    // per frame, that time alone stands for the range. Empty when the stream
    // does not tell its rates.
    virtual Status getFrameIntervals(const MediaType& format, std::vector<int64_t>& intervals) = 0;
    // Once the graph runs: the format the stream really carries, which a
    // driver may have chosen over the one set. kFalse while it is not known.
    virtual Status getStreamedFormat(std::unique_ptr<MediaType>& format) = 0;
};

class CaptureGraphBuilder {
public:
    virtual ~CaptureGraphBuilder() = default;
    virtual Status setFiltergraph(const std::shared_ptr<FilterGraph>& graph) = 0;
    // Fails when the source has no video pin of that category.
    virtual Status findStreamConfig(PinCategory category, const std::shared_ptr<Filter>& source,
                                    std::unique_ptr<StreamConfig>& config) = 0;
    // Links source -> grabber -> renderer, inserting whatever converters the
    // formats need.
    virtual Status renderStream(PinCategory category, const std::shared_ptr<Filter>& source,
                                const std::shared_ptr<Filter>& grabber,
                                const std::shared_ptr<Filter>& renderer) = 0;
};

} // namespace platform
