#include "analysis/FramePreparation.h"
#include "SyntheticPictures.h"
#include "app/ProcessObjects.h"

#include <gtest/gtest.h>

namespace {

constexpr int kChangeThreshold = 820;

TEST(GrayMirrored, WeighsColoursWithIntegerLumaWeightsAndPutsTheLeftColumnOnTheRight) {
    const struct {
        QRgb colour;
        uchar grey;
    } cases[] = {{0xFFFF0000u, 75},
                 {0xFF00FF00u, 149},
                 {0xFF0000FFu, 28},
                 {0xFFFFFFFFu, 254},
                 {0xFF000000u, 0}};
    for (const auto& c : cases) {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::black);
        picture.setPixel(0, 1, c.colour);
        const auto grey = grayMirrored(*frameFrom(picture));
        EXPECT_EQ(grey->format, I::Image::Gray8);
        EXPECT_EQ(grey->colorTable, &grayPalette);
        EXPECT_EQ(pixelAt(*grey, 2, 1), c.grey) << std::hex << c.colour;
        EXPECT_EQ(countSet(*grey), c.grey ? 1 : 0);
    }
}

// Rows and columns 0, 1 and the last two stay empty, which leaves nothing of
// a picture four pixels wide or high and the centre four of a 6 x 6 one.
TEST(SobelEdges, LeavesATwoPixelBorderEmpty) {
    for (const QSize size : {QSize(4, 20), QSize(20, 4), QSize(6, 6)}) {
        auto picture = grayPicture(size.width(), size.height());
        for (int i = 0; i < size.width() * size.height(); i += 3) {
            picture->data[i] = 255;
        }
        const auto edges = sobelEdges(*picture, 1);
        int inside = 0;
        for (int y = 2; y < size.height() - 2; ++y) {
            for (int x = 2; x < size.width() - 2; ++x) {
                inside += pixelAt(*edges, x, y) == 255;
            }
        }
        EXPECT_EQ(countSet(*edges), inside) << size.width() << "x" << size.height();
        EXPECT_EQ(inside > 0, size == QSize(6, 6));
    }
}

// m > threshold sets a pixel; a step from 0 to v gives the magnitude 4 v on
// both columns next to it, in every row away from the border. Threshold 0
// keeps the magnitude itself.
TEST(SobelEdges, VerticalStepSetsBothColumnsBesideItAboveTheThreshold) {
    const struct {
        uchar right;
        int threshold, set;
        uchar besideStep;
    } cases[] = {
        {200, 799, 8, 255}, {200, 800, 0, 0}, {20, 79, 8, 255}, {20, 100, 0, 0}, {20, 0, 8, 80}};
    for (const auto& c : cases) {
        const auto edges = sobelEdges(*grayPicture(12, 8, {{6, 0, 6, 8}}, c.right), c.threshold);
        EXPECT_EQ(countSet(*edges), c.set) << int(c.right) << " over " << c.threshold;
        EXPECT_EQ(pixelAt(*edges, 5, 3), c.besideStep);
        EXPECT_EQ(pixelAt(*edges, 6, 3), c.besideStep);
    }
}

// Three new neighbours are not enough, four are: isolated pixels and new lines
// one pixel thin are dropped, bands two pixels thick kept but for their ends.
TEST(NewEdges, CountsOnlyPixelsWithFourNewNeighboursSoNewBandsLessTheirEnds) {
    const QRect band(5, 8, 20, 2), thickBand(5, 8, 20, 3);
    const struct {
        const char* what;
        std::unique_ptr<I::Image> edges, reference;
        int count;
    } cases[] = {
        {"three new neighbours", grayPicture(7, 7, {{2, 2, 3, 1}, {3, 3, 1, 1}}), grayPicture(7, 7),
         0},
        {"four new neighbours", grayPicture(7, 7, {{2, 2, 3, 1}, {2, 3, 2, 1}}), grayPicture(7, 7),
         2},
        {"new band", grayPicture(40, 20, {band}), grayPicture(40, 20), 2 * 18},
        {"new thin line", grayPicture(40, 20, {{5, 8, 20, 1}}), grayPicture(40, 20), 0},
        {"band already there", grayPicture(40, 20, {thickBand}), grayPicture(40, 20, {thickBand}),
         0},
        {"band vanished", grayPicture(40, 20), grayPicture(40, 20, {thickBand}), 0},
        {"colour reference", grayPicture(40, 20, {thickBand}),
         frameFrom(armsFigure(40, 20, {90, 0})), 0},
        {"rows a smaller reference lacks", grayPicture(40, 20, {band.translated(0, 6)}),
         grayPicture(30, 10, {{0, 0, 30, 10}}), 2 * 18},
    };
    for (const auto& c : cases) {
        int count = -1;
        const auto change = newEdges(*c.edges, *c.reference, count, kChangeThreshold);
        EXPECT_EQ(count, c.count) << c.what;
        EXPECT_EQ(countSet(*change), c.count) << c.what;
    }
}

} // namespace
