#include "tests/app/ProgramUnderTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr QRgb kSkyColour = 0xffccb2ff; // the view's clear colour 0.8, 0.7, 1.0
constexpr int kColourTolerance = 2;
constexpr int kPaintWaitMilliseconds = 30000;

bool near(QRgb pixel, QRgb colour) {
    return std::abs(qRed(pixel) - qRed(colour)) <= kColourTolerance &&
           std::abs(qGreen(pixel) - qGreen(colour)) <= kColourTolerance &&
           std::abs(qBlue(pixel) - qBlue(colour)) <= kColourTolerance;
}

bool isWhite(QRgb pixel) {
    return qRed(pixel) > 240 && qGreen(pixel) > 240 && qBlue(pixel) > 240;
}

QImage grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

// The flight view is the only place the sky colour appears on screen.
QRect skyBounds(const QImage& screen) {
    QRect bounds;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (near(screen.pixel(x, y), kSkyColour))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

struct BandStatistics {
    double skyFraction = 0;
    int distinctColours = 0;
};

BandStatistics band(const QImage& screen, const QRect& area) {
    QSet<QRgb> colours;
    int sky = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = screen.pixel(x, y);
            colours.insert(pixel);
            sky += near(pixel, kSkyColour) ? 1 : 0;
        }
    return {double(sky) / (area.width() * area.height()), int(colours.size())};
}

// Columns of the view holding a long vertical run of white: the two scales.
QList<int> scaleColumns(const QImage& screen, const QRect& view) {
    QList<int> columns;
    for (int x = view.left(); x <= view.right(); ++x) {
        int white = 0;
        for (int y = view.top(); y <= view.bottom(); ++y)
            white += isWhite(screen.pixel(x, y)) ? 1 : 0;
        if (white > view.height() / 3)
            columns << x;
    }
    return columns;
}

QImage waitForPaintedView() {
    QElapsedTimer clock;
    clock.start();
    QImage screen = grabScreen();
    while (skyBounds(screen).width() < 200 && clock.elapsed() < kPaintWaitMilliseconds) {
        QThread::msleep(250);
        screen = grabScreen();
    }
    return screen;
}

TEST(FlightViewScreenshotTest, SkyAboveTexturedTerrainWithTheWhiteOverlayBetween) {
    ProgramUnderTest program;
    program.start();
    ASSERT_TRUE(program.waitForMainWindow());
    const QImage screen = waitForPaintedView();
    QDir().mkpath(ZAREDEZID_SCREENSHOT_DIR);
    screen.save(ZAREDEZID_SCREENSHOT_DIR "/flight-view.png");
    EXPECT_TRUE(program.terminateAndWait());

    const QRect view = skyBounds(screen);
    ASSERT_GT(view.width(), 300) << "no flight view in " ZAREDEZID_SCREENSHOT_DIR;
    ASSERT_GT(view.height(), 200);
    const int bandHeight = view.height() / 10;

    const BandStatistics top = band(screen, view.adjusted(0, 0, 0, -(view.height() - bandHeight)));
    EXPECT_GT(top.skyFraction, 0.8) << "the top of the view is sky";
    const BandStatistics bottom = band(screen, view.adjusted(0, view.height() - bandHeight, 0, 0));
    EXPECT_LT(bottom.skyFraction, 0.5) << "the bottom of the view is terrain";
    EXPECT_GT(bottom.distinctColours, 200) << "the terrain is textured, not flat";

    const QList<int> scales = scaleColumns(screen, view);
    ASSERT_FALSE(scales.isEmpty()) << "no white scale in the view";
    const int leftGap = scales.first() - view.left();
    const int rightGap = view.right() - scales.last();
    EXPECT_LT(scales.first(), view.center().x());
    EXPECT_GT(scales.last(), view.center().x());
    EXPECT_NEAR(leftGap, rightGap, 3) << "the scales stand symmetrically about the centre";
}

} // namespace
