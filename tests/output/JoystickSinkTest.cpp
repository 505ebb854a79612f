#include "output/JoystickSink.h"
#include "output/Calibration.h"
#include "tests/support/VividCamera.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <libevdev/libevdev.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(JoystickSink, DescribesAVirtualStickUdevClassesAsAJoystick) {
    const auto description = JoystickSink::deviceDescription();
    libevdev* device = description.get();
    EXPECT_STREQ(libevdev_get_name(device), "Zaredezid");
    EXPECT_EQ(libevdev_get_id_bustype(device), BUS_VIRTUAL);
    // Games remember a stick by these (SDL's GUID), so they must not change.
    EXPECT_EQ(std::vector({libevdev_get_id_vendor(device), libevdev_get_id_product(device),
                           libevdev_get_id_version(device)}),
              std::vector({0x5A52, 0x0001, 0x0001}));
    for (unsigned int axis : {ABS_X, ABS_Y}) {
        const input_absinfo* info = libevdev_get_abs_info(device, axis);
        ASSERT_NE(info, nullptr) << axis;
        EXPECT_EQ(info->minimum, -32767);
        EXPECT_EQ(info->maximum, 32767);
        EXPECT_EQ(info->fuzz, 0);
        EXPECT_EQ(info->flat, 0);
    }
    const auto count = [device](unsigned int type, unsigned int first, unsigned int end) {
        int present = 0;
        for (unsigned int code = first; code < end; ++code) {
            present += libevdev_has_event_code(device, type, code);
        }
        return present;
    };
    // udev's classifier counts joystick buttons and the axes beyond X and Y,
    // and wants two of them. Keys, mouse or digitiser buttons, a Z axis,
    // multitouch, relative motion or those properties would make it a
    // keyboard, mouse, tablet, touchscreen or accelerometer instead.
    EXPECT_GE(count(EV_KEY, BTN_JOYSTICK, BTN_DIGI) + count(EV_ABS, ABS_RX, ABS_PRESSURE), 2);
    EXPECT_EQ(count(EV_KEY, KEY_ESC, BTN_JOYSTICK) + count(EV_KEY, BTN_DIGI, BTN_WHEEL) +
                  count(EV_ABS, ABS_Z, ABS_RX) + count(EV_ABS, ABS_MT_SLOT, ABS_CNT),
              0);
    EXPECT_FALSE(libevdev_has_event_type(device, EV_REL));
    EXPECT_FALSE(libevdev_has_property(device, INPUT_PROP_DIRECT) ||
                 libevdev_has_property(device, INPUT_PROP_ACCELEROMETER));

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

// The virtual joystick's event node, found by its name among the input
// devices; empty when it is not there (yet).
QString joystickNode() {
    for (const QFileInfo& node : QDir("/dev/input").entryInfoList({"event*"}, QDir::System)) {
        libevdev* device = nullptr;
        const int descriptor = ::open(qPrintable(node.filePath()), O_RDONLY | O_NONBLOCK);
        const bool named = libevdev_new_from_fd(descriptor, &device) == 0 &&
                           QString(libevdev_get_name(device)) == "Zaredezid";
        libevdev_free(device);
        ::close(descriptor);
        if (named) {
            return node.filePath();
        }
    }
    return {};
}

