#include "view/Aircraft.h"
#include "tests/view/GLCanvas.h"
#include "tests/view/XglDocument.h"
#include "view/CXGLReader.h"

#include <gtest/gtest.h>

using namespace xgl;

namespace {

constexpr int kView = 400;

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}
bool isGreen(QRgb pixel) {
    return qGreen(pixel) > 200 && qRed(pixel) < 60;
}

// A model of one red triangle facing the viewer, compiled like the view's
// aircraft and drawn between a white "overlay" square at depth 0 and a green
// "terrain" square at the first slice past the near plane.
class AircraftTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString mesh = point(0, "-1,0,0") + point(1, "1,0,0") + point(2, "0,0.5,0") +
                             normal(0, "0,0,1") + face(0, 0, 1, 0, 2, 0, 1);
        reader = std::make_unique<CXGLReader>(writeWorld(
            files, object("M", mesh) + material(1, "0,0,0", "0,0,0", "0,0,0", "1,0,0", "0", "1")));
        canvas.makeCurrent();
        modelList = glGenLists(1);
        glNewList(modelList, GL_COMPILE);
        reader->drawMesh("M");
        glEndList();
        aircraft.measure(*reader);
    }

    QImage frame(float roll, bool withOverlay) {
        return canvas.render([&] {
            canvas.ortho(0, kView, 0, kView, 0, 8192);
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glEnable(GL_DEPTH_TEST);
            glDepthFunc(GL_LEQUAL);
            if (withOverlay)
                square(190, 55, 0.0f, 255, 255, 255);
            aircraft.draw(modelList, roll, kView, kView);
            // The terrain's nearest visible slice: z = 10 - 11.
            square(0, 0, -1.0f, 0, 255, 0, kView);
        });
    }

    static void square(int x, int y, float z, int r, int g, int b, int size = 20) {
        glColor3ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b));
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, z);
        glRecti(x, y, x + size, y + size);
        glPopMatrix();
    }

    ScratchFiles files;
    GLCanvas canvas;
    std::unique_ptr<CXGLReader> reader;
    GLuint modelList = 0;
    Aircraft aircraft;
};

// 150 units of roll above level tilt it 30 degrees clockwise, like the
// overlay's symbol: the left wing rises, the right one sinks. A model without
// meshes draws nothing.
TEST_F(AircraftTest, DrawnLitAtTheBottomCentreBehindTheOverlayBankingLikeItAndNotWhenEmpty) {
    const QImage alone = frame(90.0f, false);
    EXPECT_TRUE(isRed(pixelAt(alone, 200, 60)));
    EXPECT_TRUE(isRed(pixelAt(alone, 160, 53)));
    EXPECT_TRUE(isGreen(pixelAt(alone, 200, 200))) << "terrain around the aircraft";
    EXPECT_TRUE(isGreen(pixelAt(alone, 200, 20)));

    const QImage withOverlay = frame(90.0f, true);
    EXPECT_TRUE(isWhite(pixelAt(withOverlay, 200, 60)));
    EXPECT_TRUE(isRed(pixelAt(withOverlay, 160, 53)));

    const QImage banked = frame(240.0f, false);
    EXPECT_TRUE(isRed(pixelAt(banked, 165, 74)));
    EXPECT_FALSE(isRed(pixelAt(banked, 240, 80)));

    const CXGLReader empty(files.write(QString("<WORLD/>")));
    aircraft.measure(empty);
    EXPECT_TRUE(aircraft.isEmpty());
    EXPECT_TRUE(isGreen(pixelAt(frame(90.0f, false), 200, 60)));
}

} // namespace
