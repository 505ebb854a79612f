#pragma once

#include "capture/platform/GraphObjects.h"
#include "capture/platform/gst/GstHandles.h"

#include <memory>
#include <string>

// One element of a capture pipeline seen as a filter. The element carries a
// pointer back to its filter, so a pad's owner can be found again.
class GstFilter : public platform::Filter, public std::enable_shared_from_this<GstFilter> {
public:
    explicit GstFilter(GstObjectPtr<GstElement> element);
    ~GstFilter() override;

    GstFilter(const GstFilter&) = delete;
    GstFilter& operator=(const GstFilter&) = delete;

    platform::Status queryFilterName(std::u16string& name) override;
    platform::Status enumPins(std::vector<std::shared_ptr<platform::Pin>>& pins) override;
    platform::Status querySampleGrabber(std::shared_ptr<platform::SampleGrabber>& grabber) override;

    GstElement* element() const { return element_.get(); }
    // The name the graph knows the filter by; also given to the element.
    void setName(const std::u16string& name);

    // The filter an element belongs to, if any.
    static std::shared_ptr<GstFilter> ofElement(GstElement* element);

private:
    GstObjectPtr<GstElement> element_;
    std::u16string name_;
};
