#include "output/FlightGearSink.h"
#include "output/OpentrackSink.h"
#include "output/OutputDispatcher.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace {

// The sockets carrying these bytes are checked end to end by the tracker's
// output test.
TEST(NetworkSinks, EncodeAnUpdateAsTheReceivingProgramReadsIt) {
    // x, y, z and yaw 0; pitch -22.5 degrees (0xC036800000000000) and roll
    // 90 degrees (0x4056800000000000), each lowest byte first.
    EXPECT_EQ(OpentrackSink::datagramFor({0.5, -0.25}).toHex(),
              QByteArray(32, '\0').toHex() + "00000000008036c0" + "0000000000805640");
    EXPECT_EQ(OpentrackSink::datagramFor({-1.0, 1.0}).right(16).toHex(),
              QByteArray("0000000000805640") + "00000000008066c0");
    // Nose up is negative elevator in FlightGear; no negative zeros.
    EXPECT_EQ(FlightGearSink::lineFor({0.5, 0.25}), "0.5000,-0.2500\n");
    EXPECT_EQ(FlightGearSink::lineFor({-1.0, 0.0}), "-1.0000,0.0000\n");
    EXPECT_EQ(FlightGearSink::lineFor({0.123456, -0.98765}), "0.1235,0.9877\n");
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
    QUdpSocket receiver;
    ASSERT_TRUE(receiver.bind(QHostAddress(QHostAddress::LocalHost)));
    const quint16 port = receiver.localPort();
    receiver.close();

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

    ASSERT_TRUE(receiver.bind(QHostAddress(QHostAddress::LocalHost), port));
    for (int update = 0; update < 3; ++update) {
        outputs.dataUpdate(127.5f, 0.0f);
    }
    int received = 0;
    for (; receiver.hasPendingDatagrams(); ++received) {
        EXPECT_EQ(receiver.receiveDatagram().data().size(), 48);
    }
    EXPECT_GE(received, 2);
    EXPECT_EQ(failures.size(), 1);
}

} // namespace
