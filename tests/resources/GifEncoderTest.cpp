#include "tools/pictures/GifEncoder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

const QRgb kMatte = qRgb(224, 224, 228);

QImage decodeGif(const QByteArray& bytes) {
    return QImage::fromData(bytes, "GIF").convertToFormat(QImage::Format_ARGB32);
}

// Noise in a fixed palette: it compresses badly, so the code table fills
// up and must be started over several times.
QImage noiseImage(int width, int height, int colourCount) {
    QImage image(width, height, QImage::Format_ARGB32);
    unsigned state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            const int colour = static_cast<int>((state >> 16) % colourCount);
            image.setPixel(x, y, qRgb(colour, 255 - colour, (colour * 7) & 0xFF));
        }
    }
    return image;
}

// The largest sum of a pixel's channel differences between the picture and
// its GIF encoding decoded again.
int largestColourErrorThroughGif(const QImage& original) {
    const QImage decoded = decodeGif(GifEncoder::encode(original, kMatte));
    EXPECT_EQ(decoded.size(), original.size());
    int largest = 0;
    for (int y = 0; y < original.height(); ++y) {
        for (int x = 0; x < original.width(); ++x) {
            const QRgb a = original.pixel(x, y);
            const QRgb b = decoded.pixel(x, y);
            largest =
                std::max(largest, std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                      std::abs(qBlue(a) - qBlue(b)));
        }
    }
    return largest;
}

// Few colours come back exactly, also where the code table fills up and is
// started over; many colours come back close.
TEST(GifEncoder, FewColoursDecodeExactlyAndManyColoursClosely) {
    EXPECT_EQ(largestColourErrorThroughGif(noiseImage(200, 150, 200)), 0);
    QImage gradient(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            gradient.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    }
    EXPECT_LE(largestColourErrorThroughGif(gradient), 60);
}

TEST(GifEncoder, MostlyTransparentPixelsBecomeTransparentAndTheRestOpaque) {
    QImage original(8, 8, QImage::Format_ARGB32);
    original.fill(qRgba(10, 20, 30, 100));
    original.setPixel(3, 3, qRgba(255, 0, 0, 255));
    original.setPixel(4, 4, qRgba(0, 0, 255, 200));
    const QImage decoded = decodeGif(GifEncoder::encode(original, kMatte));
    ASSERT_EQ(decoded.size(), original.size());
    EXPECT_EQ(qAlpha(decoded.pixel(0, 0)), 0);
    EXPECT_EQ(decoded.pixel(3, 3), qRgb(255, 0, 0));
    // Blended over the matte: mostly blue, a little of the light grey.
    const QRgb blended = decoded.pixel(4, 4);
    EXPECT_EQ(qAlpha(blended), 255);
    EXPECT_NEAR(qRed(blended), 224 * 55 / 255, 2);
    EXPECT_NEAR(qBlue(blended), (255 * 200 + 228 * 55) / 255, 2);
}

} // namespace
