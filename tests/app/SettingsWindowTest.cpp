#include "app/SettingsWindow.h"

#include "analysis/VideoProcessor.h"
#include "app/CalibrationDialog.h"
#include "app/OutputAddressDialog.h"
#include "app/ProcessObjects.h"
#include "app/ResponsePlot.h"
#include "app/remote/ControlBus.h"
#include "app/remote/RemoteControl.h"
#include "capture/MonotonicClock.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"
#include "tests/support/FakeCaptureProcessObjects.h"
#include "view/RunnerThr.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr unsigned long kCaptureStopMilliseconds = 5000;
constexpr int64_t kTicksPerSecond = 10000000;

// Every test case normally runs in a process of its own; when the whole
// executable runs at once, cameras and a demo camera left by an earlier case
// are unplugged again, and the first cameras reused.
int camerasAdded = 0;

void plugIn(const QString& name) {
    fakeCapture().addDevice(name.toStdString()).acceptAnySize(platform::subtype::kRgb24);
    ++camerasAdded;
}

void useCameras(const QStringList& names) {
    for (int i = camerasAdded; i < names.size(); ++i)
        plugIn(names[i]);
    for (int i = 0; i < camerasAdded; ++i)
        fakeCapture().device(i).pluggedIn = i < int(names.size());
}

QStringList itemTexts(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        QSettings().clear();
        // Cases that want cameras plug them in themselves.
        useCameras({});
        fakeCapture().removeOwnSources();
    }

    void TearDown() override {
        closeWindow();
        videoInputThr.stopDevice();
        videoInputThr.wait(kCaptureStopMilliseconds);
    }

    // The window before goes first, saving its settings for the next to read.
    void openWindow() {
        closeWindow();
        window = std::make_unique<SettingsWindow>();
        mainWindow = window.get();
    }

    void closeWindow() {
        window.reset();
        mainWindow = nullptr;
    }

    template <typename T> T* widget(const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QComboBox* cameraList() { return widget<QComboBox>("comboBoxCameraSelect"); }
    QComboBox* fpsList() { return widget<QComboBox>("comboBoxFPS"); }
    QComboBox* resolutionList() { return widget<QComboBox>("comboBoxResolution"); }
    QComboBox* trackingList() { return widget<QComboBox>("comboBoxTracking"); }
    QString statusText() { return widget<QLabel>("labelStatus")->text(); }

    bool listsEnabled() {
        const bool camera = cameraList()->isEnabled();
        EXPECT_EQ(fpsList()->isEnabled(), camera);
        EXPECT_EQ(resolutionList()->isEnabled(), camera);
        return camera;
    }

    static void store(const char* key, const QVariant& value) { QSettings().setValue(key, value); }

    std::unique_ptr<SettingsWindow> window;
};

// New sizes and rates come after the original ones, whose stored positions
// must keep their meaning.
// Without a camera the painted demo stands in for one, so a first start shows
// something; a camera plugged in later is listed before it, and the outputs
// stay off. The demo joins once per process, so the cameras go first here.
TEST_F(SettingsWindowTest, ListsOfferTheCamerasOrTheDemoCameraWhenThereIsNone) {
    for (const QStringList& cameras : {QStringList{"Front camera", "Rear camera"}, QStringList{}}) {
        SCOPED_TRACE(cameras.size());
        useCameras(cameras);
        openWindow();
        EXPECT_EQ(itemTexts(cameraList()),
                  cameras.isEmpty() ? QStringList{"Demo camera"} : cameras);
        EXPECT_EQ(itemTexts(fpsList()), QStringList({"15 fps", "30 fps", "60 fps"}));
        EXPECT_EQ(itemTexts(resolutionList()), QStringList({"160x120", "320x240", "640x480"}));
        EXPECT_TRUE(listsEnabled());
        EXPECT_TRUE(window->startStop());
        EXPECT_FALSE(listsEnabled());
        EXPECT_EQ(statusText().startsWith("No camera found: showing the demo camera · 160×120"),
                  cameras.isEmpty());
        EXPECT_FALSE(window->startStop());
    }

    useCameras({"Front camera"});
    EXPECT_TRUE(window->startStop());
    EXPECT_EQ(itemTexts(cameraList()), QStringList({"Front camera", "Demo camera"}));
    EXPECT_EQ(cameraList()->currentText(), "Demo camera");
    EXPECT_EQ(statusText(), "Demo camera · 160×120 · 30 fps");
    EXPECT_FALSE(window->startStop());
    EXPECT_EQ(statusText(), "Stopped");
    cameraList()->setCurrentIndex(0);
    EXPECT_TRUE(window->startStop());
    EXPECT_EQ(statusText(), "Front camera · 160×120 · 30 fps");
}

