#include "capture/platform/gst/GstFormats.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <string>

using namespace platform;

namespace gstformats {

namespace {
constexpr int64_t kHundredNanosecondsPerSecond = 10000000;
// Frame rates this close to a whole number are taken as that number, so that
// 333,333 units per frame asks for 30 frames per second, as cameras list it.
constexpr double kWholeRateTolerance = 0.01;
// Television rates such as 29.97 are whole rates slowed by 1000/1001, and
// cameras list them as exactly that fraction.
constexpr int kTelevisionNumerator = 1000;
constexpr int kTelevisionDenominator = 1001;
constexpr int32_t kBytesPerPixel = 3;

struct FormatRow {
    Guid subtype;
    const char* gstFormat;
};

// In the order of the layer's own subtype table, so that a GStreamer format
// maps back onto the first subtype that names it.
const FormatRow kFormatRows[] = {
    {subtype::kRgb24, "BGR"},    {subtype::kRgb32, "BGRx"}, {subtype::kRgb555, "RGB15"},
    {subtype::kRgb565, "RGB16"}, {subtype::kYuy2, "YUY2"},  {subtype::kYvyu, "YVYU"},
    {subtype::kYuyv, "YUY2"},    {subtype::kIyuv, "I420"},  {subtype::kUyvy, "UYVY"},
    {subtype::kYv12, "YV12"},    {subtype::kYvu9, "YVU9"},  {subtype::kY411, "IYU1"},
    {subtype::kY41p, "Y41B"},    {subtype::kAyuv, "AYUV"},  {subtype::kY800, "GRAY8"},
    {subtype::kY8, "GRAY8"},     {subtype::kGrey, "GRAY8"},
};

bool isFourccGuid(const Guid& id) {
    const Guid pattern = fourccGuid(0);
    return id.data2 == pattern.data2 && id.data3 == pattern.data3 && id.data4 == pattern.data4;
}

// A format outside the table travels as the four-character code of its name.
std::string formatNameOfFourcc(uint32_t code) {
    std::string name;
    for (int shift = 0; shift < 32; shift += 8) {
        const char letter = static_cast<char>((code >> shift) & 0xff);
        if (letter != 0 && letter != ' ') {
            name.push_back(letter);
        }
    }
    return name;
}

std::string gstFormatOf(const Guid& subtype) {
    for (const FormatRow& row : kFormatRows) {
        if (row.subtype == subtype) {
            return row.gstFormat;
        }
    }
    return isFourccGuid(subtype) ? formatNameOfFourcc(subtype.data1) : std::string();
}

const char* firstFormatName(const GstStructure* structure) {
    const GValue* format = gst_structure_get_value(structure, "format");
    if (format && GST_VALUE_HOLDS_LIST(format) && gst_value_list_get_size(format) > 0) {
        format = gst_value_list_get_value(format, 0);
    }
    return format && G_VALUE_HOLDS_STRING(format) ? g_value_get_string(format) : nullptr;
}

struct AxisRange {
    int32_t minimum;
    int32_t maximum;
    int32_t step;
};

void addAxisValue(const GValue* value, std::vector<AxisRange>& ranges) {
    if (G_VALUE_HOLDS_INT(value)) {
        const int32_t size = g_value_get_int(value);
        ranges.push_back(AxisRange{size, size, 1});
    } else if (GST_VALUE_HOLDS_INT_RANGE(value)) {
        ranges.push_back(AxisRange{gst_value_get_int_range_min(value),
                                   gst_value_get_int_range_max(value),
                                   gst_value_get_int_range_step(value)});
    } else if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint index = 0; index < gst_value_list_get_size(value); ++index) {
            addAxisValue(gst_value_list_get_value(value, index), ranges);
        }
    }
}

std::vector<AxisRange> axisRanges(const GstStructure* structure, const char* field) {
    std::vector<AxisRange> ranges;
    if (const GValue* value = gst_structure_get_value(structure, field)) {
        addAxisValue(value, ranges);
    }
    return ranges;
}

