#include "tests/resources/ResourceFiles.h"

#include <QImage>
#include <QImageReader>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QImage loadPicture(const QString& path, QByteArray& format) {
    ResourceFiles::registerCollection();
    QImageReader reader(path);
    format = reader.format();
    return reader.read();
}

// The splash is asked for with doubled slashes, as the window writes its
// path; that must still resolve.
TEST(PictureResources, EachPictureHasItsFormatSizeAndTransparency) {
    struct Case {
        const char* path;
        QByteArray format;
        QSize size;
        std::vector<QPoint> transparent, opaque;
    };
    const Case cases[] = {
        {"://images//Icons//splash.png", "png", {400, 200}, {}, {}},
        {"://images/Icons/fileinfo-32.png", "png", {32, 32}, {{0, 0}, {31, 31}}, {{16, 16}}},
        {"://images/Icons/favicon.gif", "gif", {32, 32}, {{0, 0}, {31, 0}}, {{16, 16}, {16, 4}}},
    };
    for (const Case& expected : cases) {
        QByteArray format;
        const QImage picture = loadPicture(expected.path, format);
        ASSERT_FALSE(picture.isNull()) << expected.path;
        EXPECT_EQ(format, expected.format) << expected.path;
        EXPECT_EQ(picture.size(), expected.size) << expected.path;
        for (const QPoint& point : expected.transparent)
            EXPECT_EQ(qAlpha(picture.pixel(point)), 0) << expected.path;
        for (const QPoint& point : expected.opaque)
            EXPECT_EQ(qAlpha(picture.pixel(point)), 255) << expected.path;
    }
}

// A blank or single-coloured picture would pass the size check; a painted
// one has many colours and both dark and light areas.
TEST(PictureResources, SplashIsAPaintedPicture) {
    QByteArray format;
    const QImage splash = loadPicture(":/images/Icons/splash.png", format);
    ASSERT_FALSE(splash.isNull());
    EXPECT_FALSE(splash.hasAlphaChannel());
    QSet<QRgb> colours;
    int darkest = 255;
    int lightest = 0;
    for (int y = 0; y < splash.height(); ++y) {
        for (int x = 0; x < splash.width(); ++x) {
            const QRgb pixel = splash.pixel(x, y);
            colours.insert(pixel);
            darkest = std::min(darkest, qGray(pixel));
            lightest = std::max(lightest, qGray(pixel));
        }
    }
    EXPECT_GT(colours.size(), 1000);
    EXPECT_LT(darkest, 40);
    EXPECT_GT(lightest, 240);
}

} // namespace
