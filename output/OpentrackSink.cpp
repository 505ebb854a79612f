#include "output/OpentrackSink.h"

#include <QCoreApplication>
#include <QtEndian>

#include <array>
#include <cstring>

namespace {

// opentrack reads degrees; these put the full calibrated travel onto the
// range its mapping curves expect for each axis.
constexpr double kPitchDegreesAtFullTravel = 90;
constexpr double kRollDegreesAtFullTravel = 180;

void appendLittleEndian(QByteArray& datagram, double value) {
    static_assert(sizeof(double) == sizeof(quint64), "IEEE doubles are eight bytes");
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::array<char, sizeof bits> bytes;
    qToLittleEndian(bits, bytes.data());
    datagram.append(bytes.data(), int(bytes.size()));
}

} // namespace

OpentrackSink::OpentrackSink(const QString& host, int port)
    : UdpSink(QCoreApplication::translate("OpentrackSink", "opentrack UDP"), host, port) {}

QByteArray OpentrackSink::payloadFor(const CalibratedAttitude& attitude) const {
    return datagramFor(attitude);
}

QByteArray OpentrackSink::datagramFor(const CalibratedAttitude& attitude) {
    const double x = 0, y = 0, z = 0, yaw = 0;
    QByteArray datagram;
    for (double value : {x, y, z, yaw, kPitchDegreesAtFullTravel * attitude.pitch,
                         kRollDegreesAtFullTravel * attitude.roll}) {
        appendLittleEndian(datagram, value);
    }
    return datagram;
}
