#include "CaptureTestSupport.h"

#include "capture/VideoInput.h"
#include "capture/platform/fake/FakeCapturePlatform.h"

#include <gtest/gtest.h>

using namespace capture_test;
using fake::Operation;
using namespace platform;

namespace {

const std::string kReadySetup = "SETUP: Setting up device 0\n"
                                "SETUP: Cam\n"
                                "SETUP: Default Format is set to 640 by 480 \n"
                                "SETUP: trying format RGB24 @ 320 by 240\n"
                                "SETUP: Capture callback set\n"
                                "SETUP: Device is setup and ready to capture.\n\n";

class DeviceSetupTest : public DeviceLayerTest {
protected:
    void addCameras(int count) {
        for (int index = 0; index < count; ++index) {
            fake.addDevice(index == 0 ? "Cam" : "Cam " + std::to_string(index))
                .acceptAnySize(subtype::kRgb24);
        }
    }
};

TEST_F(DeviceSetupTest, ConstructionStartsTheRuntimeAndPrintsTheBanner) {
    std::string console =
        consoleOf([&] { layer = std::make_unique<VideoInput>(std::move(ownedPlatform)); });
    EXPECT_EQ(console, "\n***** VIDEOINPUT LIBRARY - 0.1995 - RIDO5 *****\n\n");
    EXPECT_EQ(fake.runtimeStarts(), 1);
}

TEST_F(DeviceSetupTest, DestroyingALayerNeverSetUpPrintsNothingAndStopsTheRuntime) {
    addCameras(1);
    makeLayer();
    const std::string console = consoleOf([&] { layer.reset(); });
    EXPECT_EQ(console, "");
    // The fake went with the layer; a second layer shows the count was back
    // at zero, since it starts the runtime again.
    auto next = std::make_unique<FakeCapturePlatform>();
    FakeCapturePlatform& nextFake = *next;
    consoleOf([&] { layer = std::make_unique<VideoInput>(std::move(next)); });
    EXPECT_EQ(nextFake.runtimeStarts(), 1);
}

TEST_F(DeviceSetupTest, RuntimeAlreadyInAnotherModeIsReported) {
    fake.fail(Operation::InitRuntime, kRuntimeChangedMode);
    const std::string console =
        consoleOf([&] { layer = std::make_unique<VideoInput>(std::move(ownedPlatform)); });
    EXPECT_EQ(console.rfind("SETUP - COM already setup - threaded VI might not be possible\n", 0),
              0u);
}

TEST_F(DeviceSetupTest, EnumerationListsFriendlyNamesAndPrintsNothing) {
    addCameras(2);
    fake.device(1).hasDescription = true;
    fake.device(1).description = u"USB video";
    fake.addDevice("Described only").hasFriendlyName = false;
    fake.device(2).hasDescription = true;
    fake.device(2).description = u"A description";
    makeLayer();

    int count = 0;
    EXPECT_EQ(consoleOf([&] { count = layer->enumerateDevices(); }), "");
    ASSERT_EQ(count, 3);
    EXPECT_STREQ(layer->deviceName(0), "Cam");
    EXPECT_STREQ(layer->deviceName(1), "Cam 1");
    EXPECT_STREQ(layer->deviceName(2), "A description");
    EXPECT_EQ(layer->deviceName(-1), nullptr);
    EXPECT_EQ(layer->deviceName(20), nullptr);
}

TEST_F(DeviceSetupTest, NamesAreCutToLowBytesAnd253Characters) {
    fake.addDevice("x").friendlyName = std::u16string(300, u'\u0141');
    makeLayer();
    layer->enumerateDevices();
    EXPECT_EQ(std::string(layer->deviceName(0)), std::string(253, '\x41'));
}

TEST_F(DeviceSetupTest, DevicesBeyondTheTwentiethAreCountedButNotNamed) {
    addCameras(21);
    makeLayer();
    EXPECT_EQ(layer->enumerateDevices(), 21);
    EXPECT_STREQ(layer->deviceName(19), "Cam 19");
}

TEST_F(DeviceSetupTest, MissingDeviceIsReportedWithTheLastUsableIndex) {
    addCameras(2);
    makeLayer();
    bool ready = true;
    const std::string console = consoleOf([&] { ready = layer->setupDevice(5, 320, 240); });
    EXPECT_FALSE(ready);
    EXPECT_EQ(console, "SETUP: device[5] not found - you have 2 devices available\n"
                       "SETUP: this means that the last device you can use is device[1] \n");
}

TEST_F(DeviceSetupTest, WithoutDevicesTheLastUsableIndexIsMinusOne) {
    makeLayer();
    EXPECT_EQ(setUp(0), "SETUP: device[0] not found - you have 0 devices available\n"
                        "SETUP: this means that the last device you can use is device[-1] \n");
}

TEST_F(DeviceSetupTest, IndicesOutsideTheSlotsAreRefusedSilently) {
    addCameras(1);
    makeLayer();
    for (int index : {-1, 20, 25}) {
        bool ready = true;
        EXPECT_EQ(consoleOf([&] { ready = layer->setupDevice(index, 320, 240); }), "");
        EXPECT_FALSE(ready);
        EXPECT_EQ(layer->frameSize(index), 0);
    }
}

TEST_F(DeviceSetupTest, ReadyDeviceReportsItsFrameSize) {
    addCameras(1);
    makeLayer();
    EXPECT_EQ(setUp(), kReadySetup);
    EXPECT_TRUE(layer->isDeviceReady(0));
    EXPECT_EQ(layer->frameWidth(0), 320);
    EXPECT_EQ(layer->frameHeight(0), 240);
    EXPECT_EQ(layer->frameSize(0), 320 * 240 * 3);
    // A ready device refuses a second set-up without a word.
    bool again = true;
    EXPECT_EQ(consoleOf([&] { again = layer->setupDevice(0, 160, 120); }), "");
    EXPECT_FALSE(again);
}

TEST_F(DeviceSetupTest, DeviceWithoutPreviewPinIsConfiguredThroughItsCapturePin) {
    addCameras(1);
    fake.device(0).hasPreviewPin = false;
    makeLayer();
    const std::string console = setUp();
    EXPECT_EQ(console, "SETUP: Setting up device 0\n"
                       "SETUP: Cam\n"
                       "SETUP: Couldn't find preview pin using SmartTee\n"
                       "SETUP: Default Format is set to 640 by 480 \n"
                       "SETUP: trying format RGB24 @ 320 by 240\n"
                       "SETUP: Capture callback set\n"
                       "SETUP: Device is setup and ready to capture.\n\n");
    EXPECT_TRUE(layer->isDeviceReady(0));
}

TEST_F(DeviceSetupTest, FrameRateBecomesTheTimePerFrame) {
    addCameras(1);
    makeLayer();
    layer->setFrameRate(0, 15);
    setUp();
    ASSERT_FALSE(fake.device(0).submittedFormats.empty());
    EXPECT_EQ(fake.device(0).submittedFormats.back().video.averageTimePerFrame, 666666);
}

TEST_F(DeviceSetupTest, FrameRateZeroKeepsTheDevicesOwnRate) {
    addCameras(1);
    fake.device(0).defaultFormat.video.averageTimePerFrame = 400000;
    makeLayer();
    layer->setFrameRate(0, 0);
    setUp();
    EXPECT_EQ(fake.device(0).submittedFormats.back().video.averageTimePerFrame, 400000);
}

struct StepFailure {
    const char* name;
    Operation operation;
    std::string line;
};

class SetupStepFailureTest : public DeviceSetupTest,
                             public testing::WithParamInterface<StepFailure> {};

TEST_P(SetupStepFailureTest, PrintsItsLineTearsDownAndLeavesAFreshSlot) {
    addCameras(1);
    makeLayer();
    fake.fail(GetParam().operation);
    bool ready = true;
    const std::string console = consoleOf([&] { ready = layer->setupDevice(0, 320, 240); });
    EXPECT_FALSE(ready);
    EXPECT_NE(console.find(GetParam().line), std::string::npos) << console;
    EXPECT_NE(console.find("SETUP: Device 0 disconnected and freed\n\n"), std::string::npos);

    fake.clearFailures();
    EXPECT_EQ(setUp(), kReadySetup);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, SetupStepFailureTest,
    testing::Values(StepFailure{"CreateFilterGraph", Operation::CreateFilterGraph,
                                "ERROR - Could not add the graph builder!\n"},
                    StepFailure{"SetFiltergraph", Operation::SetFiltergraph,
                                "ERROR - Could not set filtergraph\n"},
                    StepFailure{"QueryMediaControl", Operation::QueryMediaControl,
                                "ERROR - Could not create the Media Control object\n"},
                    StepFailure{"FindStreamConfig", Operation::FindStreamConfig,
                                "ERROR: Couldn't config the stream!\n"},
                    StepFailure{"GetFormat", Operation::GetFormat,
                                "ERROR: Couldn't getFormat for pAmMediaType!\n"},
                    StepFailure{"CreateSampleGrabber", Operation::CreateSampleGrabber,
                                "Could not Create Sample Grabber - CoCreateInstance()\n"},
                    StepFailure{"AddSampleGrabber", Operation::AddSampleGrabber,
                                "Could not add Sample Grabber - AddFilter()\n"},
                    StepFailure{"QuerySampleGrabber", Operation::QuerySampleGrabber,
                                "ERROR: Could not query SampleGrabber\n"},
                    StepFailure{"SetCallback", Operation::SetCallback,
                                "ERROR: problem setting callback\n"},
                    StepFailure{"CreateNullRenderer", Operation::CreateNullRenderer,
                                "ERROR: Could not create filter - NullRenderer\n"},
                    StepFailure{"AddNullRenderer", Operation::AddNullRenderer,
                                "ERROR: Could not add filter - NullRenderer\n"},
                    StepFailure{"RenderStream", Operation::RenderStream,
                                "ERROR: Could not connect pins - RenderStream()\n"},
                    StepFailure{"Run", Operation::Run, "ERROR: Could not start graph\n"}),
    [](const testing::TestParamInfo<StepFailure>& info) { return std::string(info.param.name); });

TEST_F(DeviceSetupTest, UnbindableDeviceIsNotFound) {
    addCameras(1);
    fake.device(0).bindSucceeds = false;
    makeLayer();
    EXPECT_EQ(setUp(), "SETUP: Setting up device 0\n"
                       "ERROR - Could not find specified video device\n"
                       "\nSETUP: Disconnecting device 0\n"
                       "SETUP: freeing Control   \n"
                       "SETUP: freeing Capture Graph \n"
                       "SETUP: freeing Main Graph \n"
                       "SETUP: Device 0 disconnected and freed\n\n");
}

TEST_F(DeviceSetupTest, FailedStartRemovesEverythingDownstreamOfTheSource) {
    addCameras(1);
    makeLayer();
    fake.fail(Operation::Run);
    EXPECT_EQ(setUp(), "SETUP: Setting up device 0\n"
                       "SETUP: Cam\n"
                       "SETUP: Default Format is set to 640 by 480 \n"
                       "SETUP: trying format RGB24 @ 320 by 240\n"
                       "SETUP: Capture callback set\n"
                       "ERROR: Could not start graph\n"
                       "\nSETUP: Disconnecting device 0\n"
                       "SETUP: freeing Grabber Callback\n"
                       "SETUP: freeing Renderer \n"
                       "SETUP: freeing Capture Source \n"
                       "SETUP: freeing Grabber Filter  \n"
                       "SETUP: freeing Grabber  \n"
                       "SETUP: freeing Control   \n"
                       "SETUP: freeing Media Type  \n"
                       "SETUP: removing filter Cam...\n"
                       "SETUP: filter removed Cam  \n"
                       "SETUP: freeing Capture Graph \n"
                       "SETUP: freeing Main Graph \n"
                       "SETUP: Device 0 disconnected and freed\n\n");
}

TEST_F(DeviceSetupTest, GraphWithoutClockControlStillStarts) {
    addCameras(1);
    makeLayer();
    fake.fail(Operation::RunWithoutClock);
    const std::string console = setUp();
    EXPECT_NE(console.find("ERROR: Could not get IID_IMediaFilter interface\n"), std::string::npos);
    EXPECT_TRUE(layer->isDeviceReady(0));
}

// The graph builder is the one step whose failure keeps the record: it stays
// marked as started, so a disconnect frames nothing between its two lines.
TEST_F(DeviceSetupTest, GraphBuilderFailureKeepsTheStartedRecord) {
    addCameras(1);
    makeLayer();
    fake.fail(Operation::CreateCaptureGraphBuilder);
    EXPECT_EQ(setUp(), "SETUP: Setting up device 0\n"
                       "ERROR - Could not create the Filter Graph Manager\n");
    EXPECT_EQ(consoleOf([&] { layer->disconnectDevice(0); }),
              "\nSETUP: Disconnecting device 0\n"
              "SETUP: Device 0 disconnected and freed\n\n");
}

TEST_F(DeviceSetupTest, GraphBuilderFailureCanBeRetriedOverTheSameRecord) {
    addCameras(1);
    makeLayer();
    fake.fail(Operation::CreateCaptureGraphBuilder);
    setUp();
    fake.clearFailures();
    EXPECT_EQ(setUp(), kReadySetup);
}

} // namespace