// The analysis object outlives the window, so each opening finds it set to
// the opposite tracking kind: the window must apply what it read, not
// inherit it. Unknown tracking names read as precise.
TEST_F(SettingsWindowTest, StoredChoicesAreRestoredOrFallBackWhenTheyNameNoItem) {
    struct Case {
        int stored[3];   // camera, frame rate, resolution
        int selected[3]; // the positions that become current
        const char* storedTracking;
        EstimatorKind tracking;
    };
    const Case cases[] = {
        {{1, 0, 1}, {1, 0, 1}, "classic", EstimatorKind::Classic},
        {{0, 2, 2}, {0, 2, 2}, "precise", EstimatorKind::Precise},
        {{5, 7, 3}, {0, 1, 0}, "sharpest", EstimatorKind::Precise},
        {{-1, -1, -1}, {0, 1, 0}, "", EstimatorKind::Precise},
    };
    useCameras({"Front camera", "Rear camera"});
    for (const Case& setup : cases) {
        SCOPED_TRACE(setup.stored[1]);
        store("settings/CameraId", setup.stored[0]);
        store("settings/FPSId", setup.stored[1]);
        store("settings/ResolutionId", setup.stored[2]);
        store("tracking/Estimator", setup.storedTracking);
        videoProcessor.setEstimator(setup.tracking == EstimatorKind::Classic
                                        ? EstimatorKind::Precise
                                        : EstimatorKind::Classic);
        openWindow();
        EXPECT_EQ(cameraList()->currentIndex(), setup.selected[0]);
        EXPECT_EQ(fpsList()->currentIndex(), setup.selected[1]);
        EXPECT_EQ(resolutionList()->currentIndex(), setup.selected[2]);
        EXPECT_EQ(videoProcessor.estimatorKind(), setup.tracking);
        EXPECT_EQ(trackingList()->currentData().toString(), estimatorKindName(setup.tracking));
        closeWindow();
    }
}

TEST_F(SettingsWindowTest, StartOpensTheChosenCameraAtTheChosenSizeAndRate) {
    struct Case {
        int fpsPosition;
        int resolutionPosition;
        QSize size;
        int framesPerSecond;
    };
    const Case cases[] = {{1, 1, {320, 240}, 30},
                          {0, 0, {160, 120}, 15},
                          {2, 2, {640, 480}, 60},
                          {2, 0, {160, 120}, 60}};
    useCameras({"Front camera", "Rear camera"});
    openWindow();
    cameraList()->setCurrentIndex(1);
    for (const Case& choice : cases) {
        SCOPED_TRACE(choice.framesPerSecond);
        fpsList()->setCurrentIndex(choice.fpsPosition);
        resolutionList()->setCurrentIndex(choice.resolutionPosition);

        EXPECT_TRUE(window->startStop());
        const auto& formats = fakeCapture().device(1).submittedFormats;
        ASSERT_FALSE(formats.empty());
        EXPECT_EQ(formats.back().video.width, choice.size.width());
        EXPECT_EQ(formats.back().video.height, choice.size.height());
        EXPECT_EQ(formats.back().video.averageTimePerFrame,
                  kTicksPerSecond / choice.framesPerSecond);

        EXPECT_FALSE(window->startStop());
        EXPECT_TRUE(videoInputThr.wait(kCaptureStopMilliseconds));
    }
}

