#include "tests/support/VideoClipRecorder.h"

#include <gst/gst.h>

namespace clip_recorder {
namespace {

constexpr GstClockTime kRecordingTimeout = 20 * GST_SECOND;

// Plays the pipeline to its end; true when it got there without an error.
bool runToEnd(const QString& description) {
    if (!gst_init_check(nullptr, nullptr, nullptr)) {
        return false;
    }
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    if (error) {
        g_error_free(error);
    }
    if (!pipeline) {
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, kRecordingTimeout, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool recorded = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end) {
        gst_message_unref(end);
    }
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return recorded;
}

} // namespace

bool recordTestPatternClip(const QString& path, const char* encoder) {
    return runToEnd(
        QString("videotestsrc num-buffers=20 pattern=ball ! "
                "video/x-raw,width=176,height=144,framerate=15/1 ! %1 ! filesink location=\"%2\"")
            .arg(encoder, path));
}

bool recordPictureClip(const QString& picturePattern, int framesPerSecond, const QString& path,
                       const char* encoder) {
    return runToEnd(QString("multifilesrc location=\"%1\" index=0 caps=image/png,framerate=%2/1 ! "
                            "pngdec ! videoconvert ! %3 ! filesink location=\"%4\"")
                        .arg(picturePattern, QString::number(framesPerSecond), encoder, path));
}

} // namespace clip_recorder
