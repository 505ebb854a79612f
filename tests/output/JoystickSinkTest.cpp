#include "output/JoystickSink.h"
#include "output/Calibration.h"
#include "tests/support/VividCamera.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <libevdev/libevdev.h>

#include <cerrno>
#include <memory>
#include <set>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(JoystickSink, DescribesAVirtualStickWithTwoAxesAndATrigger) {
    const auto description = JoystickSink::deviceDescription();
    EXPECT_STREQ(libevdev_get_name(description.get()), "Zaredezid");
    EXPECT_EQ(libevdev_get_id_bustype(description.get()), BUS_VIRTUAL);
    for (unsigned int axis : {ABS_X, ABS_Y}) {
        const input_absinfo* info = libevdev_get_abs_info(description.get(), axis);
        ASSERT_NE(info, nullptr) << axis;
        EXPECT_EQ(info->minimum, -32767);
        EXPECT_EQ(info->maximum, 32767);
        EXPECT_EQ(info->fuzz, 0);
        EXPECT_EQ(info->flat, 0);
    }
    EXPECT_TRUE(libevdev_has_event_code(description.get(), EV_KEY, BTN_TRIGGER));

    // Bank right moves X right; nose up pulls the stick back, positive Y.
    EXPECT_EQ(JoystickSink::eventsFor({0.5, 1.0}),
              (std::vector<JoystickSink::Event>{
                  {EV_ABS, ABS_X, 16384}, {EV_ABS, ABS_Y, 32767}, {EV_SYN, SYN_REPORT, 0}}));
    EXPECT_EQ(JoystickSink::eventsFor({-1.0, -0.25})[1].value, -8192);
}