MediaType videoType(const Guid& subtype, int32_t width, int32_t height) {
    MediaType type;
    type.majorType = kMediaTypeVideo;
    type.formatType = kFormatVideoInfo;
    type.subtype = subtype;
    type.video.width = width;
    type.video.height = height;
    type.sampleSize = width * height * kBytesPerPixel;
    return type;
}

MediaType fixedFormat(const GstStructure* fixed) {
    int width = 0;
    int height = 0;
    gst_structure_get_int(fixed, "width", &width);
    gst_structure_get_int(fixed, "height", &height);
    MediaType type = videoType(subtypeOf(fixed), width, height);
    int numerator = 0;
    int denominator = 1;
    if (gst_structure_get_fraction(fixed, "framerate", &numerator, &denominator) && numerator > 0) {
        type.video.averageTimePerFrame = kHundredNanosecondsPerSecond * denominator / numerator;
    }
    return type;
}

double framesPerSecond(const GValue* fraction) {
    return double(gst_value_get_fraction_numerator(fraction)) /
           double(gst_value_get_fraction_denominator(fraction));
}

void addInterval(double framesPerSecond, std::vector<int64_t>& intervals) {
    if (framesPerSecond > 0) {
        intervals.push_back(std::llround(kHundredNanosecondsPerSecond / framesPerSecond));
    }
}

void addIntervals(const GValue* rates, int64_t wanted, std::vector<int64_t>& intervals) {
    if (GST_VALUE_HOLDS_FRACTION(rates)) {
        addInterval(framesPerSecond(rates), intervals);
    } else if (GST_VALUE_HOLDS_FRACTION_RANGE(rates)) {
        const double slowest = framesPerSecond(gst_value_get_fraction_range_min(rates));
        const double fastest = framesPerSecond(gst_value_get_fraction_range_max(rates));
        const double wantedRate =
            wanted > 0 ? double(kHundredNanosecondsPerSecond) / double(wanted) : 0.0;
        if (wantedRate >= slowest && wantedRate <= fastest) {
            intervals.push_back(wanted);
        } else {
            addInterval(slowest, intervals);
            addInterval(fastest, intervals);
        }
    } else if (GST_VALUE_HOLDS_LIST(rates)) {
        for (guint index = 0; index < gst_value_list_get_size(rates); ++index) {
            addIntervals(gst_value_list_get_value(rates, index), wanted, intervals);
        }
    }
}
} // namespace

void frameRateFor(int64_t averageTimePerFrame, int& numerator, int& denominator) {
    const double rate = double(kHundredNanosecondsPerSecond) / double(averageTimePerFrame);
    const double whole = std::round(rate);
    if (std::fabs(rate - whole) < kWholeRateTolerance) {
        numerator = static_cast<int>(whole);
        denominator = 1;
        return;
    }
    const double television = rate * kTelevisionDenominator / kTelevisionNumerator;
    if (std::fabs(television - std::round(television)) < kWholeRateTolerance) {
        numerator = static_cast<int>(std::round(television)) * kTelevisionNumerator;
        denominator = kTelevisionDenominator;
        return;
    }
    const int64_t divisor = std::gcd(kHundredNanosecondsPerSecond, averageTimePerFrame);
    numerator = static_cast<int>(kHundredNanosecondsPerSecond / divisor);
    denominator = static_cast<int>(averageTimePerFrame / divisor);
}

GstCapsPtr capsFor(const MediaType& type) {
    GstCapsPtr caps;
    if (type.subtype == subtype::kMjpg) {
        caps.reset(gst_caps_new_empty_simple("image/jpeg"));
    } else {
        const std::string format = gstFormatOf(type.subtype);
        if (format.empty()) {
            return nullptr;
        }
        caps.reset(
            gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, format.c_str(), nullptr));
    }
    if (type.video.width > 0 && type.video.height > 0) {
        gst_caps_set_simple(caps.get(), "width", G_TYPE_INT, type.video.width, "height", G_TYPE_INT,
                            type.video.height, nullptr);
    }
    if (type.video.averageTimePerFrame > 0) {
        int numerator = 0;
        int denominator = 1;
        frameRateFor(type.video.averageTimePerFrame, numerator, denominator);
        gst_caps_set_simple(caps.get(), "framerate", GST_TYPE_FRACTION, numerator, denominator,
                            nullptr);
    }
    return caps;
}