// The measured part appears at the first measurement after frames came.
TEST_F(SettingsWindowTest, StatusBarShowsTheSourceAndItsMeasuresOrWhyCaptureStopped) {
    useCameras({"Front camera"});
    openWindow();
    EXPECT_EQ(statusText(), "Stopped");
    ASSERT_TRUE(window->startStop());
    EXPECT_EQ(statusText(), "Front camera · 160×120 · 30 fps");
    const QRegularExpression measured(
        "^Front camera · 160×120 · 30 fps · searching for the arms · received [0-9]+\\.[0-9] "
        "fps · analysis [0-9]+\\.[0-9] ms per frame$");
    const std::vector<uint8_t> blank(160 * 120 * 3, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        fakeCapture().pushSample(blank);
        return measured.match(statusText()).hasMatch();
    })) << statusText().toStdString();

    fakeCapture().failStream("the device stopped answering");
    EXPECT_TRUE(QTest::qWaitFor([&] { return listsEnabled(); }));
    EXPECT_EQ(statusText(), "Stopped · Front camera: the device stopped answering");
    EXPECT_TRUE(videoInputThr.wait(kCaptureStopMilliseconds));
    EXPECT_TRUE(window->startStop());
    EXPECT_TRUE(videoInputThr.isRunning());
    EXPECT_FALSE(window->startStop());
    EXPECT_EQ(statusText(), "Stopped");
}

// Frames stamped as captured 200 ms before they reach the capture layer show
// that delay, plus the hand-over and the analysis, once the classic estimator
// sends their attitudes to the outputs: it drifts back to level on every
// frame after the first few dozen.
TEST_F(SettingsWindowTest, DelayShownIsHowLongAgoTheFramesSentToTheOutputsWereCaptured) {
    constexpr int64_t kCapturedAgo = 200'000'000;
    constexpr int kDeadlineMs = 20000;
    useCameras({"Front camera"});
    store("tracking/Estimator", "classic");
    openWindow();
    ASSERT_TRUE(window->startStop());
    const QRegularExpression delay(" · delay ([0-9.]+) ms · ");
    QRegularExpressionMatch shown;
    uint8_t shade = 0;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            fakeCapture().pushSample(std::vector<uint8_t>(160 * 120 * 3, ++shade),
                                     monotonic_clock::nowNanoseconds() - kCapturedAgo);
            shown = delay.match(statusText());
            return shown.hasMatch();
        },
        kDeadlineMs))
        << statusText().toStdString();
    EXPECT_GE(shown.captured(1).toDouble(), 200.0);
    EXPECT_LT(shown.captured(1).toDouble(), 300.0);
}

// While capture runs, the list waits; only the loss of the camera in use
// stops it, and the list then catches up.
TEST_F(SettingsWindowTest, CameraListFollowsCamerasComingAndGoingAndLosingTheOneInUseStops) {
    useCameras({"Front camera", "Rear camera"});
    openWindow();
    cameraList()->setCurrentIndex(1);
    plugIn("USB camera");
    fakeCapture().unplugDevice(0);
    const QStringList followed = {"Rear camera", "USB camera"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return itemTexts(cameraList()) == followed; }));
    EXPECT_EQ(cameraList()->currentText(), "Rear camera");

    ASSERT_TRUE(window->startStop());
    fakeCapture().unplugDevice(camerasAdded - 1);
    plugIn("Spare camera");
    QTest::qWait(50);
    EXPECT_TRUE(videoInputThr.isRunning());
    EXPECT_FALSE(listsEnabled());
    EXPECT_EQ(itemTexts(cameraList()), followed);

    fakeCapture().unplugDevice(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listsEnabled(); }));
    EXPECT_EQ(statusText(), "Stopped · Rear camera was unplugged");
    EXPECT_TRUE(videoInputThr.wait(kCaptureStopMilliseconds));
    EXPECT_EQ(itemTexts(cameraList()), QStringList({"Spare camera"}));
}

