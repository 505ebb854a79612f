#pragma once

#include "capture/platform/gst/FrameFeeder.h"
#include "capture/platform/gst/GstSourceFilter.h"

#include <memory>

// A source whose frames the program makes itself (a painted scene, a
// replayed file), pushed into an application source element.
class GstFedSourceFilter : public GstSourceFilter {
public:
    // Producible: 32-bit BGRx frames of any size and frame rate.
    static std::shared_ptr<GstFedSourceFilter> make(std::unique_ptr<FrameFeeder> feeder);
    ~GstFedSourceFilter() override;

    void startFeeding() override;
    void stopFeeding() override;

private:
    GstFedSourceFilter(GstObjectPtr<GstElement> element, std::unique_ptr<FrameFeeder> feeder);

    std::unique_ptr<FrameFeeder> feeder_;
    bool feeding_ = false;
};
