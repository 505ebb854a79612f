// Writes a small seed corpus for every fuzz target into one folder per
// target, using the tests' own input makers and the resource generators'
// encoders, so that the fuzzers start from inputs the program really reads.
#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"
#include "tests/analysis/SyntheticPictures.h"
#include "tests/view/XglDocument.h"
#include "tools/terrain/TgaEncoder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSettings>
#include <QSize>
#include <QStringList>
#include <QVariant>

#include <cstdio>
#include <limits>
#include <vector>

QVector<QRgb> grayPalette = makeGrayPalette();
QLabel* outputLabel = nullptr;

namespace {

QString outputRoot;

void writeSeed(const char* target, const QString& name, const QByteArray& bytes) {
    const QString folder = outputRoot + "/" + target;
    QDir().mkpath(folder);
    QFile file(folder + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write seed %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

void writeXglSeeds() {
    using namespace xgl;
    const QString redMaterial = material(1, "0.2,0,0", "0.8,0,0", "1,1,1", "0,0,0", "32", "1");
    writeSeed("xgl_reader_fuzzer", "one-triangle.xgl",
              ("<WORLD>" + object("wing", triangleMesh()) + "</WORLD>").toUtf8());
    writeSeed("xgl_reader_fuzzer", "unnamed-objects-and-material.xgl",
              ("<WORLD>" + object("", triangleMesh("1,2,3")) + object("", triangleMesh()) +
               "<MESH>" + redMaterial + "</MESH></WORLD>")
                  .toUtf8());
    writeSeed("xgl_reader_fuzzer", "face-with-material.xgl",
              ("<WORLD>" +
               object("tail", point(0, "0,0,0") + point(1, "1,0,0") + point(2, "0,1,0") +
                                  normal(0, "0,0,1") + face(0, 0, 1, 0, 2, 0, 1) + redMaterial) +
               "</WORLD>")
                  .toUtf8());
}

void writeTgaSeeds() {
    const std::vector<std::uint8_t> bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    writeSeed("tga_image_fuzzer", "true-colour-2x2.tga", TgaEncoder::encode(2, 2, bgr));
    QByteArray alpha = TgaEncoder::encode(1, 2, {});
    alpha[16] = 32;
    writeSeed("tga_image_fuzzer", "true-colour-alpha-1x2.tga", alpha + QByteArray(8, '\x40'));
    QByteArray grey = TgaEncoder::encode(3, 1, {});
    grey[2] = 3;
    grey[16] = 8;
    writeSeed("tga_image_fuzzer", "grey-3x1.tga", grey + QByteArray("\x00\x80\xff", 3));
    // The largest size a header can announce, with four bytes of pixels: the
    // loader once asked for all 16 GiB (2 GiB after Qt's cap) before finding
    // the file short, which the fuzz run's allocation limit reports.
    QByteArray huge = TgaEncoder::encode(65535, 65535, {});
    huge[16] = 32;
    writeSeed("tga_image_fuzzer", "announces-65535x65535.tga", huge + QByteArray(4, '\x01'));
}

// The height-map target reads four steering bytes, then the map.
void writeHeightMapSeeds() {
    QByteArray ramp("\x5a\x80\x04\x00", 4);
    for (int i = 0; i < 256; ++i)
        ramp.append(char(i));
    writeSeed("height_map_fuzzer", "ramp", ramp);
    writeSeed("height_map_fuzzer", "highest",
              QByteArray("\xff\x00\x07\x00", 4) + QByteArray(64, '\xff'));
    writeSeed("height_map_fuzzer", "short-file",
              QByteArray("\x00\xff\x02\x01", 4) + QByteArray(99, '\x10'));
}

void writeSettingsSeed(const QString& name, const QVariant& value) {
    const QString path = outputRoot + "/settings_store_fuzzer/" + name;
    QSettings store(path, QSettings::IniFormat);
    for (const char* key :
         {"ResponseRoll", "ResponsePitch", "ZeroRoll", "ZeroPitch", "MinRoll", "MinPitch",
          "MaxRoll", "MaxPitch", "InvertRoll", "InvertPitch", "CameraId", "FPSId", "ResolutionId"})
        store.setValue(QStringLiteral("settings/") + key, value);
}

// Every value type QSettings can write, under all thirteen keys at once.
void writeSettingsSeeds() {
    QDir().mkpath(outputRoot + "/settings_store_fuzzer");
    {
        QSettings defaults(outputRoot + "/settings_store_fuzzer/defaults", QSettings::IniFormat);
        const std::vector<std::pair<const char*, QVariant>> values = {
            {"ResponseRoll", 50},  {"ResponsePitch", 50},  {"ZeroRoll", 127}, {"ZeroPitch", 127},
            {"MinRoll", 0},        {"MinPitch", 0},        {"MaxRoll", 255},  {"MaxPitch", 255},
            {"InvertRoll", false}, {"InvertPitch", false}, {"CameraId", -1},  {"FPSId", 1},
            {"ResolutionId", 0}};
        for (const auto& value : values)
            defaults.setValue(QStringLiteral("settings/") + value.first, value.second);
    }
    writeSettingsSeed("negative", -2147483647);
    writeSettingsSeed("huge", std::numeric_limits<qlonglong>::max());
    writeSettingsSeed("fraction", 1e300);
    writeSettingsSeed("text", QStringLiteral("fifty, with \"quotes\" and \\ and ü"));
    writeSettingsSeed("empty-text", QString());
    writeSettingsSeed("bytes", QByteArray("\x00\x01\xff", 3));
    writeSettingsSeed("text-list", QStringList{"1", "2", "three"});
    writeSettingsSeed("list", QVariantList{1, QStringLiteral("x"), 2.5});
    writeSettingsSeed("map", QVariantMap{{"a", 1}, {"b", QByteArray("z")}});
    writeSettingsSeed("rect", QRect(1, 2, 3, 4));
    writeSettingsSeed("size", QSize(640, 480));
    writeSettingsSeed("point", QPoint(-5, 7));
    writeSettingsSeed("time", QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
    writeSettingsSeed("true-text", QStringLiteral("true"));
}

QByteArray encoded(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

void writeTrackerSeeds() {
    const QImage arms = armsFigure(32, 24, {80.0, 3.0});
    writeSeed("tracker_image_fuzzer", "arms.png", encoded(arms, "PNG"));
    writeSeed("tracker_image_fuzzer", "arms.jpg", encoded(arms, "JPEG"));
    writeSeed("tracker_image_fuzzer", "arms.bmp", encoded(arms, "BMP"));
    writeSeed("tracker_image_fuzzer", "arms-grey.png",
              encoded(arms.convertToFormat(QImage::Format_Grayscale8), "PNG"));
}

// The pipeline target reads the estimator, two responses, a label switch and
// a frame count, then each frame's width and height, then the pixel bytes.
void writePipelineSeeds() {
    for (const char estimator : {'\x00', '\x01'}) {
        for (const ArmsPose pose : {ArmsPose{90.0, 0.0}, ArmsPose{70.0, -4.0}}) {
            const auto frame = frameFrom(armsFigure(32, 24, pose));
            QByteArray seed(1, estimator);
            seed.append("\x0c\x0c\x01\x03", 4);
            for (int i = 0; i < 3; ++i)
                seed.append("\x20\x00\x18\x00", 4);
            seed.append(reinterpret_cast<const char*>(frame->data), 32 * 24 * 4);
            writeSeed("frame_pipeline_fuzzer",
                      QStringLiteral("arms-%1-%2").arg(pose.angleDegrees).arg(int(estimator)),
                      seed);
        }
    }
    writeSeed("frame_pipeline_fuzzer", "odd-sizes",
              QByteArray("\x00\x05\x05\x00\x04\x01\x00\x01\x00\x03\x00\x02\x00\x00\x00\x09"
                         "\x00\x09\x00\x07\x00\x55\xaa",
                         23));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
        return 2;
    }
    outputRoot = QString::fromLocal8Bit(argv[1]);
    writeXglSeeds();
    writeTgaSeeds();
    writeHeightMapSeeds();
    writeSettingsSeeds();
    writeTrackerSeeds();
    writePipelineSeeds();
    return 0;
}