// Both act at once but reach the store only when the window closes.
TEST_F(SettingsWindowTest, ResponseSlidersAndTrackingChoiceActAtOnceAndAreStoredAtClose) {
    openWindow();
    EXPECT_EQ(videoProcessor.rollResponse, 12);
    EXPECT_EQ(videoProcessor.pitchResponse, 12);
    widget<QSlider>("horizontalSliderResponseRoll")->setValue(99);
    widget<QSlider>("horizontalSliderResponsePitch")->setValue(3);
    EXPECT_EQ(videoProcessor.rollResponse, 24);
    EXPECT_EQ(videoProcessor.pitchResponse, 0);

    EXPECT_EQ(itemTexts(trackingList()), QStringList({"Precise", "Classic"}));
    EXPECT_EQ(videoProcessor.estimatorKind(), EstimatorKind::Precise);
    trackingList()->setCurrentIndex(1);
    EXPECT_EQ(videoProcessor.estimatorKind(), EstimatorKind::Classic);
    trackingList()->setCurrentIndex(0);
    EXPECT_EQ(videoProcessor.estimatorKind(), EstimatorKind::Precise);
    trackingList()->setCurrentIndex(1);
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
    closeWindow();
    QSettings stored;
    EXPECT_EQ(stored.value("settings/ResponseRoll").toInt(), 99);
    EXPECT_EQ(stored.value("tracking/Estimator").toString(), "classic");
}

TEST_F(SettingsWindowTest, DockOpensOnTheCameraTabAndEditBringsItBackAfterClosing) {
    openWindow();
    window->show();
    auto* tabs = widget<QTabWidget>("tabWidget");
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Camera");
    EXPECT_EQ(tabs->tabText(tabs->indexOf(trackingList()->parentWidget())), "Adjustments");
    auto* dock = widget<QDockWidget>("dockWidgetSettings");
    auto* menu = widget<QMenu>("menuSettings");
    ASSERT_TRUE(dock->isVisible());
    EXPECT_FALSE(menu->isEnabled());

    dock->close();
    EXPECT_TRUE(menu->isEnabled());
    widget<QAction>("actionShow")->trigger();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_FALSE(menu->isEnabled());
}

// The numbers beside the Adjustments sliders follow stored values, a drag
// before its release, the Centre button, and the corrections that put a
// crossed pair of limits back in order.
TEST_F(SettingsWindowTest, AdjustmentSlidersShowTheirValuesBesideThem) {
    store("settings/ZeroRoll", 100);
    store("settings/ResponsePitch", 77);
    openWindow();
    const auto number = [&](const char* name) { return widget<QLabel>(name)->text(); };
    EXPECT_EQ(number("labelZeroRollValue"), "100");
    EXPECT_EQ(number("labelResponsePitchValue"), "77");
    EXPECT_EQ(number("labelMaxPitchValue"), "255");

    auto* minRoll = widget<QSlider>("horizontalSliderMinRoll");
    minRoll->setSliderDown(true);
    minRoll->setSliderPosition(60);
    EXPECT_EQ(number("labelMinRollValue"), "60");
    EXPECT_EQ(minRoll->value(), 0);
    minRoll->setSliderDown(false);
    EXPECT_EQ(minRoll->value(), 60);

    emit videoProcessor.dataUpdate(90, 0);
    widget<QPushButton>("pushButtonCentre")->click();
    EXPECT_EQ(number("labelZeroRollValue"), "90");
    widget<QSlider>("horizontalSliderMaxRoll")->setValue(50);
    EXPECT_EQ(number("labelMinRollValue"), "90");
    EXPECT_EQ(number("labelMaxRollValue"), "90");
}

// The user flies another program with this one minimised: capture and the
// estimates that feed the outputs go on (the flight view resting is the
// view's own affair). Not among the ThreadSanitizer cases: a frame crosses to
// the GUI thread through Qt's event queue, whose locking happens inside Qt
// where the sanitizer cannot see it. Frames show no arms; from the 46th on
// the classic estimator reports a drift back to level on every frame, which
// is what is counted.
TEST_F(SettingsWindowTest, MinimisedWindowKeepsCapturingAndEstimating) {
    constexpr int kEstimatesWanted = 30;
    constexpr int kSmallestPictureBytes = 160 * 120 * 3;
    constexpr int kDeadlineMs = 20000;
    useCameras({"Front camera"});
    store("tracking/Estimator", "classic");
    int estimates = 0;
    QObject counter;
    QObject::connect(&videoProcessor, &VideoProcessor::dataUpdate, &counter, [&] { ++estimates; });
    openWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(videoInputThr.isRunning()) << "showing the window starts capture";
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isMinimized(); }));

    // A busy machine may drop frames the analysis has not taken yet, so
    // frames keep coming until enough estimates are out.
    QElapsedTimer clock;
    clock.start();
    for (int frame = 0; estimates < kEstimatesWanted && clock.elapsed() < kDeadlineMs; ++frame) {
        fakeCapture().pushSample(std::vector<uint8_t>(kSmallestPictureBytes, uint8_t(frame)));
        QTest::qWait(5);
    }
    EXPECT_GE(estimates, kEstimatesWanted);
    runnerThr.stopMe();
    EXPECT_TRUE(runnerThr.wait(kCaptureStopMilliseconds));
}

