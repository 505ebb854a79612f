#include "output/FlightGearSink.h"
#include "output/OpentrackSink.h"
#include "output/OutputDispatcher.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace {

// A loopback receiver on a port of its own; datagrams sent on loopback are
// queued at once, so a test reads them right after sending.
class LoopbackReceiver {
public:
    explicit LoopbackReceiver(quint16 port = 0) {
        EXPECT_TRUE(socket.bind(QHostAddress(QHostAddress::LocalHost), port));
    }
    int port() const { return socket.localPort(); }

    QList<QByteArray> received() {
        QList<QByteArray> datagrams;
        while (socket.hasPendingDatagrams()) {
            datagrams.append(socket.receiveDatagram().data());
        }
        return datagrams;
    }

private:
    QUdpSocket socket;
};

template <typename Sink> std::unique_ptr<Sink> openSink(int port) {
    auto sink = std::make_unique<Sink>("127.0.0.1", port);
    QString error;
    EXPECT_TRUE(sink->open(error)) << error.toStdString();
    return sink;
}

TEST(NetworkSinks, OpentrackGetsOneDatagramOfSixLittleEndianDoublesPerUpdate) {
    LoopbackReceiver receiver;
    auto sink = openSink<OpentrackSink>(receiver.port());
    QString error;
    ASSERT_TRUE(sink->send({0.5, -0.25}, error));
    ASSERT_TRUE(sink->send({-1.0, 1.0}, error));

    const QList<QByteArray> datagrams = receiver.received();
    ASSERT_EQ(datagrams.size(), 2);
    // x, y, z and yaw 0; pitch -22.5 degrees (0xC036800000000000) and roll
    // 90 degrees (0x4056800000000000), lowest byte first.
    const QByteArray expected = QByteArray(32, '\0') + QByteArray::fromHex("00000000008036c0") +
                                QByteArray::fromHex("0000000000805640");
    EXPECT_EQ(datagrams[0].toHex(), expected.toHex());
    EXPECT_EQ(datagrams[1].size(), 48);
    EXPECT_EQ(datagrams[1].right(16).toHex(),
              (QByteArray::fromHex("0000000000805640") + QByteArray::fromHex("00000000008066c0"))
                  .toHex());
}

TEST(NetworkSinks, FlightGearGetsOneLineOfAileronAndElevatorPerUpdate) {
    LoopbackReceiver receiver;
    auto sink = openSink<FlightGearSink>(receiver.port());
    QString error;
    for (const CalibratedAttitude& attitude :
         {CalibratedAttitude{0.5, 0.25}, CalibratedAttitude{-1.0, 0.0},
          CalibratedAttitude{0.123456, -0.98765}}) {
        ASSERT_TRUE(sink->send(attitude, error)) << error.toStdString();
    }
    // Nose up is negative elevator in FlightGear.
    EXPECT_EQ(receiver.received(),
              QList<QByteArray>({"0.5000,-0.2500\n", "-1.0000,0.0000\n", "0.1235,0.9877\n"}));
}

TEST(NetworkSinks, RefuseBadHostsAndPorts) {
    const struct {
        const char* host;
        int port;
        const char* named;
    } refused[] = {{"127.0.0.1", 0, "0"},
                   {"127.0.0.1", 65536, "65536"},
                   {"", 4242, "host"},
                   {"no-such-host.invalid", 4242, "no-such-host.invalid"}};
    for (const auto& bad : refused) {
        QString error;
        EXPECT_FALSE(OpentrackSink(bad.host, bad.port).open(error)) << bad.host;
        EXPECT_TRUE(error.contains(bad.named)) << error.toStdString();
        error.clear();
        EXPECT_FALSE(FlightGearSink(bad.host, bad.port).open(error)) << bad.host;
        EXPECT_FALSE(error.isEmpty());
    }
    for (const char* good : {"localhost", "::1", "127.0.0.1"}) {
        QString error;
        EXPECT_TRUE(FlightGearSink(good, 65535).open(error)) << error.toStdString();
    }
}

TEST(NetworkSinks, ARefusingReceiverIsReportedOnceAndSendingGoesOn) {
    int port = 0;
    {
        LoopbackReceiver probe;
        port = probe.port();
    }
    OutputDispatcher outputs;
    QString error;
    ASSERT_TRUE(outputs.add(std::make_unique<OpentrackSink>("127.0.0.1", port), error));
    QSignalSpy failures(&outputs, &OutputDispatcher::sendFailed);
    for (int update = 0; update < 20; ++update) {
        outputs.dataUpdate(127.5f, 0.0f);
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0][0].toString().contains("refused"));
    EXPECT_TRUE(failures[0][0].toString().contains(QString::number(port)));

    LoopbackReceiver listener{quint16(port)};
    for (int update = 0; update < 3; ++update) {
        outputs.dataUpdate(127.5f, 0.0f);
    }
    EXPECT_GE(listener.received().size(), 2);
    EXPECT_EQ(failures.size(), 1);
}

} // namespace
