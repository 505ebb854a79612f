#pragma once

#include <gst/gst.h>
#include <memory>

// Owning handles for what GStreamer hands out: each kind is released with its
// own unref call when the handle goes.
namespace gsthandle {

struct ObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct CapsUnref {
    void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
struct MessageUnref {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
struct EventUnref {
    void operator()(GstEvent* event) const { gst_event_unref(event); }
};
struct SampleUnref {
    void operator()(GstSample* sample) const { gst_sample_unref(sample); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

} // namespace gsthandle

template <typename T> using GstObjectPtr = std::unique_ptr<T, gsthandle::ObjectUnref>;
using GstCapsPtr = std::unique_ptr<GstCaps, gsthandle::CapsUnref>;
using GstMessagePtr = std::unique_ptr<GstMessage, gsthandle::MessageUnref>;
using GstEventPtr = std::unique_ptr<GstEvent, gsthandle::EventUnref>;
using GstSamplePtr = std::unique_ptr<GstSample, gsthandle::SampleUnref>;
using GErrorPtr = std::unique_ptr<GError, gsthandle::ErrorFree>;
using GCharPtr = std::unique_ptr<gchar, gsthandle::GFree>;

// Takes ownership of a newly made element, sinking its floating reference.
template <typename T> GstObjectPtr<T> adoptFloating(T* object) {
    return GstObjectPtr<T>(object ? static_cast<T*>(gst_object_ref_sink(object)) : nullptr);
}

// Adds a reference of our own to an object someone else owns.
template <typename T> GstObjectPtr<T> addReference(T* object) {
    return GstObjectPtr<T>(object ? static_cast<T*>(gst_object_ref(object)) : nullptr);
}
