#pragma once

#include <memory>

struct CaptureDevice;
namespace platform {
class Filter;
class FilterGraph;
} // namespace platform

// Releases what set-up built for one device, printing a line for each part it
// frees.
class DeviceTeardown {
public:
    static void tearDown(CaptureDevice& device);

private:
    static void releaseCallback(CaptureDevice& device);
    static void stopGraph(CaptureDevice& device);
    static void releaseInterfaces(CaptureDevice& device);
    static void removeDownstream(platform::FilterGraph& graph,
                                 const std::shared_ptr<platform::Filter>& filter);
    static void removeAllFilters(platform::FilterGraph& graph);
};
