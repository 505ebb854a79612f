#include "output/JoystickSink.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const kDeviceName = "Zaredezid";

QString tr(const char* text) {
    return QCoreApplication::translate("JoystickSink", text);
}

// What the user can do about a uinput device the program cannot use.
QString remedy() {
    return tr("load the uinput module (sudo modprobe uinput) and install the udev rule "
              "packaging/70-zaredezid-uinput.rules (sudo cp packaging/70-zaredezid-uinput.rules "
              "/etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger "
              "/dev/uinput), then try again");
}

QString unusable(const QString& path, const QString& reason) {
    return tr("%1 %2; to make the joystick, %3").arg(path, reason, remedy());
}

int axisValue(double position) {
    return int(std::lround(position * JoystickSink::kAxisLimit));
}

void enableAxis(libevdev* description, unsigned int code) {
    input_absinfo axis{};
    axis.minimum = -JoystickSink::kAxisLimit;
    axis.maximum = JoystickSink::kAxisLimit;
    libevdev_enable_event_code(description, EV_ABS, code, &axis);
}

} // namespace

JoystickSink::JoystickSink(const QString& uinputPath)
    : uinputPath(uinputPath) {}

JoystickSink::~JoystickSink() {
    // Destroying the device first removes the joystick from the system; the
    // descriptor it was made through is ours to close.
    if (device) {
        libevdev_uinput_destroy(device);
    }
    if (uinputDescriptor >= 0) {
        ::close(uinputDescriptor);
    }
}

QString JoystickSink::name() const {
    return tr("virtual joystick");
}

std::unique_ptr<libevdev, void (*)(libevdev*)> JoystickSink::deviceDescription() {
    std::unique_ptr<libevdev, void (*)(libevdev*)> description(libevdev_new(), libevdev_free);
    libevdev_set_name(description.get(), kDeviceName);
    libevdev_set_id_bustype(description.get(), BUS_VIRTUAL);
    libevdev_set_id_vendor(description.get(), kVendorId);
    libevdev_set_id_product(description.get(), kProductId);
    libevdev_set_id_version(description.get(), kVersion);
    enableAxis(description.get(), ABS_X);
    enableAxis(description.get(), ABS_Y);
    // udev tags a device for the logged-in user (uaccess) only when it classes
    // it as a joystick, and since systemd 251 that takes at least two joystick
    // buttons or extra axes (ABS_X and ABS_Y do not count). A second button
    // that is never pressed costs nothing, whereas a third axis held at centre
    // could be bound by a game on its own, as a throttle stuck at half.
    libevdev_enable_event_code(description.get(), EV_KEY, BTN_TRIGGER, nullptr);
    libevdev_enable_event_code(description.get(), EV_KEY, BTN_THUMB, nullptr);
    return description;
}

std::vector<JoystickSink::Event> JoystickSink::eventsFor(const CalibratedAttitude& attitude) {
    // Pulling a stick back reports positive Y, and pulling back is nose up,
    // which is positive pitch: the axes carry the pair as it is.
    return {{EV_ABS, ABS_X, axisValue(attitude.roll)},
            {EV_ABS, ABS_Y, axisValue(attitude.pitch)},
            {EV_SYN, SYN_REPORT, 0}};
}

bool JoystickSink::open(QString& error) {
    // The common failures get a message of their own before uinput is tried:
    // a kernel without the module has no device file, and a user without the
    // udev rule may not write it.
    const QFileInfo file(uinputPath);
    if (!file.exists()) {
        error = unusable(uinputPath, tr("does not exist"));
        return false;
    }
    if (!file.isWritable()) {
        error = unusable(uinputPath, tr("may not be written by you"));
        return false;
    }
    // Non-blocking so that a path that is not a uinput device (a pipe, say)
    // cannot stall the program.
    uinputDescriptor =
        ::open(uinputPath.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (uinputDescriptor < 0) {
        error = unusable(
            uinputPath,
            tr("could not be opened (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    const int result =
        libevdev_uinput_create_from_device(deviceDescription().get(), uinputDescriptor, &device);
    if (result != 0) {
        device = nullptr;
        ::close(uinputDescriptor);
        uinputDescriptor = -1;
        error = unusable(uinputPath, tr("refused to make the device (%1)")
                                         .arg(QString::fromLocal8Bit(std::strerror(-result))));
        return false;
    }
    return true;
}

bool JoystickSink::send(const CalibratedAttitude& attitude, QString& error) {
    if (!device) {
        error = tr("the virtual joystick is not open");
        return false;
    }
    for (const Event& event : eventsFor(attitude)) {
        const int result = libevdev_uinput_write_event(device, event.type, event.code, event.value);
        if (result != 0) {
            error = tr("could not move the virtual joystick: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(-result)));
            return false;
        }
    }
    return true;
}
