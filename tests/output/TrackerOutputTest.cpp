#include "output/Calibration.h"
#include "output/FlightGearSink.h"
#include "output/OpentrackSink.h"
#include "output/ResponseShaping.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QNetworkDatagram>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <cmath>

// The changes of the remote control's properties that reach a client on the
// bus, as a panel or script following the state sees them.
class AnnouncedChanges : public QObject {
    Q_OBJECT

public:
    AnnouncedChanges() {
        QDBusConnection::sessionBus().connect(
            QString(), "/io/github/zaredezid", "org.freedesktop.DBus.Properties",
            "PropertiesChanged", this, SLOT(record(QString, QVariantMap, QStringList)));
    }

    // Whether the property was announced with the value within the time.
    bool waitFor(const QString& property, const QVariant& value, int milliseconds = 10000) {
        const QDeadlineTimer deadline(milliseconds);
        while (!changes.contains({property, value}) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return changes.contains({property, value});
    }

private slots:
    void record(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface != "io.github.zaredezid.Control")
            return;
        for (auto change = changed.begin(); change != changed.end(); ++change)
            changes.append({change.key(), change.value()});
    }

private:
    QList<QPair<QString, QVariant>> changes;
};

namespace {

struct TrackerRun {
    int exitCode = -1;
    QStringList rows;
    QString errors;
};

TrackerRun runTracker(const QStringList& arguments) {
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK, arguments);
    EXPECT_TRUE(tracker.waitForFinished(120000));
    TrackerRun run;
    run.exitCode = tracker.exitStatus() == QProcess::NormalExit ? tracker.exitCode() : -1;
    run.rows =
        QString::fromLocal8Bit(tracker.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.errors = QString::fromLocal8Bit(tracker.readAllStandardError());
    return run;
}

// The response a user left in the window, with a limit a hand edit put out
// of range, which the tracker must bring back as the window would.
ResponseShaping saveWindowResponse() {
    QSettings store("Ruveviv", "Vizezu Verizuvuz");
    store.setValue("outputs/RollDeadZone", 0.1);
    store.setValue("outputs/RollExpo", 0.4);
    store.setValue("outputs/PitchLimit", 5);
    ResponseShaping response;
    response.roll = {0.1, 0.4, 1};
    return response;
}

// The calibration a user left in the window, saved as the window saves it.
Calibration saveWindowCalibration() {
    Calibration calibration;
    calibration.roll = {120, 40, 200, false};
    calibration.pitch = {130, 60, 180, true};
    QSettings store("Ruveviv", "Vizezu Verizuvuz");
    for (const auto& [name, axis] :
         {std::pair("Roll", calibration.roll), std::pair("Pitch", calibration.pitch)}) {
        store.setValue(QString("settings/Zero") + name, axis.zero);
        store.setValue(QString("settings/Min") + name, axis.minimum);
        store.setValue(QString("settings/Max") + name, axis.maximum);
        store.setValue(QString("settings/Invert") + name, axis.inverted);
    }
    return calibration;
}

TEST(TrackerOutputs, SendTheCalibratedAttitudeOfEveryUpdateInTheCsv) {
    const Calibration calibration = saveWindowCalibration();
    const ResponseShaping response = saveWindowResponse();
    QUdpSocket opentrack, flightGear, nobody;
    ASSERT_TRUE(opentrack.bind(QHostAddress(QHostAddress::LocalHost)));
    ASSERT_TRUE(flightGear.bind(QHostAddress(QHostAddress::LocalHost)));
    ASSERT_TRUE(nobody.bind(QHostAddress(QHostAddress::LocalHost)));
    const int silentPort = nobody.localPort();
    nobody.close();

    const TrackerRun run =
        runTracker({"--demo", "--frames", "40", "--output",
                    QString("udp:127.0.0.1:%1").arg(opentrack.localPort()), "--output",
                    QString("flightgear:localhost:%1").arg(flightGear.localPort()), "--output",
                    QString("udp:127.0.0.1:%1").arg(silentPort)});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_EQ(run.rows.size(), 41);
    // The output nobody listens to is reported once and stops nothing.
    EXPECT_EQ(run.errors.count(QString("127.0.0.1:%1").arg(silentPort)), 1)
        << run.errors.toStdString();
    EXPECT_EQ(run.errors.count("outputs/PitchLimit=5 is out of range; using 1\n"), 1)
        << run.errors.toStdString();

    int updates = 0;
    for (const QString& row : run.rows.mid(1)) {
        const QStringList fields = row.split(',');
        if (fields[3] != "1") {
            continue;
        }
        ++updates;
        const CalibratedAttitude expected =
            response.shape(calibration.calibrate(fields[4].toFloat(), fields[5].toFloat()));
        ASSERT_TRUE(opentrack.hasPendingDatagrams()) << row.toStdString();
        EXPECT_EQ(opentrack.receiveDatagram().data(), OpentrackSink::datagramFor(expected))
            << row.toStdString();
        ASSERT_TRUE(flightGear.hasPendingDatagrams()) << row.toStdString();
        EXPECT_EQ(flightGear.receiveDatagram().data(), FlightGearSink::lineFor(expected))
            << row.toStdString();
    }
    EXPECT_GT(updates, 20);
    EXPECT_FALSE(opentrack.hasPendingDatagrams());
    EXPECT_FALSE(flightGear.hasPendingDatagrams());
}

TEST(TrackerOutputs, AnOutputThatCannotOpenEndsTheRunBeforeTheFirstFrame) {
    for (const QString& output :
         {QString("udp:127.0.0.1:0"), QString("flightgear:no-such-host.invalid:5500")}) {
        const TrackerRun run = runTracker({"--demo", "--frames", "5", "--output", output});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.rows.isEmpty());
        EXPECT_TRUE(run.errors.contains(output)) << run.errors.toStdString();
    }
    EXPECT_EQ(runTracker({"--demo", "--output", "tcp:127.0.0.1:4242"}).exitCode, 2);
}

