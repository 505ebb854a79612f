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

    // What the virtual device announces: its name, bus, axes and button.
    static std::unique_ptr<libevdev, void (*)(libevdev*)> deviceDescription();

    // The events one update writes: both axes, then the report that ends it.
    static std::vector<Event> eventsFor(const CalibratedAttitude& attitude);

private:
    QString uinputPath;
    int uinputDescriptor = -1;
    libevdev_uinput* device = nullptr;
};
