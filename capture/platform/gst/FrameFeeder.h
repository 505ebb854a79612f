#pragma once

#include "capture/platform/PlatformTypes.h"

#include <gst/app/gstappsrc.h>

// Something that pushes frames of an agreed format into a pipeline's
// application source from a thread of its own, until stopped.
class FrameFeeder {
public:
    virtual ~FrameFeeder() = default;
    virtual void start(GstAppSrc* source, const platform::MediaType& format) = 0;
    virtual void stop() = 0;
};