TEST(JoystickSink, AnUnusableUinputPathExplainsWhatToDo) {
    QTemporaryDir scratch;
    QFile plainFile(scratch.filePath("plain"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    QFile readOnly(scratch.filePath("read-only"));
    ASSERT_TRUE(readOnly.open(QIODevice::WriteOnly));
    readOnly.setPermissions(QFileDevice::ReadOwner);
    QStringList paths = {scratch.filePath("missing"), scratch.path(), plainFile.fileName()};
    // The superuser may write any file, so only others see the refusal.
    if (!QFileInfo(readOnly.fileName()).isWritable()) {
        paths.append(readOnly.fileName());
    }
    for (const QString& path : paths) {
        JoystickSink sink(path);
        QString error;
        EXPECT_FALSE(sink.open(error)) << path.toStdString();
        for (const char* advice : {"modprobe uinput", "70-zaredezid-uinput.rules"}) {
            EXPECT_TRUE(error.contains(advice)) << error.toStdString();
        }
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
        EXPECT_FALSE(sink.send({0.5, 0.5}, error));
    }
}

// The virtual joystick's device node, opened with libevdev, found by its name
// among the input devices; null when it is not there (yet).
libevdev* openJoystickNode() {
    for (const QFileInfo& node : QDir("/dev/input").entryInfoList({"event*"}, QDir::System)) {
        libevdev* device = nullptr;
        const int descriptor = ::open(qPrintable(node.filePath()), O_RDONLY | O_NONBLOCK);
        if (libevdev_new_from_fd(descriptor, &device) == 0 &&
            QString(libevdev_get_name(device)) == "Zaredezid") {
            return device;
        }
        libevdev_free(device);
        ::close(descriptor);
    }
    return nullptr;
}

constexpr const char* kNoUinput = "/dev/uinput is missing or not writable: this kernel has no "
                                  "uinput module loaded, or the user may not use it";

// False where the joystick cases must skip; a failure where the machine says
// the device must be there.
bool uinputUsable() {
    const bool usable = QFileInfo(JoystickSink::kDefaultUinputPath).isWritable();
    if (!usable && qEnvironmentVariableIsSet("ZAREDEZID_DEVICES_PRESENT")) {
        ADD_FAILURE() << kNoUinput << ", although this machine should have it";
    }
    return usable;
}

// Runs where the kernel has uinput (the device tests' virtual machine); skips
// elsewhere. What a game sees is what the kernel
// made of the description.
TEST(JoystickSink, MovesARealVirtualJoystick) {
    if (!uinputUsable()) {
        GTEST_SKIP() << kNoUinput;
    }
    auto sink = std::make_unique<JoystickSink>();
    QString error;
    ASSERT_TRUE(sink->open(error)) << error.toStdString();
    // The node appears a moment after the device.
    libevdev* device = nullptr;
    for (int attempt = 0; attempt < 100 && !device; ++attempt) {
        ::usleep(20000);
        device = openJoystickNode();
    }
    ASSERT_NE(device, nullptr) << "no input device named Zaredezid under /dev/input";
    EXPECT_EQ(libevdev_get_id_bustype(device), BUS_VIRTUAL);
    for (unsigned int axis : {ABS_X, ABS_Y}) {
        const input_absinfo* info = libevdev_get_abs_info(device, axis);
        ASSERT_NE(info, nullptr) << axis;
        EXPECT_EQ(info->minimum, -32767);
        EXPECT_EQ(info->maximum, 32767);
    }
    EXPECT_TRUE(libevdev_has_event_code(device, EV_KEY, BTN_TRIGGER));

    // Every value differs from the one before: the kernel drops an axis
    // event that repeats the axis' current value.
    for (const CalibratedAttitude& attitude :
         {CalibratedAttitude{0.5, 1.0}, CalibratedAttitude{-1.0, -0.25},
          CalibratedAttitude{0, 0}}) {
        ASSERT_TRUE(sink->send(attitude, error)) << error.toStdString();
    }
    ::usleep(50000);
    std::vector<JoystickSink::Event> events;
    input_event event;
    while (libevdev_next_event(device, LIBEVDEV_READ_FLAG_NORMAL, &event) ==
           LIBEVDEV_READ_STATUS_SUCCESS) {
        events.push_back({event.type, event.code, event.value});
    }
    EXPECT_EQ(events, (std::vector<JoystickSink::Event>{{EV_ABS, ABS_X, 16384},
                                                        {EV_ABS, ABS_Y, 32767},
                                                        {EV_SYN, SYN_REPORT, 0},
                                                        {EV_ABS, ABS_X, -32767},
                                                        {EV_ABS, ABS_Y, -8192},
                                                        {EV_SYN, SYN_REPORT, 0},
                                                        {EV_ABS, ABS_X, 0},
                                                        {EV_ABS, ABS_Y, 0},
                                                        {EV_SYN, SYN_REPORT, 0}}));

    // Switching the output off takes the stick away from the system.
    sink.reset();
    EXPECT_EQ(libevdev_next_event(device, LIBEVDEV_READ_FLAG_NORMAL, &event), -ENODEV);
    ::close(libevdev_get_fd(device));
    libevdev_free(device);
    libevdev* left = nullptr;
    for (int attempt = 0; attempt < 100; ++attempt) {
        left = openJoystickNode();
        if (!left) {
            break;
        }
        ::close(libevdev_get_fd(left));
        libevdev_free(left);
        ::usleep(20000);
    }
    EXPECT_EQ(left, nullptr) << "the device is still there after the sink was destroyed";
}

// The tracker as users run it on a camera, with no settings saved: each
// position the stick takes is the default calibration of one update the
// tracker printed. The kernel's virtual camera shows no person, but its
// horizontal bars, set moving, are level lines that move.
TEST(JoystickSink, TheTrackerMovesTheRealVirtualJoystick) {
    if (!uinputUsable()) {
        GTEST_SKIP() << kNoUinput;
    }
    SKIP_UNLESS_VIVID_PRESENT(vivid::find());
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK,
                  {"--camera", "0", "--control", "test_pattern=Horizontal 100% Colorbar",
                   "--control", "vertical_movement=Move Up", "--frames", "60", "--output",
                   "joystick"});
    libevdev* device = nullptr;
    while (!device && !tracker.waitForFinished(20)) {
        device = openJoystickNode();
    }
    ASSERT_NE(device, nullptr) << tracker.readAllStandardError().toStdString();
    // Read while the tracker runs: its device, and what it queued, go with it.
    std::vector<std::pair<int, int>> positions;
    input_event event;
    while (!tracker.waitForFinished(10)) {
        while (libevdev_next_event(device, LIBEVDEV_READ_FLAG_NORMAL, &event) ==
               LIBEVDEV_READ_STATUS_SUCCESS) {
            if (event.type == EV_SYN) {
                positions.emplace_back(libevdev_get_event_value(device, EV_ABS, ABS_X),
                                       libevdev_get_event_value(device, EV_ABS, ABS_Y));
            }
        }
    }
    ::close(libevdev_get_fd(device));
    libevdev_free(device);
    ASSERT_EQ(tracker.exitCode(), 0) << tracker.readAllStandardError().toStdString();

    std::set<std::pair<int, int>> updates;
    for (const QString& row : QString(tracker.readAllStandardOutput()).split('\n').mid(1)) {
        const QStringList fields = row.split(',');
        if (fields.size() > 5 && fields[3] == "1") {
            const auto events = JoystickSink::eventsFor(
                Calibration().calibrate(fields[4].toFloat(), fields[5].toFloat()));
            updates.emplace(events[0].value, events[1].value);
        }
    }
    EXPECT_GT(positions.size(), 5u);
    for (const auto& position : positions) {
        EXPECT_EQ(updates.count(position), 1u) << position.first << ", " << position.second;
    }
}

} // namespace
