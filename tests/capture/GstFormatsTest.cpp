#include "capture/platform/gst/GstFormats.h"
#include "capture/SubtypeTable.h"

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

} // namespace