using PitchAndRoll = std::pair<double, double>;

// The next datagram a receiver on loopback got; empty when none came in time.
QByteArray next(QUdpSocket& receiver, int waitMs = 2000) {
    if (!receiver.hasPendingDatagrams() && !receiver.waitForReadyRead(waitMs))
        return {};
    return receiver.receiveDatagram().data();
}

// opentrack's pitch and roll, the fifth and sixth of its six doubles; not a
// number when what came is not an opentrack datagram.
PitchAndRoll opentrackPitchAndRoll(const QByteArray& datagram) {
    double values[6] = {NAN, NAN, NAN, NAN, NAN, NAN};
    if (datagram.size() == int(sizeof values))
        std::memcpy(values, datagram.constData(), sizeof values);
    return {values[4], values[5]};
}

// The window with opentrack and FlightGear listening on loopback.
class WindowOutputsTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        SettingsWindowTest::SetUp();
        for (QUdpSocket* receiver : {&opentrack, &flightGear})
            ASSERT_TRUE(receiver->bind(QHostAddress(QHostAddress::LocalHost), 0));
    }

    // Enters an opentrack address, and the FlightGear receiver's port, in the
    // menu's dialog; true when the dialog took them.
    bool enterAddresses(const QString& host, const QString& port) {
        widget<QAction>("actionNetworkAddresses")->trigger();
        auto* dialog = window->findChild<OutputAddressDialog*>();
        dialog->findChild<QLineEdit*>("lineEditOpentrackHost")->setText(host);
        dialog->findChild<QLineEdit*>("lineEditOpentrackPort")->setText(port);
        dialog->findChild<QLineEdit*>("lineEditFlightGearPort")
            ->setText(QString::number(flightGear.localPort()));
        dialog->accept();
        const bool taken = !dialog->isVisible();
        EXPECT_EQ(dialog->findChild<QLabel*>("labelRefusal")->text().startsWith("opentrack: "),
                  !taken);
        delete dialog;
        return taken;
    }

    // The message boxes the window has put up since the last call.
    QStringList takeMessages() {
        QCoreApplication::processEvents();
        QStringList texts;
        for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
            texts << box->text();
            delete box;
        }
        return texts;
    }

    QAction* action(const char* name) { return widget<QAction>(name); }

    // Full bank right and full nose up within the default limits.
    static void sendFullRightAndNoseUp() { emit videoProcessor.dataUpdate(255, -127.5f); }

    QUdpSocket opentrack;
    QUdpSocket flightGear;
};

// A refused address is not kept: the outputs send to the last one taken. The
// dialog reads the port as a number and leaves the rest to the resolver.
TEST_F(WindowOutputsTest, OutputsSendCalibratedUpdatesToTheAddressesTakenAndComeBackAtNextRun) {
    openWindow();
    ASSERT_TRUE(enterAddresses("localhost", QString::number(opentrack.localPort())));
    for (const char* port : {"65536", "port"})
        EXPECT_FALSE(enterAddresses("127.0.0.1", port)) << port;
    action("actionOpentrack")->trigger();
    action("actionFlightGear")->trigger();
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(statusText(), "Stopped · outputs: opentrack, FlightGear");
    sendFullRightAndNoseUp();
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(90, 180));
    EXPECT_EQ(next(flightGear), "1.0000,-1.0000\n");

    // The invert box acts at once and, like the outputs, is kept for the next run.
    widget<QCheckBox>("checkBoxInvertRoll")->setChecked(true);
    openWindow();
    EXPECT_TRUE(action("actionOpentrack")->isChecked());
    sendFullRightAndNoseUp();
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(90, -180));
    EXPECT_EQ(next(flightGear), "-1.0000,-1.0000\n");

    action("actionOpentrack")->trigger();
    sendFullRightAndNoseUp();
    EXPECT_FALSE(next(flightGear).isEmpty());
    EXPECT_TRUE(next(opentrack, 200).isEmpty());
    openWindow();
    EXPECT_FALSE(action("actionOpentrack")->isChecked());
    EXPECT_TRUE(action("actionFlightGear")->isChecked());
}

