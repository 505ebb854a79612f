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
// both columns next to it, in every row away from the border.
TEST(SobelEdges, VerticalStepSetsBothColumnsBesideItAboveTheThreshold) {
    const struct {
        uchar right;
        int threshold, set;
    } cases[] = {{200, 799, 8}, {200, 800, 0}, {20, 79, 8}, {20, 100, 0}};
    for (const auto& c : cases) {
        auto step = grayPicture(12, 8);
        fill(*step, {6, 0, 6, 8}, c.right);
        const auto edges = sobelEdges(*step, c.threshold);
        EXPECT_EQ(countSet(*edges), c.set) << int(c.right) << " over " << c.threshold;
        EXPECT_EQ(pixelAt(*edges, 5, 3), c.set ? 255 : 0);
        EXPECT_EQ(pixelAt(*edges, 6, 3), c.set ? 255 : 0);
    }
    auto step = grayPicture(12, 8);
    fill(*step, {6, 0, 6, 8}, 20);
    EXPECT_EQ(pixelAt(*sobelEdges(*step, 0), 5, 3), 80);
}

TEST(NewEdges, KeepsANewPixelOnlyWithFourNewNeighbours) {
    const auto reference = grayPicture(7, 7);
    auto edges = grayPicture(7, 7);
    fill(*edges, {2, 2, 3, 1});
    fill(*edges, {3, 3, 1, 1});
    int count = -1;
    auto change = newEdges(*edges, *reference, count, kChangeThreshold);
    EXPECT_EQ(pixelAt(*change, 3, 3), 0);
    EXPECT_EQ(count, 0);

    fill(*edges, {2, 3, 1, 1});
    change = newEdges(*edges, *reference, count, kChangeThreshold);
    EXPECT_EQ(pixelAt(*change, 3, 3), 255);
    EXPECT_EQ(count, countSet(*change));
}

// Edge bands 20 pixels long from column 5, in a 40 x 20 picture.
std::unique_ptr<I::Image> edgeBand(int firstRow, int rows) {
    auto picture = grayPicture(40, 20);
    fill(*picture, {5, firstRow, 20, rows});
    return picture;
}

TEST(NewEdges, CountsOnlyBandsThatAreNewAndTwoPixelsThickLessTheirEnds) {
    const struct {
        const char* what;
        std::unique_ptr<I::Image> edges, reference;
        int count;
    } cases[] = {
        {"new band", edgeBand(8, 2), grayPicture(40, 20), 2 * 18},
        {"new thin line", edgeBand(8, 1), grayPicture(40, 20), 0},
        {"band already there", edgeBand(8, 3), edgeBand(8, 3), 0},
        {"band vanished", grayPicture(40, 20), edgeBand(8, 3), 0},
        {"colour reference", edgeBand(8, 3), frameFrom(armsFigure(40, 20, {90, 0})), 0},
        {"rows a smaller reference lacks", edgeBand(14, 2), grayPicture(30, 10, 255), 2 * 18},
    };
    for (const auto& c : cases) {
        int count = -1;
        const auto change = newEdges(*c.edges, *c.reference, count, kChangeThreshold);
        EXPECT_EQ(count, c.count) << c.what;
        EXPECT_EQ(countSet(*change), c.count) << c.what;
    }
    int count = 0;
    const auto change = newEdges(*edgeBand(8, 2), *grayPicture(40, 20), count, kChangeThreshold);
    EXPECT_EQ(pixelAt(*change, 5, 8), 0);
    EXPECT_EQ(pixelAt(*change, 6, 8), 255);
    EXPECT_EQ(pixelAt(*change, 24, 9), 0);
}

} // namespace
