#pragma once

#include "capture/platform/GraphObjects.h"
#include "capture/platform/gst/GstHandles.h"

#include <memory>

// A pad of a pipeline element seen as a pin.
class GstPadPin : public platform::Pin {
public:
    explicit GstPadPin(GstObjectPtr<GstPad> pad);

    platform::Status connectedTo(std::shared_ptr<platform::Pin>& peer) override;
    platform::Status queryPinInfo(platform::PinDirection& direction,
                                  std::shared_ptr<platform::Filter>& owner) override;

    GstPad* pad() const { return pad_.get(); }

private:
    GstObjectPtr<GstPad> pad_;
};
