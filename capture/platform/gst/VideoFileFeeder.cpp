#include "capture/platform/gst/VideoFileFeeder.h"

#include "capture/CaptureConsole.h"

#include <gst/app/gstappsink.h>

namespace {
constexpr GstClockTime kPullTimeout = 50 * GST_MSECOND;

GstElement* makeElement(const char* factory) {
    return gst_element_factory_make(factory, nullptr);
}

// The decoder's pads appear once it knows the file; only video is wanted.
void linkVideoPad(GstElement*, GstPad* pad, gpointer converter) {
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    if (!caps) {
        caps.reset(gst_pad_query_caps(pad, nullptr));
    }
    const GstStructure* structure = caps ? gst_caps_get_structure(caps.get(), 0) : nullptr;
    if (!structure || !g_str_has_prefix(gst_structure_get_name(structure), "video/")) {
        return;
    }
    GstObjectPtr<GstPad> input(
        gst_element_get_static_pad(static_cast<GstElement*>(converter), "sink"));
    if (!gst_pad_is_linked(input.get())) {
        gst_pad_link(pad, input.get());
    }
}
} // namespace

VideoFileFeeder::VideoFileFeeder(std::string path)
    : path_(std::move(path)) {}

VideoFileFeeder::~VideoFileFeeder() {
    stop();
}

bool VideoFileFeeder::buildPlayback(int width, int height) {
    playback_ = adoptFloating(gst_pipeline_new(nullptr));
    GstElement* decoder = makeElement("uridecodebin");
    converter_ = addReference(makeElement("videoconvert"));
    GstElement* scaler = makeElement("videoscale");
    GstElement* sizeFilter = makeElement("capsfilter");
    sink_ = addReference(makeElement("appsink"));
    if (!decoder || !converter_ || !scaler || !sizeFilter || !sink_) {
        return false;
    }
    GError* uriError = nullptr;
    GCharPtr uri(gst_filename_to_uri(path_.c_str(), &uriError));
    GErrorPtr uriErrorOwner(uriError);
    if (!uri) {
        return false;
    }
    g_object_set(decoder, "uri", uri.get(), nullptr);
    GstCapsPtr caps(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width",
                                        G_TYPE_INT, width, "height", G_TYPE_INT, height,
                                        "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr));
    g_object_set(sizeFilter, "caps", caps.get(), nullptr);
    // sync: frames leave at the file's own pace, not as fast as it decodes.
    g_object_set(sink_.get(), "sync", TRUE, "max-buffers", 2u, "drop", TRUE, nullptr);
    gst_bin_add_many(GST_BIN(playback_.get()), decoder, converter_.get(), scaler, sizeFilter,
                     sink_.get(), nullptr);
    g_signal_connect(decoder, "pad-added", G_CALLBACK(linkVideoPad), converter_.get());
    return gst_element_link_many(converter_.get(), scaler, sizeFilter, sink_.get(), nullptr);
}

void VideoFileFeeder::start(GstAppSrc* source, const platform::MediaType& format) {
    stop();
    stopRequested_ = false;
    if (!buildPlayback(format.video.width, format.video.height) ||
        gst_element_set_state(playback_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        printCaptureLine("ERROR: could not play the video file %s\n", path_.c_str());
        const GErrorPtr reason(g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ,
                                                   "could not play the video file"));
        failCapture(source, *reason);
        return;
    }
    thread_ = std::thread(&VideoFileFeeder::feed, this, source);
}

void VideoFileFeeder::stop() {
    stopRequested_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (playback_) {
        gst_element_set_state(playback_.get(), GST_STATE_NULL);
    }
    sink_.reset();
    converter_.reset();
    playback_.reset();
}

void VideoFileFeeder::feed(GstAppSrc* source) {
    while (!stopRequested_ && !playbackFailed(source)) {
        if (passOneFrame(source)) {
            continue;
        }
        // At the end of the file, play it again from the start.
        if (gst_app_sink_is_eos(GST_APP_SINK(sink_.get()))) {
            gst_element_seek_simple(playback_.get(), GST_FORMAT_TIME,
                                    GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), 0);
        }
    }
}

// The file's own time stamps restart with every loop and tell nothing of
// when a frame reached the pipeline; without them the capture layer takes a
// frame's arrival as its capture time.
bool VideoFileFeeder::passOneFrame(GstAppSrc* source) {
    GstSamplePtr sample(gst_app_sink_try_pull_sample(GST_APP_SINK(sink_.get()), kPullTimeout));
    if (!sample) {
        return false;
    }
    GstBuffer* buffer = gst_buffer_copy(gst_sample_get_buffer(sample.get()));
    GST_BUFFER_PTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
    gst_app_src_push_buffer(source, buffer);
    return true;
}

// The message carries a copy of the error.
void VideoFileFeeder::failCapture(GstAppSrc* source, GError& reason) const {
    gst_element_post_message(GST_ELEMENT(source),
                             gst_message_new_error(GST_OBJECT(source), &reason, path_.c_str()));
}

// Drains the playback bus, which nobody else reads, and reports an error. The
// error is passed on as the capture source's own, so the capture learns why
// no more frames will come instead of waiting for them.
bool VideoFileFeeder::playbackFailed(GstAppSrc* source) {
    GstObjectPtr<GstBus> bus(gst_element_get_bus(playback_.get()));
    while (GstMessagePtr message{gst_bus_pop(bus.get())}) {
        if (GST_MESSAGE_TYPE(message.get()) != GST_MESSAGE_ERROR) {
            continue;
        }
        GError* reason = nullptr;
        gst_message_parse_error(message.get(), &reason, nullptr);
        GErrorPtr reasonOwner(reason);
        printCaptureLine("ERROR: video file %s: %s\n", path_.c_str(),
                         reason ? reason->message : "");
        if (reason) {
            failCapture(source, *reason);
        }
        return true;
    }
    return false;
}
