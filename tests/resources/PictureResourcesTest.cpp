#include "tests/resources/ResourceFiles.h"

#include <QImage>
#include <QImageReader>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QImage loadPicture(const QString& path, QByteArray* format = nullptr) {
    ResourceFiles::registerCollection();
    QImageReader reader(path);
    if (format != nullptr) {
        *format = reader.format();
    }
    return reader.read();
}

// The window writes some paths with repeated slashes; they must still resolve.
TEST(PictureResources, SplashIsA400By200PngAlsoFoundThroughDoubledSlashes) {
    QByteArray format;
    const QImage splash = loadPicture("://images//Icons//splash.png", &format);
    ASSERT_FALSE(splash.isNull());
    EXPECT_EQ(format, "png");
    EXPECT_EQ(splash.size(), QSize(400, 200));
    EXPECT_FALSE(splash.hasAlphaChannel());
}

// A blank or single-coloured picture would pass the size check; a painted
// one has many colours and both dark and light areas.
TEST(PictureResources, SplashIsAPaintedPicture) {
    const QImage splash = loadPicture(":/images/Icons/splash.png");
    ASSERT_FALSE(splash.isNull());
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

TEST(PictureResources, AboutIconIsA32By32PngWithTransparentCorners) {
    QByteArray format;
    const QImage icon = loadPicture("://images/Icons/fileinfo-32.png", &format);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(format, "png");
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(31, 31)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(16, 16)), 255);
}

TEST(PictureResources, WindowIconIsA32By32GifWithTransparentCorners) {
    QByteArray format;
    const QImage icon = loadPicture("://images/Icons/favicon.gif", &format);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(format, "gif");
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(31, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(16, 16)), 255);
    EXPECT_EQ(qAlpha(icon.pixel(16, 4)), 255);
}

} // namespace
