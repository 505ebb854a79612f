#pragma once

#include "capture/platform/gst/GstFilter.h"
#include "capture/platform/gst/GstHandles.h"

#include <vector>

namespace gstformats {
struct Capability;
}

// A video source of a capture pipeline: what it can produce, and the one
// format chosen for it, which the pipeline holds it to.
class GstSourceFilter : public GstFilter {
public:
    GstSourceFilter(GstObjectPtr<GstElement> element, GstCapsPtr producibleCaps);

    const platform::MediaType& currentFormat() const { return currentFormat_; }
    GstCaps* currentCaps() const { return currentCaps_.get(); }
    // Chooses the format when the source can produce it.
    bool selectFormat(const platform::MediaType& format);
    std::vector<gstformats::Capability> capabilities() const;
    std::vector<int64_t> frameIntervalsAt(const platform::MediaType& format) const;
    // The format the source's output has negotiated; false before it has.
    bool streamedFormat(platform::MediaType& format) const;
    bool producesJpeg() const;

    // Sources that are fed by the program start and stop with the pipeline.
    virtual void startFeeding() {}
    virtual void stopFeeding() {}

private:
    GstCapsPtr producibleCaps_;
    GstCapsPtr currentCaps_;
    platform::MediaType currentFormat_;
};