Guid subtypeOf(const GstStructure* structure) {
    if (gst_structure_has_name(structure, "image/jpeg")) {
        return subtype::kMjpg;
    }
    const char* format = firstFormatName(structure);
    if (!format) {
        return Guid{};
    }
    for (const FormatRow& row : kFormatRows) {
        if (std::strcmp(row.gstFormat, format) == 0) {
            return row.subtype;
        }
    }
    char code[4] = {' ', ' ', ' ', ' '};
    std::memcpy(code, format, std::min<std::size_t>(4, std::strlen(format)));
    return fourccGuid(fourcc(code[0], code[1], code[2], code[3]));
}

MediaType defaultFormat(const GstCaps* sourceCaps, GstCapsPtr& defaultCaps) {
    if (!sourceCaps || gst_caps_is_empty(sourceCaps) || gst_caps_is_any(sourceCaps)) {
        defaultCaps.reset(gst_caps_new_empty_simple("video/x-raw"));
        return videoType(Guid{}, 0, 0);
    }
    defaultCaps.reset(gst_caps_copy_nth(sourceCaps, 0));
    defaultCaps.reset(gst_caps_fixate(defaultCaps.release()));
    return fixedFormat(gst_caps_get_structure(defaultCaps.get(), 0));
}

MediaType formatOf(const GstCaps* fixedCaps) {
    if (!fixedCaps || gst_caps_is_empty(fixedCaps) || gst_caps_is_any(fixedCaps)) {
        return videoType(Guid{}, 0, 0);
    }
    return fixedFormat(gst_caps_get_structure(fixedCaps, 0));
}

std::vector<int64_t> frameIntervalsAt(const GstCaps* sourceCaps, const MediaType& format) {
    MediaType anyRate = format;
    anyRate.video.averageTimePerFrame = 0;
    const GstCapsPtr wanted = capsFor(anyRate);
    std::vector<int64_t> intervals;
    if (!sourceCaps || !wanted || gst_caps_is_any(sourceCaps)) {
        return intervals;
    }
    // Intersecting reads both caps; it is merely not declared const.
    const GstCapsPtr offered(gst_caps_intersect(const_cast<GstCaps*>(sourceCaps), wanted.get()));
    for (guint index = 0; index < gst_caps_get_size(offered.get()); ++index) {
        const GstStructure* structure = gst_caps_get_structure(offered.get(), index);
        if (const GValue* rates = gst_structure_get_value(structure, "framerate")) {
            addIntervals(rates, format.video.averageTimePerFrame, intervals);
        }
    }
    return intervals;
}

std::vector<Capability> capabilitiesOf(const GstCaps* sourceCaps) {
    std::vector<Capability> capabilities;
    if (!sourceCaps || gst_caps_is_any(sourceCaps)) {
        return capabilities;
    }
    for (guint index = 0; index < gst_caps_get_size(sourceCaps); ++index) {
        const GstStructure* structure = gst_caps_get_structure(sourceCaps, index);
        const Guid subtype = subtypeOf(structure);
        for (const AxisRange& widths : axisRanges(structure, "width")) {
            for (const AxisRange& heights : axisRanges(structure, "height")) {
                Capability capability;
                capability.caps.minWidth = widths.minimum;
                capability.caps.maxWidth = widths.maximum;
                capability.caps.granularityX = widths.step;
                capability.caps.minHeight = heights.minimum;
                capability.caps.maxHeight = heights.maximum;
                capability.caps.granularityY = heights.step;
                capability.format = videoType(subtype, widths.maximum, heights.maximum);
                capabilities.push_back(capability);
            }
        }
    }
    return capabilities;
}

} // namespace gstformats
