#include "view/Overlay.h"
#include "tests/view/GLCanvas.h"

#include <gtest/gtest.h>

namespace {

struct Probe {
    int x, y;
    bool white;
};

void expectWhiteWhereProbed(const QImage& image, const std::vector<Probe>& probes) {
    for (const Probe& probe : probes) {
        EXPECT_EQ(isWhite(pixelAt(image, probe.x, probe.y)), probe.white)
            << probe.x << "," << probe.y;
    }
}

// The overlay drawn alone over the sky colour in a 400 x 400 view, with the
// flight view's blending, line smoothing and depth testing, read back as
// pixels; a green terrain covering the view is drawn behind it afterwards.
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
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(GL_LEQUAL);
            overlay.draw();
            glColor3ub(0, 160, 0);
            glTranslatef(0.0f, 0.0f, -1.0f);
            glRectf(0.0f, 0.0f, 400.0f, 400.0f);
            glDisable(GL_DEPTH_TEST);
        });
    }

    GLCanvas canvas;
    Overlay overlay;
};

// Scales stand at 105 and 295 from 100 to 300; odd ticks reach out to 95 on
// the left, even ones stop at the scale. The pitch markers' tips stand at 90
// and 310. The wing bars are horizontal with a gap between them. A pitch of
// ten moves the markers twenty pixels down; 100 units of roll below level
// tilt the wings 20 degrees counter-clockwise.
TEST_F(OverlayTest, ScalesMarkersAndWingBarsFollowPitchAndRoll) {
    const std::vector<Probe> probes = {
        {105, 110, true},  {295, 110, true},  {105, 290, true}, {295, 290, true}, {120, 150, false},
        {280, 240, false}, {105, 310, false}, {105, 90, false}, {97, 125, true},  {97, 150, false},
        {88, 200, true},   {93, 200, false},  {60, 205, true},  {60, 212, false}, {312, 200, true},
        {307, 200, false}, {340, 195, true},  {150, 200, true}, {250, 200, true}, {150, 206, false},
        {200, 200, false}};
    expectWhiteWhereProbed(draw(90.0f, 0.0f), probes);
    expectWhiteWhereProbed(draw(90.0f, 10.0f),
                           {{60, 180, true}, {60, 200, false}, {340, 180, true}});
    expectWhiteWhereProbed(draw(-10.0f, 0.0f),
                           {{150, 200, false}, {153, 183, true}, {247, 217, true}});
}

TEST_F(OverlayTest, ReadoutNamesBothAxesAndLetsTheTerrainShowAroundItsText) {
    const QImage image = draw(97.3f, -3.0f);

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
    EXPECT_GT(text, 30) << "the readout shows in the top left corner";

    ValueReadout readout;
    readout.show(97.3f, -3.0f);
    EXPECT_EQ(readout.text(), QStringLiteral("ROLL 97.3\nPITCH -3.0")) << "one decimal";
}

} // namespace
