#pragma once

#include "capture/platform/PlatformTypes.h"
#include "capture/platform/gst/GstHandles.h"

#include <vector>

// Translation between the layer's media types and GStreamer caps.
namespace gstformats {

// Caps for a media type: its subtype as a GStreamer format, its size and, if
// set, its frame rate. Null for a subtype GStreamer has no format for.
GstCapsPtr capsFor(const platform::MediaType& type);

// The subtype of one caps structure; a format outside the known ones gets an
// id of its own that no table row matches.
platform::Guid subtypeOf(const GstStructure* structure);

// The fixed format a source produces by default, and the caps that ask for it.
platform::MediaType defaultFormat(const GstCaps* sourceCaps, GstCapsPtr& defaultCaps);

struct Capability {
    platform::VideoStreamCaps caps;
    platform::MediaType format;
};
// One record per size range of every structure the source can produce.
std::vector<Capability> capabilitiesOf(const GstCaps* sourceCaps);

// The times per frame a source offers at the size and subtype of the format.
// A range of rates that holds the format's own time per frame yields just
// that time; other ranges yield their ends. Empty when the caps carry no rates.
std::vector<int64_t> frameIntervalsAt(const GstCaps* sourceCaps, const platform::MediaType& format);

// The format of fixed caps, such as those a pad has negotiated.
platform::MediaType formatOf(const GstCaps* fixedCaps);

// Frames per second for a time per frame in 100 ns units, as a fraction.
void frameRateFor(int64_t averageTimePerFrame, int& numerator, int& denominator);

} // namespace gstformats
