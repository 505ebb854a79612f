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
    : host(host)
    , port(port) {}

QString FlightGearSink::name() const {
    return QCoreApplication::translate("FlightGearSink", "FlightGear UDP to %1:%2")
        .arg(host)
        .arg(port);
}

bool FlightGearSink::open(QString& error) {
    const std::optional<NetworkEndpoint> endpoint = NetworkEndpoint::resolve(host, port, error);
    return endpoint && sender.open(*endpoint, error);
}

bool FlightGearSink::send(const CalibratedAttitude& attitude, QString& error) {
    return sender.send(lineFor(attitude), error);
}

QByteArray FlightGearSink::lineFor(const CalibratedAttitude& attitude) {
    // Positive elevator pushes FlightGear's nose down, so nose up is negative.
    const double aileron = attitude.roll;
    const double elevator = -attitude.pitch;
    return decimal(aileron) + ',' + decimal(elevator) + '\n';
}
