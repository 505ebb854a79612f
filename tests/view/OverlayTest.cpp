#include "view/Overlay.h"
#include "tests/view/GLCanvas.h"

#include <gtest/gtest.h>

namespace {

// The overlay drawn alone over the sky colour in a 400 x 400 view, with the
// flight view's blending and line smoothing, read back as pixels.
class OverlayTest : public ::testing::Test {
protected:
    QImage draw(float roll, float pitch) {
        overlay.viewWidth = 400;
        overlay.viewHeight = 400;
        overlay.roll = roll;
        overlay.pitch = pitch;
        return canvas.render([&] {
            glClearColor(0.8f, 0.7f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_LINE_SMOOTH);
            overlay.draw();
        });
    }

    GLCanvas canvas;
    Overlay overlay;
};

TEST_F(OverlayTest, ScalesStandAt105And295From100To300) {
    const QImage image = draw(90.0f, 0.0f);

    for (int y : {110, 150, 240, 290}) {
        EXPECT_TRUE(isWhite(pixelAt(image, 105, y))) << y;
        EXPECT_TRUE(isWhite(pixelAt(image, 295, y))) << y;
        EXPECT_FALSE(isWhite(pixelAt(image, 120, y))) << y;
        EXPECT_FALSE(isWhite(pixelAt(image, 280, y))) << y;
    }
    EXPECT_FALSE(isWhite(pixelAt(image, 105, 310)));
    EXPECT_FALSE(isWhite(pixelAt(image, 105, 90)));
    // Odd ticks reach out to 95 on the left, even ones stop at the scale.
    EXPECT_TRUE(isWhite(pixelAt(image, 97, 125)));
    EXPECT_FALSE(isWhite(pixelAt(image, 97, 150)));
}

TEST_F(OverlayTest, LevelPitchPutsMarkerTipsAt90And310) {
    const QImage image = draw(90.0f, 0.0f);

    EXPECT_TRUE(isWhite(pixelAt(image, 88, 200)));
    EXPECT_FALSE(isWhite(pixelAt(image, 93, 200)));
    EXPECT_TRUE(isWhite(pixelAt(image, 60, 205)));
    EXPECT_FALSE(isWhite(pixelAt(image, 60, 212)));
    EXPECT_TRUE(isWhite(pixelAt(image, 312, 200)));
    EXPECT_FALSE(isWhite(pixelAt(image, 307, 200)));
    EXPECT_TRUE(isWhite(pixelAt(image, 340, 195)));
}

TEST_F(OverlayTest, PitchOfTenMovesMarkersTwentyDown) {
    const QImage image = draw(90.0f, 10.0f);

    EXPECT_TRUE(isWhite(pixelAt(image, 60, 180)));
    EXPECT_FALSE(isWhite(pixelAt(image, 60, 200)));
    EXPECT_TRUE(isWhite(pixelAt(image, 340, 180)));
}

TEST_F(OverlayTest, LevelRollDrawsHorizontalWingBars) {
    const QImage image = draw(90.0f, 0.0f);

    EXPECT_TRUE(isWhite(pixelAt(image, 150, 200)));
    EXPECT_TRUE(isWhite(pixelAt(image, 250, 200)));
    EXPECT_FALSE(isWhite(pixelAt(image, 150, 206)));
    EXPECT_FALSE(isWhite(pixelAt(image, 200, 200))) << "the gap between the wings";
}

TEST_F(OverlayTest, RollBelowNinetyTiltsTheSymbolCounterClockwise) {
    // 100 units below level tilt it by 20 degrees.
    const QImage image = draw(-10.0f, 0.0f);

    EXPECT_FALSE(isWhite(pixelAt(image, 150, 200)));
    EXPECT_TRUE(isWhite(pixelAt(image, 153, 183)));
    EXPECT_TRUE(isWhite(pixelAt(image, 247, 217)));
}

TEST_F(OverlayTest, ReadoutShowsBothValuesInTheTopLeftCorner) {
    const QImage image = draw(97.3f, -3.0f);

    int whiteInCorner = 0;
    for (int x = 0; x < 120; ++x) {
        for (int y = 350; y < 400; ++y)
            whiteInCorner += isWhite(pixelAt(image, x, y)) ? 1 : 0;
    }
    EXPECT_GT(whiteInCorner, 30);
}

TEST_F(OverlayTest, TerrainDrawnLaterShowsAroundTheReadoutText) {
    overlay.viewWidth = 400;
    overlay.viewHeight = 400;
    overlay.roll = 97.3f;
    const QImage image = canvas.render([&] {
        glClearColor(0.8f, 0.7f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        overlay.draw();
        // Terrain over the whole view, behind the overlay.
        glColor3ub(0, 160, 0);
        glTranslatef(0.0f, 0.0f, -1.0f);
        glRectf(0.0f, 0.0f, 400.0f, 400.0f);
        glDisable(GL_DEPTH_TEST);
    });

    int sky = 0, text = 0;
    for (int x = 0; x < 120; ++x) {
        for (int y = 350; y < 400; ++y) {
            const QRgb pixel = pixelAt(image, x, y);
            sky += qRed(pixel) == 204 && qGreen(pixel) == 178 && qBlue(pixel) == 255 ? 1 : 0;
            text += isWhite(pixel) ? 1 : 0;
        }
    }
    // Only the faintest edges of the letters, blended into the sky colour
    // before the terrain came, may keep it.
    EXPECT_LT(sky, 50) << "the readout's clear background hid the terrain";
    EXPECT_GT(text, 30);
}

TEST(ValueReadoutTest, TextNamesBothAxesWithOneDecimal) {
    ValueReadout readout;
    readout.show(97.3f, -3.0f);

    EXPECT_EQ(readout.text(), QStringLiteral("ROLL 97.3\nPITCH -3.0"));
    EXPECT_FALSE(readout.picture().isNull());
}

} // namespace
