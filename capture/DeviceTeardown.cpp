#include "capture/DeviceTeardown.h"

#include "capture/CaptureConsole.h"
#include "capture/CaptureDevice.h"

#include <string>

using namespace platform;

namespace {
constexpr int kUnregisterMethod = 1;

std::string lowBytes(const std::u16string& name) {
    std::string text;
    for (char16_t unit : name) {
        if (unit == 0) {
            break;
        }
        text.push_back(static_cast<char>(unit & 0xff));
    }
    return text;
}

template <typename Pointer> void releaseWithLine(Pointer& pointer, const char* line) {
    if (pointer) {
        printCaptureLine("%s", line);
        pointer.reset();
    }
}
} // namespace

void DeviceTeardown::tearDown(CaptureDevice& device) {
    if (!device.setupStarted) {
        device.callback.reset();
        return;
    }
    printCaptureLine("\nSETUP: Disconnecting device %i\n", device.deviceIndex);
    releaseCallback(device);
    stopGraph(device);
    if (device.sourceFilter && device.graph) {
        removeDownstream(*device.graph, device.sourceFilter);
    }
    releaseInterfaces(device);
    if (device.graph) {
        removeAllFilters(*device.graph);
    }
    releaseWithLine(device.captureGraphBuilder, "SETUP: freeing Capture Graph \n");
    releaseWithLine(device.graph, "SETUP: freeing Main Graph \n");
    printCaptureLine("SETUP: Device %i disconnected and freed\n\n", device.deviceIndex);
}

// The grabber waits for a sample still inside the callback before it lets go
// of it, so the callback can be destroyed right away.
void DeviceTeardown::releaseCallback(CaptureDevice& device) {
    if (device.sampleGrabber) {
        device.sampleGrabber->setCallback(nullptr, kUnregisterMethod);
        printCaptureLine("SETUP: freeing Grabber Callback\n");
    }
    device.callback.reset();
}

void DeviceTeardown::stopGraph(CaptureDevice& device) {
    if (!device.mediaControl) {
        return;
    }
    if (!succeeded(device.mediaControl->pause())) {
        printCaptureLine("ERROR - Could not pause pControl\n");
    }
    if (!succeeded(device.mediaControl->stop())) {
        printCaptureLine("ERROR - Could not stop pControl\n");
    }
}

void DeviceTeardown::releaseInterfaces(CaptureDevice& device) {
    releaseWithLine(device.rendererFilter, "SETUP: freeing Renderer \n");
    releaseWithLine(device.sourceFilter, "SETUP: freeing Capture Source \n");
    releaseWithLine(device.grabberFilter, "SETUP: freeing Grabber Filter  \n");
    releaseWithLine(device.sampleGrabber, "SETUP: freeing Grabber  \n");
    releaseWithLine(device.mediaControl, "SETUP: freeing Control   \n");
    releaseWithLine(device.streamConfig, "SETUP: freeing Stream  \n");
    releaseWithLine(device.mediaType, "SETUP: freeing Media Type  \n");
}

// Depth first, so every filter fed by this one is gone before the link to it
// is cut.
void DeviceTeardown::removeDownstream(FilterGraph& graph, const std::shared_ptr<Filter>& filter) {
    std::vector<std::shared_ptr<Pin>> pins;
    if (!succeeded(filter->enumPins(pins))) {
        return;
    }
    for (const std::shared_ptr<Pin>& pin : pins) {
        std::shared_ptr<Pin> peer;
        if (!succeeded(pin->connectedTo(peer)) || !peer) {
            continue;
        }
        PinDirection direction = PinDirection::Output;
        std::shared_ptr<Filter> peerFilter;
        if (!succeeded(peer->queryPinInfo(direction, peerFilter))) {
            return;
        }
        if (direction == PinDirection::Input && peerFilter) {
            removeDownstream(graph, peerFilter);
            graph.disconnect(peer);
            graph.disconnect(pin);
            graph.removeFilter(peerFilter);
        }
    }
}

// Removing a filter invalidates the enumeration, so each round starts afresh
// and takes the first filter left.
void DeviceTeardown::removeAllFilters(FilterGraph& graph) {
    for (;;) {
        std::vector<std::shared_ptr<Filter>> filters;
        if (!succeeded(graph.enumFilters(filters))) {
            printCaptureLine("SETUP: pGraph->EnumFilters() failed. \n");
            return;
        }
        if (filters.empty()) {
            return;
        }
        std::u16string wideName;
        filters.front()->queryFilterName(wideName);
        const std::string name = lowBytes(wideName);
        printCaptureLine("SETUP: removing filter %s...\n", name.c_str());
        if (!succeeded(graph.removeFilter(filters.front()))) {
            printCaptureLine("SETUP: pGraph->RemoveFilter() failed. \n");
            return;
        }
        printCaptureLine("SETUP: filter removed %s  \n", name.c_str());
    }
}
