#include "output/FlightGearSink.h"

#include <QCoreApplication>

namespace {

constexpr int kDecimals = 4;

// QByteArray::number always writes a decimal point, whatever the user's
// locale; printf's %f would write a comma in many, which FlightGear would
// take for the separator between the two values.
QByteArray decimal(double value) {
    return QByteArray::number(value + 0.0, 'f', kDecimals);
}

} // namespace

FlightGearSink::FlightGearSink(const QString& host, int port)
    : UdpSink(QCoreApplication::translate("FlightGearSink", "FlightGear UDP"), host, port) {}

QByteArray FlightGearSink::payloadFor(const CalibratedAttitude& attitude) const {
    return lineFor(attitude);
}

QByteArray FlightGearSink::lineFor(const CalibratedAttitude& attitude) {
    // Positive elevator pushes FlightGear's nose down, so nose up is negative.
    const double aileron = attitude.roll;
    const double elevator = -attitude.pitch;
    return decimal(aileron) + ',' + decimal(elevator) + '\n';
}