// FlightGear's aileron (the roll) of every line that came within the time;
// they wait in the socket meanwhile.
QList<double> aileronsWithin(QUdpSocket& receiver, int milliseconds) {
    QThread::msleep(milliseconds);
    QList<double> ailerons;
    while (receiver.hasPendingDatagrams())
        ailerons << receiver.receiveDatagram().data().split(',')[0].toDouble();
    return ailerons;
}

// A live run obeys the remote control as the window does, and recentres its
// own calibration; a second run, or one without a session bus, does without.
TEST(TrackerOutputs, ObeysTheRemoteControlOnTheSessionBus) {
    // A roll zero far to the left: the demo person's roll stays well right
    // of it until the run is recentred.
    QSettings("Ruveviv", "Vizezu Verizuvuz").setValue("settings/ZeroRoll", 0);
    QUdpSocket flightGear;
    ASSERT_TRUE(flightGear.bind(QHostAddress(QHostAddress::LocalHost)));
    AnnouncedChanges announced;
    QProcess tracker;
    tracker.start(
        ZAREDEZID_TRACK,
        {"--demo", "--output", QString("flightgear:127.0.0.1:%1").arg(flightGear.localPort())});
    ASSERT_TRUE(flightGear.waitForReadyRead(60000)) << tracker.readAllStandardError().toStdString();
    QDBusInterface remote("io.github.zaredezid", "/io/github/zaredezid",
                          "io.github.zaredezid.Control");
    const auto call = [&remote](const char* method) {
        return remote.call(method).type() == QDBusMessage::ReplyMessage;
    };
    EXPECT_EQ(remote.property("Source"), "demo camera");
    for (double aileron : aileronsWithin(flightGear, 300))
        EXPECT_GT(aileron, 0.2);
    EXPECT_EQ(remote.property("Tracking"), "tracking");
    EXPECT_TRUE(announced.waitFor("Tracking", "tracking"));

    ASSERT_TRUE(call("Pause"));
    EXPECT_TRUE(announced.waitFor("Paused", true));
    const QList<double> untilPaused = aileronsWithin(flightGear, 300);
    EXPECT_EQ(untilPaused.value(untilPaused.size() - 1, -1), 0.0);
    EXPECT_TRUE(aileronsWithin(flightGear, 300).isEmpty());
    EXPECT_EQ(remote.property("Paused"), true);
    EXPECT_EQ(remote.property("Roll"), 0.0);
    for (const char* method : {"Centre", "Activate", "TogglePause"})
        EXPECT_TRUE(call(method)) << method;
    ASSERT_TRUE(flightGear.waitForReadyRead(20000));
    const QList<double> recentred = aileronsWithin(flightGear, 300);
    EXPECT_LT(std::abs(recentred[0]), 0.15);

    // Tracks all the same, saying once why it cannot be controlled.
    const auto expectRunWithout = [](const QString& why) {
        const TrackerRun run = runTracker({"--demo", "--frames", "3"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.errors.count("remote control is off: " + why), 1) << run.errors.toStdString();
    };
    expectRunWithout("another instance owns io.github.zaredezid on the session bus\n");
    tracker.terminate();
    EXPECT_TRUE(tracker.waitForFinished(20000) && tracker.exitCode() == 0);
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    expectRunWithout("no session bus");
}

} // namespace

#include "TrackerOutputTest.moc"