// udev's properties of a device node, one NAME=value a line. udev handles a
// new device after the kernel has made it, so this waits until it has.
QString udevProperties(const QString& node) {
    QString properties;
    for (int attempt = 0; attempt < 100 && !properties.contains("ID_INPUT=1"); ++attempt) {
        QProcess::execute("udevadm", {"settle", "--timeout=10"});
        QProcess udevadm;
        udevadm.start("udevadm", {"info", "--query=property", "--name=" + node});
        udevadm.waitForFinished();
        properties = udevadm.readAllStandardOutput();
        ::usleep(20000);
    }
    return properties;
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
// elsewhere. What a game sees is what the kernel and udev made of the
// description.
TEST(JoystickSink, MovesARealVirtualJoystick) {
    if (!uinputUsable()) {
        GTEST_SKIP() << kNoUinput;
    }
    auto sink = std::make_unique<JoystickSink>();
    QString error;
    ASSERT_TRUE(sink->open(error)) << error.toStdString();
    // The node appears a moment after the device.
    QString node;
    for (int attempt = 0; attempt < 100 && node.isEmpty(); ++attempt) {
        ::usleep(20000);
        node = joystickNode();
    }
    ASSERT_FALSE(node.isEmpty()) << "no input device named Zaredezid under /dev/input";
    const int descriptor = ::open(qPrintable(node), O_RDONLY | O_NONBLOCK);
    libevdev* device = nullptr;
    ASSERT_EQ(libevdev_new_from_fd(descriptor, &device), 0) << node.toStdString();
    // A desktop gives the logged-in user a stick that udev classes as a
    // joystick and tags uaccess; joydev gives it the node older games open.
    const QString properties = udevProperties(node);
    for (const char* line : {"^ID_INPUT_JOYSTICK=1$", "^(CURRENT_)?TAGS=.*:uaccess:"})
        EXPECT_TRUE(
            properties.contains(QRegularExpression(line, QRegularExpression::MultilineOption)))
            << properties.toStdString();
    const QStringList joydevNodes =
        QDir("/sys/class/input/" + QFileInfo(node).fileName() + "/device")
            .entryList({"js*"}, QDir::Dirs);
    ASSERT_EQ(joydevNodes.size(), 1) << "joydev made no jsN node for " << node.toStdString();
    EXPECT_TRUE(QFileInfo::exists("/dev/input/" + joydevNodes[0])) << joydevNodes[0].toStdString();

    // Every value differs from the one before: the kernel drops an axis
    // event that repeats the axis' current value.
    std::vector<JoystickSink::Event> sent;
    for (const CalibratedAttitude& attitude :
         {CalibratedAttitude{0.5, 1.0}, CalibratedAttitude{-1.0, -0.25},
          CalibratedAttitude{0, 0}}) {
        ASSERT_TRUE(sink->send(attitude, error)) << error.toStdString();
        const auto events = JoystickSink::eventsFor(attitude);
        sent.insert(sent.end(), events.begin(), events.end());
    }
    ::usleep(50000);
    std::vector<JoystickSink::Event> received;
    input_event event;
    while (libevdev_next_event(device, LIBEVDEV_READ_FLAG_NORMAL, &event) ==
           LIBEVDEV_READ_STATUS_SUCCESS) {
        received.push_back({event.type, event.code, event.value});
    }
    EXPECT_EQ(received, sent);

    // Switching the output off takes the stick away from the system.
    sink.reset();
    EXPECT_EQ(libevdev_next_event(device, LIBEVDEV_READ_FLAG_NORMAL, &event), -ENODEV);
    ::close(descriptor);
    libevdev_free(device);
    for (int attempt = 0; attempt < 100 && !joystickNode().isEmpty(); ++attempt) {
        ::usleep(20000);
    }
    EXPECT_EQ(joystickNode(), QString())
        << "the device is still there after the sink was destroyed";
}

// The tracker as users run it on a camera, and a game reading the stick
// through SDL2, which learns of it from udev: each position SDL reports is
// the saved calibration of one update the tracker printed, or the centre the
// stick rests at before the first. The kernel's virtual camera shows no
// person, but its horizontal bars, set moving, are level lines that move.
TEST(JoystickSink, TheTrackerMovesTheRealVirtualJoystick) {
    if (!uinputUsable()) {
        GTEST_SKIP() << kNoUinput;
    }
    SKIP_UNLESS_VIVID_PRESENT(vivid::find());
    // The bars' roll wobbles by about one slider step around level, under 1 %
    // of the stick's travel at the default calibration, which SDL takes for
    // a resting stick's jitter; a roll calibration narrowed around level, as
    // a user who wants small tilts to count saves it, spreads the wobble out.
    Calibration calibration;
    calibration.roll = {127, 125, 129, false};
    QSettings store("Ruveviv", "Vizezu Verizuvuz");
    for (const auto& [key, value] : {std::pair("Zero", 127), {"Min", 125}, {"Max", 129}})
        store.setValue(QString("settings/%1Roll").arg(key), value);
    store.sync();
    QProcess reader;
    reader.start(ZAREDEZID_SDL_JOYSTICK_READER);
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK,
                  {"--camera", "0", "--control", "test_pattern=Horizontal 100% Colorbar",
                   "--control", "vertical_movement=Move Up", "--frames", "60", "--output",
                   "joystick"});
    ASSERT_TRUE(tracker.waitForFinished(240000) && reader.waitForFinished(30000));
    ASSERT_EQ(tracker.exitCode(), 0) << tracker.readAllStandardError().toStdString();
    const QString readerOutput = reader.readAllStandardOutput();
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();

    // Each axis' values, starting with the centre it rests at. SDL stretches
    // the axis onto its own -32768 to 32767, moving a value by one at most.
    std::vector<int> updates[2] = {{0}, {0}};
    for (const QString& row : QString(tracker.readAllStandardOutput()).split('\n').mid(1)) {
        const QStringList fields = row.split(',');
        if (fields.size() > 5 && fields[3] == "1") {
            const auto events = JoystickSink::eventsFor(
                calibration.calibrate(fields[4].toFloat(), fields[5].toFloat()));
            updates[0].push_back(events[0].value);
            updates[1].push_back(events[1].value);
        }
    }
    // SDL builds its GUID from the bus, a checksum of the name and the ids,
    // each little-endian: the same stick on every run.
    ASSERT_TRUE(readerOutput.contains(
        QRegularExpression("^found Zaredezid 0600[0-9a-f]{4}525a00000100000001000000$",
                           QRegularExpression::MultilineOption)))
        << readerOutput.toStdString();
    int motions[2] = {0, 0};
    const QRegularExpression motion("^axis ([01]) (-?\\d+)$", QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& axis : motion.globalMatch(readerOutput)) {
        const int index = axis.captured(1).toInt(), value = axis.captured(2).toInt();
        ++motions[index];
        EXPECT_TRUE(std::any_of(updates[index].begin(), updates[index].end(),
                                [value](int update) { return std::abs(update - value) <= 2; }))
            << "axis " << index << " at " << value;
    }
    EXPECT_TRUE(motions[0] > 0 && motions[1] > 0) << readerOutput.toStdString();
}

} // namespace
