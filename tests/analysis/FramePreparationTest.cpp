#include "analysis/FramePreparation.h"
#include "SyntheticPictures.h"
#include "app/ProcessObjects.h"

#include <gtest/gtest.h>

namespace {

// A grey picture split into a left part of one level and a right part of
// another, the step lying between columns stepColumn - 1 and stepColumn.
std::unique_ptr<I::Image> verticalStep(int width, int height, int stepColumn, uchar left,
                                       uchar right) {
    auto picture = grayPicture(width, height, left);
    for (int y = 0; y < height; ++y) {
        for (int x = stepColumn; x < width; ++x) {
            setPixel(*picture, x, y, right);
        }
    }
    return picture;
}

// An edge picture with a horizontal band of set pixels.
std::unique_ptr<I::Image> edgeBand(int width, int height, int firstRow, int rows, int firstColumn,
                                   int columns) {
    auto picture = grayPicture(width, height);
    for (int y = firstRow; y < firstRow + rows; ++y) {
        for (int x = firstColumn; x < firstColumn + columns; ++x) {
            setPixel(*picture, x, y, 255);
        }
    }
    return picture;
}

TEST(GrayMirrored, WeighsColoursWithIntegerLumaWeights) {
    const struct {
        QRgb colour;
        uchar grey;
    } cases[] = {{0xFFFF0000u, 75},
                 {0xFF00FF00u, 149},
                 {0xFF0000FFu, 28},
                 {0xFFFFFFFFu, 254},
                 {0xFF000000u, 0}};
    for (const auto& c : cases) {
        const auto grey = grayMirrored(*rgbFrame(3, 2, c.colour));
        EXPECT_EQ(grey->format, I::Image::Gray8);
        EXPECT_EQ(grey->colorTable, &grayPalette);
        EXPECT_EQ(pixelAt(*grey, 1, 1), c.grey) << std::hex << c.colour;
    }
}

TEST(GrayMirrored, PutsTheLeftmostColumnOnTheRight) {
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(0, 1, 0xFFFFFFFFu);
    const auto grey = grayMirrored(*frameFrom(picture));
    EXPECT_EQ(pixelAt(*grey, 4, 1), 254);
    EXPECT_EQ(countSet(*grey), 1);
}

TEST(SobelEdges, LeavesPicturesOfFourPixelsOrLessEmpty) {
    for (const auto& size : {std::pair{4, 20}, std::pair{20, 4}}) {
        auto picture = grayPicture(size.first, size.second);
        for (int i = 0; i < size.first * size.second; i += 2) {
            picture->data[i] = 255;
        }
        EXPECT_EQ(countSet(*sobelEdges(*picture, 100)), 0);
    }
}

TEST(SobelEdges, SetsOnlyTheCentreOfASixBySixPicture) {
    auto picture = grayPicture(6, 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            setPixel(*picture, x, y, (x + y) % 2 ? 255 : 0);
        }
    }
    setPixel(*picture, 2, 2, 255);
    const auto edges = sobelEdges(*picture, 1);
    int centreSet = 0;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool centre = (x == 2 || x == 3) && (y == 2 || y == 3);
            if (!centre) {
                EXPECT_EQ(pixelAt(*edges, x, y), 0) << x << "," << y;
            }
            centreSet += centre && pixelAt(*edges, x, y) == 255;
        }
    }
    EXPECT_GT(centreSet, 0);
}

TEST(SobelEdges, StepOfTwoHundredGivesMagnitudeEightHundredOnBothSides) {
    const auto step = verticalStep(12, 8, 6, 0, 200);
    // m > threshold sets a pixel, so 799 and 800 bracket the magnitude.
    const auto below = sobelEdges(*step, 799);
    const auto at = sobelEdges(*step, 800);
    for (int y = 2; y < 6; ++y) {
        EXPECT_EQ(pixelAt(*below, 5, y), 255);
        EXPECT_EQ(pixelAt(*below, 6, y), 255);
        EXPECT_EQ(pixelAt(*below, 4, y), 0);
        EXPECT_EQ(pixelAt(*below, 7, y), 0);
    }
    EXPECT_EQ(countSet(*below), 2 * 4);
    EXPECT_EQ(countSet(*at), 0);
}

TEST(SobelEdges, StepOfTwentyStaysBelowTheThreshold) {
    const auto step = verticalStep(12, 8, 6, 0, 20);
    EXPECT_EQ(countSet(*sobelEdges(*step, 100)), 0);
    EXPECT_EQ(countSet(*sobelEdges(*step, 79)), 8);
    EXPECT_EQ(pixelAt(*sobelEdges(*step, 0), 5, 3), 80);
}

TEST(NewEdges, KeepsANewPixelOnlyWithFourNewNeighbours) {
    const auto reference = grayPicture(7, 7);
    auto edges = grayPicture(7, 7);
    setPixel(*edges, 3, 3, 255);
    setPixel(*edges, 2, 2, 255);
    setPixel(*edges, 3, 2, 255);
    setPixel(*edges, 4, 2, 255);
    int count = -1;
    auto change = newEdges(*edges, *reference, count, 820);
    EXPECT_EQ(pixelAt(*change, 3, 3), 0);
    EXPECT_EQ(count, 0);

    setPixel(*edges, 2, 3, 255);
    change = newEdges(*edges, *reference, count, 820);
    EXPECT_EQ(pixelAt(*change, 3, 3), 255);
    EXPECT_EQ(count, countSet(*change));
}

TEST(NewEdges, CountsATwoPixelBandExceptItsEnds) {
    const auto reference = grayPicture(40, 20);
    const auto band = edgeBand(40, 20, 8, 2, 5, 20);
    int count = 0;
    const auto change = newEdges(*band, *reference, count, 820);
    EXPECT_EQ(count, 2 * 18);
    EXPECT_EQ(pixelAt(*change, 5, 8), 0);
    EXPECT_EQ(pixelAt(*change, 6, 8), 255);
    EXPECT_EQ(pixelAt(*change, 24, 9), 0);

    const auto thinLine = edgeBand(40, 20, 8, 1, 5, 20);
    newEdges(*thinLine, *reference, count, 820);
    EXPECT_EQ(count, 0);
}

TEST(NewEdges, IgnoresEdgesThatWereAlreadyThereOrVanished) {
    const auto band = edgeBand(40, 20, 8, 3, 5, 20);
    const auto empty = grayPicture(40, 20);
    int count = -1;
    EXPECT_EQ(countSet(*newEdges(*band, *band, count, 820)), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(countSet(*newEdges(*empty, *band, count, 820)), 0);
    EXPECT_EQ(count, 0);
}

TEST(NewEdges, FindsNothingAgainstAReferenceThatIsNotGray8) {
    const auto band = edgeBand(40, 20, 8, 3, 5, 20);
    const auto colourReference = rgbFrame(40, 20, 0xFF000000u);
    int count = -1;
    EXPECT_EQ(countSet(*newEdges(*band, *colourReference, count, 820)), 0);
    EXPECT_EQ(count, 0);
}

TEST(NewEdges, TreatsWhatASmallerReferenceLacksAsNoEdge) {
    const auto band = edgeBand(40, 20, 14, 2, 5, 20);
    const auto shortReference = grayPicture(30, 10, 255);
    int count = 0;
    newEdges(*band, *shortReference, count, 820);
    EXPECT_EQ(count, 2 * 18);
}

} // namespace
