#include "capture/platform/gst/GstPadPin.h"

#include "capture/platform/gst/GstFilter.h"

using namespace platform;

GstPadPin::GstPadPin(GstObjectPtr<GstPad> pad)
    : pad_(std::move(pad)) {}

Status GstPadPin::connectedTo(std::shared_ptr<Pin>& peer) {
    GstObjectPtr<GstPad> peerPad(gst_pad_get_peer(pad_.get()));
    if (!peerPad) {
        return kFail;
    }
    peer = std::make_shared<GstPadPin>(std::move(peerPad));
    return kOk;
}

Status GstPadPin::queryPinInfo(PinDirection& direction, std::shared_ptr<Filter>& owner) {
    direction =
        GST_PAD_DIRECTION(pad_.get()) == GST_PAD_SINK ? PinDirection::Input : PinDirection::Output;
    GstObjectPtr<GstElement> parent(gst_pad_get_parent_element(pad_.get()));
    owner = parent ? GstFilter::ofElement(parent.get()) : nullptr;
    return owner ? kOk : kFail;
}
