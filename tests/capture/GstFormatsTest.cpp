#include "capture/platform/gst/GstFormats.h"
#include "capture/SubtypeTable.h"

#include <cmath>
#include <gtest/gtest.h>

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
// match none of them.
TEST_F(GstFormatsTest, TimePerFrameBecomesTheFrameRateWholeRatesOverOne) {
    for (const auto& [timePerFrame, rate] : {std::pair{333333, 30.0}, std::pair{666666, 15.0},
                                             std::pair{400000, 25.0}, std::pair{333667, 29.97}}) {
        int numerator = 0, denominator = 0;
        gstformats::frameRateFor(timePerFrame, numerator, denominator);
        EXPECT_NEAR(double(numerator) / denominator, rate, 0.001) << timePerFrame;
        if (rate == std::round(rate)) {
            EXPECT_EQ(denominator, 1) << timePerFrame;
        }
    }
}

TEST_F(GstFormatsTest, MediaTypeBecomesCapsWithSizeAndRateWhereItHasThem) {
    const GstCapsPtr sized = gstformats::capsFor(video(subtype::kRgb24, 320, 240, 333333));
    const GstCapsPtr unsized = gstformats::capsFor(video(subtype::kRgb24, 0, 0, 0));
    EXPECT_TRUE(gst_caps_is_equal(
        sized.get(), parse("video/x-raw,format=BGR,width=320,height=240,framerate=30/1").get()));
    EXPECT_TRUE(gst_caps_is_equal(unsized.get(), parse("video/x-raw,format=BGR").get()));
}

TEST_F(GstFormatsTest, SubtypesMapToGstreamerFormatsAndBack) {
    const SubtypeTable table;
    for (const Guid& known : {subtype::kRgb24, subtype::kRgb32, subtype::kYuy2, subtype::kIyuv,
                              subtype::kUyvy, subtype::kY800, subtype::kMjpg}) {
        const GstCapsPtr caps = gstformats::capsFor(video(known, 8, 8, 0));
        ASSERT_TRUE(caps) << table.name(known);
        EXPECT_EQ(gstformats::subtypeOf(gst_caps_get_structure(caps.get(), 0)), known)
            << table.name(known);
    }
}

TEST_F(GstFormatsTest, FormatsOutsideTheTableCountAsOther) {
    const GstCapsPtr caps = parse("video/x-raw,format=NV12,width=8,height=8");
    const Guid nv12 = gstformats::subtypeOf(gst_caps_get_structure(caps.get(), 0));
    EXPECT_STREQ(SubtypeTable().name(nv12), "OTHER");
    // Yet such a format can still be asked for again.
    const GstCapsPtr again = gstformats::capsFor(video(nv12, 8, 8, 0));
    ASSERT_TRUE(again);
    EXPECT_TRUE(gst_caps_is_equal(again.get(), caps.get()));
}

TEST_F(GstFormatsTest, CapabilitiesCoverRangesStepsAndLists) {
    const GstCapsPtr caps = parse("video/x-raw,format=YUY2,width=[ 160, 640, 160 ],"
                                  "height=[ 120, 480, 120 ];"
                                  "image/jpeg,width={ 176, 352 },height=144");
    const auto capabilities = gstformats::capabilitiesOf(caps.get());
    ASSERT_EQ(capabilities.size(), 3u);
    EXPECT_EQ(capabilities[0].caps.minWidth, 160);
    EXPECT_EQ(capabilities[0].caps.maxWidth, 640);
    EXPECT_EQ(capabilities[0].caps.granularityX, 160);
    EXPECT_EQ(capabilities[0].caps.granularityY, 120);
    EXPECT_EQ(capabilities[0].format.subtype, subtype::kYuy2);
    EXPECT_EQ(capabilities[2].caps.minWidth, 352);
    EXPECT_EQ(capabilities[2].caps.maxWidth, 352);
    EXPECT_EQ(capabilities[2].caps.granularityX, 1);
    EXPECT_EQ(capabilities[2].format.subtype, subtype::kMjpg);
}

TEST_F(GstFormatsTest, DefaultFormatIsTheFirstStructureFixed) {
    const GstCapsPtr caps = parse("video/x-raw,format=YUY2,width=640,height=480,"
                                  "framerate={ 30/1, 15/1 };"
                                  "video/x-raw,format=YUY2,width=320,height=240");
    GstCapsPtr defaultCaps;
    const MediaType type = gstformats::defaultFormat(caps.get(), defaultCaps);
    EXPECT_EQ(type.video.width, 640);
    EXPECT_EQ(type.video.height, 480);
    EXPECT_EQ(type.subtype, subtype::kYuy2);
    EXPECT_EQ(type.video.averageTimePerFrame, 333333);
    EXPECT_TRUE(gst_caps_is_fixed(defaultCaps.get()));
}

} // namespace
