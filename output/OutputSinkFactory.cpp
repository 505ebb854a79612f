#include "output/OutputSinkFactory.h"

#include "output/FlightGearSink.h"
#include "output/JoystickSink.h"
#include "output/OpentrackSink.h"

std::unique_ptr<OutputSink> createOutputSink(const OutputRequest& request) {
    switch (request.kind) {
    case OutputKind::Opentrack:
        return std::make_unique<OpentrackSink>(request.host, request.port);
    case OutputKind::FlightGear:
        return std::make_unique<FlightGearSink>(request.host, request.port);
    case OutputKind::Joystick:
        break;
    }
    return std::make_unique<JoystickSink>();
}
