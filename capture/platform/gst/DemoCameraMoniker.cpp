#include "capture/platform/gst/DemoCameraMoniker.h"

#include "capture/platform/gst/DemoCameraFeeder.h"
#include "capture/platform/gst/GstFedSourceFilter.h"
#include "capture/platform/gst/NameOnlyPropertyStore.h"

using namespace platform;

Status DemoCameraMoniker::openPropertyStore(std::unique_ptr<PropertyStore>& store) {
    store = std::make_unique<NameOnlyPropertyStore>(QStringLiteral("Demo camera"));
    return kOk;
}

Status DemoCameraMoniker::bindSourceFilter(std::shared_ptr<Filter>& source) {
    source = GstFedSourceFilter::make(std::make_unique<DemoCameraFeeder>());
    return source ? kOk : kFail;
}