TEST_F(WindowOutputsTest, JoystickThatCannotBeMadeSwitchesItselfOffWithOneMessage) {
    if (QFileInfo::exists("/dev/uinput"))
        GTEST_SKIP() << "/dev/uinput exists here, so the joystick might really be made";
    store("outputs/Joystick", true);
    for (bool fromTheMenu : {false, true}) {
        SCOPED_TRACE(fromTheMenu);
        openWindow();
        if (fromTheMenu)
            action("actionJoystick")->trigger();
        EXPECT_FALSE(action("actionJoystick")->isChecked());
        const QStringList messages = takeMessages();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains("modprobe uinput")) << messages[0].toStdString();
    }
}

// Button and shortcut take turns. Pitch 127.5 would put its zero on the
// maximum, where the order corrections pull it back one step.
TEST_F(WindowOutputsTest, CentreAndCtrlRMakeTheCurrentAttitudeTheZeroOfTheOutputs) {
    struct Case {
        float roll, pitch;
        int zeroRoll, zeroPitch;
    };
    const Case cases[] = {{200, 127.5f, 200, 254}, {40, -27.5f, 40, 100}};
    store("outputs/Opentrack", true);
    store("outputs/OpentrackPort", opentrack.localPort());
    openWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.roll);
        emit videoProcessor.dataUpdate(entry.roll, entry.pitch);
        next(opentrack);
        if (&entry == &cases[0])
            QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);
        else
            widget<QPushButton>("pushButtonCentre")->click();
        EXPECT_EQ(widget<QSlider>("horizontalSliderZeroRoll")->value(), entry.zeroRoll);
        EXPECT_EQ(widget<QSlider>("horizontalSliderZeroPitch")->value(), entry.zeroPitch);
    }
    emit videoProcessor.dataUpdate(40, -27.5f);
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(0, 0));
}

