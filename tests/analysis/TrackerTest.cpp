#include "TrackerRun.h"

#include <QDataStream>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class OfflineTracker : public ::testing::Test {
protected:
    QTemporaryDir folder;
};

TEST_F(OfflineTracker, ConvergesToTheAttitudeOfTheArms) {
    // Tolerances in degrees of tilt and pixels of height. The edge bands of
    // tilted arms break up into short zigzag clusters that pull the estimate a
    // little; at 160 x 120 the bands are coarse for the picture and pull more.
    const struct {
        int width, height;
        ArmsPose pose;
        double degrees, pixels;
    } recordings[] = {{320, 240, {80.0, 15.0}, 1.0, 2.0}, {160, 120, {100.0, -20.0}, 2.0, 2.0}};
    for (const auto& recording : recordings) {
        ASSERT_TRUE(QDir(folder.path()).removeRecursively() && QDir().mkpath(folder.path()));
        ASSERT_TRUE(
            recordFlapping(folder.path(), recording.width, recording.height, recording.pose, 150));
        const TrackerRun run = track({folder.path()});
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        ASSERT_EQ(run.frameRows.size(), 150);
        const QStringList& last = run.frameRows.last();
        EXPECT_EQ(last[1], QString::number(recording.width));
        EXPECT_EQ(last[3], "1");
        const ArmsPose reported = reportedPose(last);
        EXPECT_NEAR(reported.angleDegrees, recording.pose.angleDegrees, recording.degrees);
        EXPECT_NEAR(reported.offset, recording.pose.offset, recording.pixels);
    }
}

TEST_F(OfflineTracker, RepeatsOneImageAndListsTheDetectedLines) {
    const QString image = folder.filePath("still.png");
    ASSERT_TRUE(armsFigure(160, 120, {90.0, 0.0}).save(image));
    const TrackerRun run = track({"--repeat", "4", "--lines", "3", image});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_EQ(run.frameRows.size(), 4);
    EXPECT_EQ(run.frameRows[0], QStringList({"0", "160", "120", "0", "", ""}));
    EXPECT_EQ(run.frameRows[1][3], "1");
    // Only the second frame sees new edges; the still picture changes nothing
    // after that, yet the estimate keeps moving toward the last detection.
    ASSERT_EQ(run.lineRows.size(), 3);
    EXPECT_EQ(run.lineRows[0].mid(1, 2), QStringList({"1", "0"}));
    EXPECT_EQ(run.frameRows[3][3], "1");

    EXPECT_EQ(track({"--repeat", "4", "--frames", "2", image}).frameRows.size(), 2);
}

TEST_F(OfflineTracker, RejectsBadInputNamingTheFile) {
    const QString missing = folder.filePath("missing");
    TrackerRun run = track({missing});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains(missing));

    ASSERT_TRUE(recordFlapping(folder.path(), 160, 120, {90.0, 0.0}, 1));
    ASSERT_TRUE(armsFigure(160, 100, {90.0, 0.0}).save(folder.filePath("frame0001.png")));
    run = track({folder.path()});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains("frame0001.png")) << run.errors.toStdString();
    EXPECT_EQ(run.frameRows.size(), 1);

    const QString broken = folder.filePath("frame0000.png");
    ASSERT_TRUE(writeFile(broken, "not a picture"));
    run = track({folder.path()});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains("frame0000.png")) << run.errors.toStdString();

    for (const QStringList& arguments :
         {QStringList{}, QStringList{"--responses", "12", folder.path()},
          QStringList{"--repeat", "0", broken}, QStringList{"--repeat", "2", folder.path()}}) {
        EXPECT_NE(track(arguments).exitCode, 0) << arguments.join(' ').toStdString();
    }
}

// The chunk checksum of PNG files (CRC-32, as in zlib).
quint32 pngChunkChecksum(const QByteArray& typeAndData) {
    quint32 crc = 0xffffffffu;
    for (const char byte : typeAndData) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    QByteArray chunk;
    QDataStream out(&chunk, QIODevice::WriteOnly);
    out << quint32(data.size());
    out.writeRawData(type.constData(), type.size());
    out.writeRawData(data.constData(), data.size());
    out << pngChunkChecksum(type + data);
    return chunk;
}

// A file of a few dozen bytes whose header announces a grey picture of
// 20000 x 20000 pixels: decoding it would take gigabytes before the tracker
// could notice that it is no camera picture.
TEST_F(OfflineTracker, RefusesAHugeAnnouncedPictureBeforeDecodingIt) {
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out << quint32(20000) << quint32(20000) << quint8(1) << quint8(0) << quint8(0) << quint8(0)
        << quint8(0);
    const QString path = folder.filePath("huge.png");
    // The picture data is cut short after its first two bytes: reading the
    // size stops at it, decoding would fail only after allocating.
    ASSERT_TRUE(writeFile(path, QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
                                    pngChunk("IDAT", QByteArray("\x78\x9c", 2)) +
                                    pngChunk("IEND", QByteArray())));

    const TrackerRun run = track({path});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains(path + ": the picture is 20000x20000"))
        << run.errors.toStdString();
}

} // namespace
