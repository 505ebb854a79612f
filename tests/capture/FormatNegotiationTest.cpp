#include "CaptureTestSupport.h"

#include "capture/CaptureDevice.h"
#include "capture/FormatNegotiator.h"
#include "capture/platform/fake/FakeStreamConfig.h"

#include <gtest/gtest.h>

using namespace capture_test;
using namespace platform;

namespace {

VideoStreamCaps fixedSize(int width, int height) {
    return VideoStreamCaps{width, height, width, height, 1, 1};
}

class FormatNegotiationTest : public DeviceLayerTest {
protected:
    fake::FakeDevice& camera() { return fake.device(0); }
    void SetUp() override { fake.addDevice("Cam"); }
};

TEST_F(FormatNegotiationTest,
       DeviceAcceptingOnlyYuy2KeepsTheRequestedSizeAndIsPutBackAfterEachRefusal) {
    camera().acceptAnySize(subtype::kYuy2).defaultFormat.subtype = subtype::kUyvy;
    makeLayer();
    const std::string console = setUp(0, 320, 240);
    EXPECT_NE(console.find("SETUP: trying format RGB565 @ 320 by 240\n"
                           "SETUP: trying format YUY2 @ 320 by 240\n"
                           "SETUP: Capture callback set\n"),
              std::string::npos)
        << console;
    EXPECT_EQ(layer->frameWidth(0), 320);
    EXPECT_EQ(layer->frameHeight(0), 240);
    // The 24-bit, 32-bit, 555 and 565 RGB formats are tried first, each
    // refusal followed by a submission of the saved format.
    const auto& submitted = camera().submittedFormats;
    ASSERT_EQ(submitted.size(), 9u);
    const Guid tried[] = {subtype::kRgb24, subtype::kRgb32, subtype::kRgb555, subtype::kRgb565};
    for (std::size_t attempt = 0; attempt < 4; ++attempt) {
        EXPECT_EQ(submitted[2 * attempt].subtype, tried[attempt]) << attempt;
        EXPECT_EQ(submitted[2 * attempt + 1].subtype, subtype::kUyvy) << attempt;
    }
    EXPECT_EQ(submitted.back().subtype, subtype::kYuy2);
    EXPECT_EQ(submitted.back().sampleSize, 320 * 240 * 3);
}

// Device 0 takes the closest size it advertises; device 1 refuses even that
// and keeps its default, the frame rate asked for once more with the last
// attempt; device 2's capability records are of a size that is not read.
TEST_F(FormatNegotiationTest, RefusedRequestFallsBackToTheClosestAdvertisedSizeOrTheDefault) {
    camera()
        .accept(176, 144, subtype::kYuy2)
        .accept(352, 288, subtype::kYuy2)
        .offer(fixedSize(352, 288), subtype::kYuy2)
        .offer(fixedSize(176, 144), subtype::kYuy2);
    fake.addDevice("Cam 1").offer(fixedSize(352, 288), subtype::kYuy2);
    fake.addDevice("Cam 2")
        .accept(176, 144, subtype::kYuy2)
        .offer(fixedSize(176, 144), subtype::kYuy2)
        .capabilityRecordSize = 88;
    makeLayer();
    layer->setFrameRate(1, 30);
    const std::string closest = setUp(0, 160, 120);
    EXPECT_NE(closest.find("SETUP: couldn't find requested size - searching for closest matching "
                           "size\n"
                           "SETUP: closest supported size is YUY2 @ 176 144\n"
                           "SETUP: Capture callback set\n"),
              std::string::npos)
        << closest;
    EXPECT_EQ(closest.find("fps not offered"), std::string::npos);
    const std::string refused = setUp(1, 160, 120);
    EXPECT_NE(refused.find("SETUP: closest supported size is YUY2 @ 352 288\n"
                           "SETUP: Capture callback set\n"),
              std::string::npos)
        << refused;
    EXPECT_EQ(setUp(2, 160, 120).find("closest supported size"), std::string::npos);
    const std::pair<int, int> sizes[] = {{176, 144}, {640, 480}, {640, 480}};
    for (int device = 0; device < 3; ++device) {
        EXPECT_EQ(std::pair(layer->frameWidth(device), layer->frameHeight(device)), sizes[device])
            << device;
    }
    const MediaType& last = fake.device(1).submittedFormats.back();
    EXPECT_EQ(last.video.averageTimePerFrame, 333333);
    EXPECT_EQ(last.video.width, 352);
    EXPECT_EQ(last.subtype, subtype::kYuy2);
}

// The rate asked for gives way to the size: device 0 offers 640 by 480 only
// at 25 and 10 fps and its default is a large size at 30, which it must not
// fall back to; device 1 has the rate, its time per frame rounded another
// way; device 2 offers the closest size only at 15 fps.
TEST_F(FormatNegotiationTest, RequestedRateGivesWayToTheNearestOfferedAtTheChosenSize) {
    camera().acceptRates(640, 480, subtype::kYuy2, {1000000, 400000});
    camera().defaultFormat.video.width = 1280;
    camera().defaultFormat.video.height = 720;
    fake.addDevice("Cam 1").acceptRates(320, 240, subtype::kYuy2, {666667, 333334});
    fake.addDevice("Cam 2")
        .acceptRates(352, 288, subtype::kYuy2, {666666})
        .offer(fixedSize(352, 288), subtype::kYuy2);
    makeLayer();
    for (int device = 0; device < 3; ++device) {
        layer->setFrameRate(device, 30);
    }
    const std::string nearest = setUp(0, 640, 480);
    const std::string line = "SETUP: 30 fps not offered at 640 by 480 - using 25 fps\n";
    EXPECT_NE(nearest.find("SETUP: trying format YUY2 @ 640 by 480\n" + line +
                           "SETUP: Capture callback set\n"),
              std::string::npos)
        << nearest;
    EXPECT_EQ(nearest.find("fps not offered", nearest.find(line) + line.size()), std::string::npos);
    EXPECT_EQ(camera().submittedFormats.back().video.averageTimePerFrame, 400000);

    const std::string exact = setUp(1, 320, 240);
    EXPECT_EQ(exact.find("fps not offered"), std::string::npos) << exact;
    EXPECT_EQ(fake.device(1).submittedFormats.back().video.averageTimePerFrame, 333333);

    const std::string closest = setUp(2, 320, 240);
    EXPECT_NE(closest.find("SETUP: closest supported size is YUY2 @ 352 288\n"
                           "SETUP: 30 fps not offered at 352 by 288 - using 15 fps\n"),
              std::string::npos)
        << closest;
    const std::pair<int, int> sizes[] = {{640, 480}, {320, 240}, {352, 288}};
    for (int device = 0; device < 3; ++device) {
        EXPECT_TRUE(layer->isDeviceReady(device)) << device;
        EXPECT_EQ(std::pair(layer->frameWidth(device), layer->frameHeight(device)), sizes[device])
            << device;
    }
}

// A stream that carries another size or subtype than the one set up would
// hand callers frames they cannot read; it fails the set-up instead.
TEST_F(FormatNegotiationTest, StreamCarryingAnotherFormatThanSetUpIsRefused) {
    MediaType streamed = camera().acceptAnySize(subtype::kYuy2).defaultFormat;
    streamed.video.width = 3840;
    streamed.video.height = 2160;
    camera().streamedFormat = streamed;
    fake.addDevice("Cam 1").acceptAnySize(subtype::kYuy2).streamedFormat = streamed;
    fake.device(1).streamedFormat->subtype = subtype::kUyvy;
    fake.addDevice("Cam 2").acceptAnySize(subtype::kYuy2).streamedFormat = streamed;
    makeLayer();
    const std::string larger = setUp(0, 640, 480);
    EXPECT_NE(larger.find("ERROR: stream delivers YUY2 @ 3840 by 2160 instead of YUY2 @ 640 by "
                          "480\n"),
              std::string::npos)
        << larger;
    EXPECT_EQ(larger.find("ready to capture"), std::string::npos);
    EXPECT_FALSE(layer->isDeviceReady(0));
    EXPECT_NE(setUp(1, 3840, 2160)
                  .find("ERROR: stream delivers UYVY @ 3840 by 2160 instead of "
                        "YUY2 @ 3840 by 2160\n"),
              std::string::npos);
    EXPECT_FALSE(layer->isDeviceReady(1));
    EXPECT_EQ(setUp(2, 3840, 2160).find("ERROR"), std::string::npos);
    EXPECT_TRUE(layer->isDeviceReady(2));
}

// The closest size the device advertises for a request of 320 by 240.
FormatNegotiator::SizeMatch closestAmong(const std::function<void(fake::FakeDevice&)>& offer) {
    fake::FakeDevice device{u"Cam"};
    offer(device);
    CaptureDevice record;
    record.streamConfig =
        std::make_unique<fake::FakeStreamConfig>(std::make_shared<fake::FakeScript>(), device);
    const SubtypeTable subtypes;
    return FormatNegotiator(subtypes).findClosestSize(record, 320, 240);
}

// An exact match stops the search; among equally close sizes, whether two
// records or two steps of one record, the first wins.
TEST(ClosestSizeTest, ExactMatchWinsAndTiesGoToTheFirst) {
    const auto exact = closestAmong([](fake::FakeDevice& device) {
        device.offer(VideoStreamCaps{160, 120, 640, 480, 160, 120}, subtype::kYuy2)
            .offer(fixedSize(320, 240), subtype::kRgb24);
    });
    EXPECT_EQ(exact.width, 320);
    EXPECT_EQ(exact.height, 240);
    EXPECT_EQ(exact.subtype, subtype::kYuy2);
    EXPECT_EQ(closestAmong([](fake::FakeDevice& device) {
                  device.offer(fixedSize(330, 240), subtype::kYuy2)
                      .offer(fixedSize(310, 240), subtype::kRgb24);
              }).subtype,
              subtype::kYuy2);
    EXPECT_EQ(closestAmong([](fake::FakeDevice& device) {
                  device.offer(VideoStreamCaps{300, 240, 340, 240, 40, 1}, subtype::kRgb24);
              }).width,
              300);
}

// A zero step would divide by zero; such records and those that fail to
// read are passed over, and with nothing left the match stays at -1.
TEST(ClosestSizeTest, ZeroGranularityAndFailingRecordsAreSkipped) {
    const auto match = closestAmong([](fake::FakeDevice& device) {
        device.offer(VideoStreamCaps{320, 240, 320, 240, 0, 1}, subtype::kRgb24)
            .offer(VideoStreamCaps{320, 240, 320, 240, 1, 0}, subtype::kRgb32)
            .offer(fixedSize(320, 240), subtype::kUyvy)
            .offer(fixedSize(640, 480), subtype::kYuy2);
        device.failingCapabilityIndices = {2};
    });
    EXPECT_EQ(match.width, 640);
    EXPECT_EQ(match.subtype, subtype::kYuy2);
    const auto none = closestAmong([](fake::FakeDevice& device) {
        device.offer(VideoStreamCaps{320, 240, 320, 240, 0, 0}, subtype::kRgb24);
    });
    EXPECT_EQ(none.width, -1);
    EXPECT_EQ(none.height, -1);
}

} // namespace
