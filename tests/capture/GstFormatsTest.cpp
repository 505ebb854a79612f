#include "capture/platform/gst/GstFormats.h"
#include "capture/SubtypeTable.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

class GstFormatsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }

    static GstCapsPtr parse(const char* description) {
        return GstCapsPtr(gst_caps_from_string(description));
    }
    static MediaType video(const Guid& subtype, int width, int height, int64_t timePerFrame) {
        MediaType type;
        type.subtype = subtype;
        type.video.width = width;
        type.video.height = height;
        type.video.averageTimePerFrame = timePerFrame;
        return type;
    }
};

// Cameras advertise whole rates as n/1; a rate like 10000000/333333 would
// match none of them. Caps carry a size and a rate only where the type has them.
TEST_F(GstFormatsTest, TimePerFrameBecomesTheFrameRateInCapsWholeRatesOverOne) {
    for (const auto& [timePerFrame, rate] : {std::pair{333333, 30.0}, std::pair{666666, 15.0},
                                             std::pair{400000, 25.0}, std::pair{333667, 29.97}}) {
        int numerator = 0, denominator = 0;
        gstformats::frameRateFor(timePerFrame, numerator, denominator);
        EXPECT_NEAR(double(numerator) / denominator, rate, 0.001) << timePerFrame;
        if (rate == std::round(rate)) {
            EXPECT_EQ(denominator, 1) << timePerFrame;
        }
    }
    const GstCapsPtr sized = gstformats::capsFor(video(subtype::kRgb24, 320, 240, 333333));
    const GstCapsPtr unsized = gstformats::capsFor(video(subtype::kRgb24, 0, 0, 0));
    EXPECT_TRUE(gst_caps_is_equal(
        sized.get(), parse("video/x-raw,format=BGR,width=320,height=240,framerate=30/1").get()));
    EXPECT_TRUE(gst_caps_is_equal(unsized.get(), parse("video/x-raw,format=BGR").get()));
}

// A format outside the table counts as OTHER, yet can still be asked for again.
TEST_F(GstFormatsTest, SubtypesMapToGstreamerFormatsAndBackOthersIncluded) {
    const SubtypeTable table;
    const GstCapsPtr nv12Caps = parse("video/x-raw,format=NV12,width=8,height=8");
    const Guid nv12 = gstformats::subtypeOf(gst_caps_get_structure(nv12Caps.get(), 0));
    EXPECT_STREQ(table.name(nv12), "OTHER");
    for (const Guid& known : {subtype::kRgb24, subtype::kRgb32, subtype::kYuy2, subtype::kIyuv,
                              subtype::kUyvy, subtype::kY800, subtype::kMjpg, nv12}) {
        const GstCapsPtr caps = gstformats::capsFor(video(known, 8, 8, 0));
        ASSERT_TRUE(caps) << table.name(known);
        EXPECT_EQ(gstformats::subtypeOf(gst_caps_get_structure(caps.get(), 0)), known)
            << table.name(known);
    }
    EXPECT_TRUE(gst_caps_is_equal(gstformats::capsFor(video(nv12, 8, 8, 0)).get(), nv12Caps.get()));
}

TEST_F(GstFormatsTest, CapabilitiesCoverRangesStepsAndLists) {
    const GstCapsPtr caps = parse("video/x-raw,format=YUY2,width=[ 160, 640, 160 ],"
                                  "height=[ 120, 480, 120 ];"
                                  "image/jpeg,width={ 176, 352 },height=144");
    const auto capabilities = gstformats::capabilitiesOf(caps.get());
    ASSERT_EQ(capabilities.size(), 3u);
    const auto& range = capabilities[0].caps;
    EXPECT_EQ(std::vector({range.minWidth, range.maxWidth, range.granularityX, range.granularityY}),
              std::vector({160, 640, 160, 120}));
    const auto& listed = capabilities[2].caps;
    EXPECT_EQ(std::vector({listed.minWidth, listed.maxWidth, listed.granularityX}),
              std::vector({352, 352, 1}));
    EXPECT_EQ(capabilities[0].format.subtype, subtype::kYuy2);
    EXPECT_EQ(capabilities[2].format.subtype, subtype::kMjpg);
}

TEST_F(GstFormatsTest, DefaultFormatIsTheFirstStructureFixed) {
    const GstCapsPtr caps = parse("video/x-raw,format=YUY2,width=640,height=480,"
                                  "framerate={ 30/1, 15/1 };"
                                  "video/x-raw,format=YUY2,width=320,height=240");
    GstCapsPtr defaultCaps;
    const MediaType type = gstformats::defaultFormat(caps.get(), defaultCaps);
    EXPECT_EQ(
        std::vector<int64_t>({type.video.width, type.video.height, type.video.averageTimePerFrame}),
        std::vector<int64_t>({640, 480, 333333}));
    EXPECT_EQ(type.subtype, subtype::kYuy2);
    EXPECT_TRUE(gst_caps_is_fixed(defaultCaps.get()));
}

// Caps the way a V4L2 camera lists them: each size with its own rates, some
// as lists, some as ranges, and a television rate.
TEST_F(GstFormatsTest, RatesOfferedAtASizeComeFromItsOwnStructuresAndAreAskedForAgain) {
    const GstCapsPtr camera = parse("video/x-raw,format=YUY2,width=640,height=480,"
                                    "framerate={ 25/1, 10/1 };"
                                    "video/x-raw,format=YUY2,width=3840,height=2160,framerate=2/1;"
                                    "video/x-raw,format=YUY2,width=320,height=240,"
                                    "framerate=[ 1/1, 60/1 ];"
                                    "video/x-raw,format=NV12,width=640,height=480,"
                                    "framerate=30000/1001");
    const auto intervalsAt = [&camera](const Guid& subtype, int width, int height, int64_t wanted) {
        auto intervals =
            gstformats::frameIntervalsAt(camera.get(), video(subtype, width, height, wanted));
        std::sort(intervals.begin(), intervals.end());
        return intervals;
    };
    EXPECT_EQ(intervalsAt(subtype::kYuy2, 640, 480, 333333),
              std::vector<int64_t>({400000, 1000000}));
    EXPECT_EQ(intervalsAt(subtype::kYuy2, 320, 240, 333333), std::vector<int64_t>({333333}));
    EXPECT_EQ(intervalsAt(subtype::kYuy2, 320, 240, 83333),
              std::vector<int64_t>({166667, 10000000}));
    EXPECT_TRUE(intervalsAt(subtype::kYuy2, 1280, 720, 333333).empty());
    const Guid nv12 = fourccGuid(fourcc('N', 'V', '1', '2'));
    const std::vector<int64_t> television = intervalsAt(nv12, 640, 480, 333333);
    ASSERT_EQ(television.size(), 1u);
    for (const auto& [subtype, timePerFrame] :
         {std::pair{subtype::kYuy2, int64_t(400000)}, std::pair{nv12, television[0]}}) {
        const GstCapsPtr asked = gstformats::capsFor(video(subtype, 640, 480, timePerFrame));
        EXPECT_TRUE(gst_caps_can_intersect(camera.get(), asked.get())) << timePerFrame;
    }
}

} // namespace