// The user follows the dialog to its end, then cancels or finishes. The
// steps find roll zero 100, limits 55 and 190, and pitch zero 100 (-27.5),
// limits 55 and 190: 50 and 200 on the sliders, each a tenth short. The new
// pitch zero lies beyond the old maximum, which the order corrections would
// pull it back to if they ran on half the new values.
TEST_F(WindowOutputsTest, CalibrationFinishSetsTheLimitsAtOnceAndForNextRunAndCancelKeepsThem) {
    useCameras({"Front camera"});
    store("outputs/OpentrackPort", opentrack.localPort());
    store("settings/ZeroPitch", 20);
    store("settings/MinPitch", 10);
    store("settings/MaxPitch", 30);
    openWindow();
    QLabel* cameraPage = widget<QLabel>("labelOut");
    const auto calibrate = [&](bool finishing) {
        widget<QPushButton>("pushButtonCalibrate")->click();
        EXPECT_TRUE(videoInputThr.isRunning()) << "the dialog shows the camera picture";
        // The newest child; a closed dialog is deleted only later.
        const auto dialogs = window->findChildren<CalibrationDialog*>();
        ASSERT_FALSE(dialogs.isEmpty());
        CalibrationDialog* dialog = dialogs.last();
        EXPECT_EQ(outputLabel, dialog->findChild<QLabel*>("labelPicture"));
        auto nowMs = std::make_shared<qint64>(0);
        dialog->setClock([nowMs] { return *nowMs; });
        // What comes while the arms are lost is no measure of them.
        emit videoProcessor.trackingUpdate(TrackingState::Lost);
        *nowMs += 3500;
        emit videoProcessor.dataUpdate(100, -27.5f);
        *nowMs += 500;
        emit videoProcessor.dataUpdate(100, -27.5f);
        EXPECT_TRUE(
            dialog->findChild<QLabel*>("labelProblem")->text().startsWith("Your arms were"));
        emit videoProcessor.trackingUpdate(TrackingState::Tracking);
        const std::pair<float, float> poses[] = {
            {100, -27.5f}, {50, -27.5f}, {200, -27.5f}, {100, -77.5f}, {100, 72.5f}};
        for (const auto& [roll, pitch] : poses) {
            *nowMs += 3500;
            emit videoProcessor.dataUpdate(roll, pitch);
            *nowMs += 500;
        }
        emit videoProcessor.dataUpdate(100, -27.5f);
        auto* finish = dialog->findChild<QPushButton*>("pushButtonFinish");
        ASSERT_TRUE(finish->isEnabled());
        if (finishing)
            finish->click();
        else
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        EXPECT_EQ(outputLabel, cameraPage);
    };
    const auto sliderValues = [&] {
        std::vector<int> values;
        for (const char* name :
             {"ZeroRoll", "MinRoll", "MaxRoll", "ZeroPitch", "MinPitch", "MaxPitch"})
            values.push_back(
                widget<QSlider>(qPrintable(QString("horizontalSlider") + name))->value());
        return values;
    };

    calibrate(false);
    EXPECT_EQ(sliderValues(), std::vector<int>({127, 0, 255, 20, 10, 30}));
    calibrate(true);
    const std::vector<int> measured = {100, 55, 190, 100, 55, 190};
    EXPECT_EQ(sliderValues(), measured);
    action("actionOpentrack")->trigger();
    emit videoProcessor.dataUpdate(145, -27.5f);
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(0, 90));
    emit videoProcessor.dataUpdate(100, -77.5f);
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(90, 0));
    // The pacing the dialog started ends once its last repaint is delivered.
    runnerThr.stopMe();
    EXPECT_TRUE(QTest::qWaitFor([] { return runnerThr.isFinished(); }));
    openWindow();
    EXPECT_EQ(sliderValues(), measured);
}

// What the outputs send for a shaped axis, written out from the shaping's
// definition: the travel beyond the dead zone stretched back over [0, 1],
// bent by the expo curve, then scaled by the limit. The values used are
// exact in binary, so the order of the arithmetic cannot change a bit.
double shapedAxis(double a, double deadZone, double expo, double limit) {
    if (std::fabs(a) <= deadZone)
        return 0;
    const double stretched = std::copysign((std::fabs(a) - deadZone) / (1 - deadZone), a);
    return limit * ((1 - expo) * stretched + expo * std::pow(stretched, 3));
}

// Shaping set on the Response tab acts on the next update, the plots' dots
// follow each update, and both come back at the next run. A limit written by
// hand between the controls' steps is used as written, not as the control
// rounds it for display.
TEST_F(WindowOutputsTest, ResponseTabShapesTheOutputsAtOnceFollowsTheAttitudeAndIsKept) {
    store("outputs/Opentrack", true);
    store("outputs/OpentrackPort", opentrack.localPort());
    store("outputs/PitchLimit", 0.505);
    openWindow();
    const auto box = [&](const char* name) { return widget<QDoubleSpinBox>(name); };
    box("doubleSpinBoxRollDeadZone")->setValue(0.25);
    box("doubleSpinBoxRollExpo")->setValue(0.5);
    box("doubleSpinBoxRollLimit")->setValue(0.75);
    box("doubleSpinBoxPitchExpo")->setValue(1);
    // Calibrated roll 0.625 and 0.125 (in the dead zone), pitch 0.5 and -0.5.
    struct Update {
        float roll, pitch;
        QPointF calibratedRollAndPitch;
    };
    const Update updates[] = {{207, -64, {0.625, 0.5}}, {143, 63.5f, {0.125, -0.5}}};
    const auto expectShaped = [&] {
        for (const Update& update : updates) {
            const double roll = shapedAxis(update.calibratedRollAndPitch.x(), 0.25, 0.5, 0.75);
            const double pitch = shapedAxis(update.calibratedRollAndPitch.y(), 0, 1, 0.505);
            emit videoProcessor.dataUpdate(update.roll, update.pitch);
            EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(90 * pitch, 180 * roll));
            EXPECT_EQ(widget<ResponsePlot>("responsePlotRoll")->livePoint(),
                      QPointF(update.calibratedRollAndPitch.x(), roll));
            EXPECT_EQ(widget<ResponsePlot>("responsePlotPitch")->livePoint(),
                      QPointF(update.calibratedRollAndPitch.y(), pitch));
        }
    };
    expectShaped();

    openWindow();
    EXPECT_EQ(box("doubleSpinBoxRollDeadZone")->value(), 0.25);
    EXPECT_EQ(box("doubleSpinBoxRollLimit")->value(), 0.75);
    EXPECT_EQ(box("doubleSpinBoxPitchExpo")->value(), 1);
    EXPECT_EQ(box("doubleSpinBoxPitchDeadZone")->value(), 0);
    expectShaped();
}

