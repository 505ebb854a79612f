#pragma once

#include "output/OutputSink.h"

#include <memory>
#include <vector>

struct libevdev;
struct libevdev_uinput;

// A virtual joystick made through the kernel's uinput, which games read like
// any other stick: roll on the X axis and pitch on the Y axis.
class JoystickSink : public OutputSink {
public:
    static constexpr const char* kDefaultUinputPath = "/dev/uinput";
    static constexpr int kAxisLimit = 32767;
    // Ids no real controller's driver claims (the vendor is unassigned in
    // usb.ids), so that no game or udev database mistakes the stick for a
    // known pad, and games that remember a stick by its ids (SDL's GUID) find
    // it again from one run to the next.
    static constexpr unsigned int kVendorId = 0x5A52;
    static constexpr unsigned int kProductId = 0x0001;
    static constexpr unsigned int kVersion = 0x0001;

    // One input event as the kernel carries it.
    struct Event {
        unsigned int type;
        unsigned int code;
        int value;
        bool operator==(const Event& other) const {
            return type == other.type && code == other.code && value == other.value;
        }
    };

    explicit JoystickSink(const QString& uinputPath = kDefaultUinputPath);
    ~JoystickSink() override;

    QString name() const override;
    bool open(QString& error) override;
    bool send(const CalibratedAttitude& attitude, QString& error) override;

    // What the virtual device announces: its name, ids, axes and buttons.
    static std::unique_ptr<libevdev, void (*)(libevdev*)> deviceDescription();

    // The events one update writes: both axes, then the report that ends it.
    static std::vector<Event> eventsFor(const CalibratedAttitude& attitude);

private:
    QString uinputPath;
    int uinputDescriptor = -1;
    libevdev_uinput* device = nullptr;
};
