#include "CaptureTestSupport.h"

#include "capture/VideoInput.h"
#include "capture/platform/fake/FakeCapturePlatform.h"

#include <gtest/gtest.h>

using namespace capture_test;
using fake::Operation;
using namespace platform;

namespace {

const std::string kSetupStart = "SETUP: Setting up device 0\n"
                                "SETUP: Cam\n";
const std::string kNegotiation = "SETUP: Default Format is set to 640 by 480 \n"
                                 "SETUP: trying format RGB24 @ 320 by 240\n"
                                 "SETUP: Capture callback set\n";
const std::string kReadySetup =
    kSetupStart + kNegotiation + "SETUP: Device is setup and ready to capture.\n\n";

class DeviceSetupTest : public DeviceLayerTest {
protected:
    // Cameras "Cam", "Cam 1", "Cam 2", ... accepting any size, then the layer.
    void makeLayerWithCameras(int count) {
        for (int index = 0; index < count; ++index) {
            fake.addDevice(index == 0 ? "Cam" : "Cam " + std::to_string(index))
                .acceptAnySize(subtype::kRgb24);
        }
        makeLayer();
    }
};

// The runtime counter is process-wide: a layer that did not give its share
// back would keep the next layer from starting the runtime.
TEST_F(DeviceSetupTest, LayerStartsTheRuntimeOnceGivesItBackSilentlyAndReportsAnotherMode) {
    fake.addDevice("Cam");
    EXPECT_EQ(consoleOf([&] { layer = std::make_unique<VideoInput>(std::move(ownedPlatform)); }),
              "\n***** ZAREDEZID CAPTURE LAYER - 1.0000 *****\n\n");
    EXPECT_EQ(fake.runtimeStarts(), 1);
    layer->enumerateDevices();
    EXPECT_EQ(fake.runtimeStops(), 0) << "enumeration keeps the layer's runtime";
    EXPECT_EQ(consoleOf([&] { layer.reset(); }), "");

    // The next layer finds the runtime already set up in another mode.
    auto next = std::make_unique<FakeCapturePlatform>();
    FakeCapturePlatform& nextFake = *next;
    nextFake.fail(Operation::InitRuntime, kRuntimeChangedMode);
    EXPECT_EQ(consoleOf([&] {
                  layer = std::make_unique<VideoInput>(std::move(next));
              }).rfind("SETUP - COM already setup - threaded capture might not be possible\n", 0),
              0u);
    EXPECT_EQ(nextFake.runtimeStarts(), 1);
}

// Devices beyond the twentieth are counted but not named.
TEST_F(DeviceSetupTest, EnumerationListsFriendlyNamesCutToLowBytesAndPrintsNothing) {
    fake.addDevice("Cam");
    fake.addDevice("x").friendlyName = std::u16string(300, u'\u0141');
    fake.device(1).hasDescription = true;
    fake.device(1).description = u"USB video";
    fake.addDevice("Described only").hasFriendlyName = false;
    fake.device(2).hasDescription = true;
    fake.device(2).description = u"A description";
    for (int index = 3; index < 21; ++index)
        fake.addDevice("Cam " + std::to_string(index));
    makeLayer();

    int count = 0;
    EXPECT_EQ(consoleOf([&] { count = layer->enumerateDevices(); }), "");
    ASSERT_EQ(count, 21);
    EXPECT_STREQ(layer->deviceName(19), "Cam 19");
    EXPECT_STREQ(layer->deviceName(0), "Cam");
    EXPECT_EQ(std::string(layer->deviceName(1)), std::string(253, '\x41'));
    EXPECT_STREQ(layer->deviceName(2), "A description");
    EXPECT_EQ(layer->deviceName(-1), nullptr);
    EXPECT_EQ(layer->deviceName(20), nullptr);
}

// A device past the last is refused with lines that name the last usable one.
TEST_F(DeviceSetupTest, SetUpPastTheLastDeviceNamesTheLastOneAndGivesNoFrameSize) {
    makeLayerWithCameras(2);
    std::unique_ptr<VideoInput> withoutCameras;
    consoleOf([&] {
        withoutCameras = std::make_unique<VideoInput>(std::make_unique<FakeCapturePlatform>());
    });
    const struct {
        VideoInput* devices;
        int index;
        std::string console;
    } cases[] = {{layer.get(), 5,
                  "SETUP: device[5] not found - you have 2 devices available\n"
                  "SETUP: this means that the last device you can use is device[1] \n"},
                 {withoutCameras.get(), 0,
                  "SETUP: device[0] not found - you have 0 devices available\n"
                  "SETUP: this means that the last device you can use is device[-1] \n"}};
    for (const auto& refused : cases) {
        bool ready = true;
        EXPECT_EQ(consoleOf([&] { ready = refused.devices->setupDevice(refused.index, 320, 240); }),
                  refused.console);
        EXPECT_FALSE(ready);
        EXPECT_EQ(refused.devices->frameSize(refused.index), 0);
    }
    consoleOf([&] { withoutCameras.reset(); });
}

TEST_F(DeviceSetupTest, ReadyDeviceReportsItsFrameSizeAndRefusesASecondOrOutOfRangeSetUp) {
    makeLayerWithCameras(1);
    EXPECT_EQ(setUp(), kReadySetup);
    EXPECT_TRUE(layer->isDeviceReady(0));
    EXPECT_EQ(layer->frameWidth(0), 320);
    EXPECT_EQ(layer->frameHeight(0), 240);
    EXPECT_EQ(layer->frameSize(0), 320 * 240 * 3);
    // A second set-up, and one of an index outside the twenty slots, fail silently.
    for (int index : {0, -1, 20, 25}) {
        bool ready = true;
        EXPECT_EQ(consoleOf([&] { ready = layer->setupDevice(index, 160, 120); }), "") << index;
        EXPECT_FALSE(ready) << index;
    }
    EXPECT_EQ(layer->frameSize(20), 0);
}

// Neither a preview pin nor control over the graph's clock is needed.
TEST_F(DeviceSetupTest, DeviceWithoutPreviewPinOrClockControlStillStarts) {
    fake.addDevice("Cam").acceptAnySize(subtype::kRgb24).hasPreviewPin = false;
    fake.fail(Operation::RunWithoutClock);
    makeLayer();
    const std::string console = setUp();
    EXPECT_NE(console.find("SETUP: Couldn't find preview pin using SmartTee\n" + kNegotiation),
              std::string::npos)
        << console;
    EXPECT_NE(console.find("ERROR: Could not get IID_IMediaFilter interface\n"), std::string::npos);
    EXPECT_TRUE(layer->isDeviceReady(0));
}

TEST_F(DeviceSetupTest, FrameRateBecomesTheTimePerFrameAndZeroKeepsTheDevicesOwn) {
    fake.addDevice("Cam").acceptAnySize(subtype::kRgb24);
    fake.addDevice("Cam 1").acceptAnySize(subtype::kRgb24);
    fake.device(1).defaultFormat.video.averageTimePerFrame = 400000;
    makeLayer();
    layer->setFrameRate(0, 15);
    layer->setFrameRate(1, 0);
    setUp(0);
    setUp(1);
    ASSERT_TRUE(layer->isDeviceReady(1));
    EXPECT_EQ(fake.device(0).submittedFormats.back().video.averageTimePerFrame, 666666);
    EXPECT_EQ(fake.device(1).submittedFormats.back().video.averageTimePerFrame, 400000);
}

// Each failing step prints the line that names it, tears the record down and
// leaves a fresh one in its slot, so that the next set-up starts cleanly;
// a device that cannot be bound is torn down the same way.
TEST_F(DeviceSetupTest, EveryFailingStepPrintsItsLineTearsDownAndLeavesAFreshSlot) {
    const std::pair<Operation, std::string> failures[] = {
        {Operation::CreateFilterGraph, "ERROR - Could not add the graph builder!"},
        {Operation::SetFiltergraph, "ERROR - Could not set filtergraph"},
        {Operation::QueryMediaControl, "ERROR - Could not create the Media Control object"},
        {Operation::FindStreamConfig, "ERROR: Couldn't config the stream!"},
        {Operation::GetFormat, "ERROR: Couldn't getFormat for pAmMediaType!"},
        {Operation::CreateSampleGrabber, "Could not Create Sample Grabber - CoCreateInstance()"},
        {Operation::AddSampleGrabber, "Could not add Sample Grabber - AddFilter()"},
        {Operation::QuerySampleGrabber, "ERROR: Could not query SampleGrabber"},
        {Operation::SetCallback, "ERROR: problem setting callback"},
        {Operation::CreateNullRenderer, "ERROR: Could not create filter - NullRenderer"},
        {Operation::AddNullRenderer, "ERROR: Could not add filter - NullRenderer"},
        {Operation::RenderStream, "ERROR: Could not connect pins - RenderStream()"},
        {Operation::Run, "ERROR: Could not start graph"}};
    makeLayerWithCameras(1);
    for (const auto& [operation, line] : failures) {
        fake.fail(operation);
        bool ready = true;
        const std::string console = consoleOf([&] { ready = layer->setupDevice(0, 320, 240); });
        EXPECT_FALSE(ready) << line;
        EXPECT_NE(console.find(line + "\n"), std::string::npos) << console;
        EXPECT_NE(console.find("SETUP: Device 0 disconnected and freed\n\n"), std::string::npos);

        fake.clearFailures();
        EXPECT_EQ(setUp(), kReadySetup) << line;
        consoleOf([&] { layer->disconnectDevice(0); });
    }
    fake.device(0).bindSucceeds = false;
    const std::string unbound = setUp();
    EXPECT_NE(unbound.find("ERROR - Could not find specified video device\n"), std::string::npos);
    EXPECT_NE(unbound.find("SETUP: Device 0 disconnected and freed\n"), std::string::npos);
    EXPECT_FALSE(layer->isDeviceReady(0));
}

// A start that fails leaves the source, grabber and renderer in the graph;
// the teardown has to take every one of them out before freeing the graph.
TEST_F(DeviceSetupTest, FailedStartRemovesEverythingDownstreamOfTheSource) {
    makeLayerWithCameras(1);
    fake.fail(Operation::Run);
    const std::string console = setUp();
    EXPECT_NE(console.find("SETUP: freeing Renderer \n"
                           "SETUP: freeing Capture Source \n"
                           "SETUP: freeing Grabber Filter  \n"),
              std::string::npos)
        << console;
    EXPECT_NE(console.find("SETUP: filter removed Cam  \n"), std::string::npos) << console;
}

// The graph builder is the one step whose failure keeps the record: it stays
// marked as started, so a disconnect frames nothing between its two lines,
// and a later set-up starts over in the same record.
TEST_F(DeviceSetupTest, GraphBuilderFailureKeepsTheStartedRecordForARetry) {
    makeLayerWithCameras(1);
    fake.fail(Operation::CreateCaptureGraphBuilder);
    EXPECT_EQ(setUp(), "SETUP: Setting up device 0\n"
                       "ERROR - Could not create the Filter Graph Manager\n");
    fake.clearFailures();
    EXPECT_EQ(setUp(), kReadySetup);

    fake.fail(Operation::CreateCaptureGraphBuilder);
    consoleOf([&] { layer->disconnectDevice(0); });
    setUp();
    EXPECT_EQ(consoleOf([&] { layer->disconnectDevice(0); }),
              "\nSETUP: Disconnecting device 0\n"
              "SETUP: Device 0 disconnected and freed\n\n");
}

} // namespace
