#include "capture/platform/gst/GstFilter.h"

#include "capture/platform/gst/GstPadPin.h"

#include <QString>

using namespace platform;

namespace {
GQuark filterQuark() {
    static const GQuark quark = g_quark_from_static_string("zaredezid-filter");
    return quark;
}
} // namespace

GstFilter::GstFilter(GstObjectPtr<GstElement> element)
    : element_(std::move(element)) {
    g_object_set_qdata(G_OBJECT(element_.get()), filterQuark(), this);
}

GstFilter::~GstFilter() {
    g_object_set_qdata(G_OBJECT(element_.get()), filterQuark(), nullptr);
}

Status GstFilter::queryFilterName(std::u16string& name) {
    name = name_;
    return kOk;
}

Status GstFilter::enumPins(std::vector<std::shared_ptr<Pin>>& pins) {
    pins.clear();
    GstIterator* iterator = gst_element_iterate_pads(element_.get());
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(iterator, &item) == GST_ITERATOR_OK) {
        auto* pad = static_cast<GstPad*>(g_value_get_object(&item));
        pins.push_back(std::make_shared<GstPadPin>(addReference(pad)));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(iterator);
    return kOk;
}

Status GstFilter::querySampleGrabber(std::shared_ptr<SampleGrabber>&) {
    return kFail;
}

// Element names need not be unique across pipelines, only within one, and
// the layer's names (device, "Sample Grabber", "NullRenderer") are.
void GstFilter::setName(const std::u16string& name) {
    name_ = name;
    const QByteArray utf8 = QString::fromUtf16(name.data(), static_cast<int>(name.size())).toUtf8();
    if (!GST_OBJECT_PARENT(element_.get())) {
        gst_object_set_name(GST_OBJECT(element_.get()), utf8.constData());
    }
}

std::shared_ptr<GstFilter> GstFilter::ofElement(GstElement* element) {
    auto* filter = static_cast<GstFilter*>(g_object_get_qdata(G_OBJECT(element), filterQuark()));
    return filter ? filter->shared_from_this() : nullptr;
}