// The real program, run to its end while the window here goes on answering:
// its exit status, and what it said on standard error.
std::pair<int, QString> runProgram(const QStringList& arguments,
                                   const QProcessEnvironment& environment) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(ZAREDEZID_PROGRAM, arguments);
    EXPECT_TRUE(QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 30000));
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            program.readAllStandardError()};
}

// What a desktop shortcut does while a game has the focus: the window obeys
// the command line as it obeys its own controls, a second start brings it
// forward, and the pause and the source are announced when they change,
// never at a frame.
TEST_F(WindowOutputsTest, RemoteControlOverTheSessionBusActsAsTheWindowsOwnControls) {
    useCameras({"Front camera"});
    store("outputs/Opentrack", true);
    store("outputs/OpentrackPort", opentrack.localPort());
    openWindow();
    RemoteControl remote;
    auto bus = std::make_unique<ControlBus>(remote);
    QString why;
    ASSERT_EQ(bus->publish(why), ControlBus::Outcome::Published) << why.toStdString();
    window->followRemote(remote);
    QSignalSpy announced(&remote, &RemoteControl::propertyChanged);
    // The command line needs no display.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    const auto command = [&](const char* option) {
        EXPECT_EQ(runProgram({option}, environment).first, 0) << option;
    };
    const auto expectPaused = [&](bool paused) {
        EXPECT_EQ(remote.paused(), paused);
        EXPECT_EQ(action("actionPauseOutputs")->isChecked(), paused);
        EXPECT_EQ(statusText().contains("Paused"), paused) << statusText().toStdString();
    };

    sendFullRightAndNoseUp();
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(90, 180));
    command("--pause");
    expectPaused(true);
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(0, 0));
    sendFullRightAndNoseUp();
    EXPECT_TRUE(next(opentrack, 200).isEmpty());
    EXPECT_EQ(remote.roll(), 0.0);
    command("--toggle-pause");
    expectPaused(false);
    sendFullRightAndNoseUp();
    EXPECT_EQ(opentrackPitchAndRoll(next(opentrack)), PitchAndRoll(90, 180));
    action("actionPauseOutputs")->trigger();
    expectPaused(true);
    command("--resume");
    command("--resume");
    expectPaused(false);
    emit videoProcessor.dataUpdate(40, -27.5f);
    command("--centre");
    EXPECT_EQ(widget<QSlider>("horizontalSliderZeroRoll")->value(), 40);

    EXPECT_TRUE(window->startStop());
    EXPECT_TRUE(QTest::qWaitFor([&] { return remote.source() == "Front camera"; }));
    EXPECT_FALSE(window->startStop());
    const QList<QVariantList> changes{{"Paused", true},           {"Paused", false},
                                      {"Paused", true},           {"Paused", false},
                                      {"Source", "Front camera"}, {"Source", ""}};
    EXPECT_EQ(QList<QVariantList>(announced), changes);
    window->showMinimized();
    EXPECT_EQ(runProgram({}, QProcessEnvironment::systemEnvironment()).first, 0);
    EXPECT_FALSE(window->isMinimized());

    bus.reset();
    EXPECT_EQ(runProgram({"--centre"}, environment),
              std::pair(1, QString("zaredezid: no running Zaredezid to control\n")));
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    EXPECT_EQ(runProgram({"--resume"}, environment),
              std::pair(1, QString("zaredezid: no running Zaredezid to control: there is no "
                                   "session bus\n")));
}

} // namespace
