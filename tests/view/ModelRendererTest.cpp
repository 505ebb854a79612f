#include "tests/view/GLCanvas.h"
#include "tests/view/XglDocument.h"
#include "view/CXGLReader.h"

#include <gtest/gtest.h>

using namespace xgl;

namespace {

// Window coordinates back to model coordinates for the projection below.
constexpr float kHalfRange = 2000.0f;
constexpr int kCanvasSize = 200;

float modelX(float windowX) {
    return (windowX / (kCanvasSize / 2) - 1) * kHalfRange;
}

// Draws meshes in feedback mode with lighting reduced to the material's
// emission, so each reported corner colour is the material in force there.
class ModelRendererTest : public ::testing::Test {
protected:
    std::vector<FeedbackPolygon> render(CXGLReader& reader, const QString& mesh) {
        canvas.ortho(-kHalfRange, kHalfRange, -kHalfRange, kHalfRange, -kHalfRange, kHalfRange);
        const GLfloat noAmbient[4] = {0, 0, 0, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noAmbient);
        glEnable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        auto polygons = feedbackPolygons([&] { reader.drawMesh(mesh); });
        glDisable(GL_LIGHTING);
        return polygons;
    }

    GLCanvas canvas{kCanvasSize, kCanvasSize};
    ScratchFiles files;
};

TEST_F(ModelRendererTest, PositionsAreScaledBy500AndUnknownMeshesEmitNothing) {
    const QString mesh = point(0, "1,-2,0.5") + point(1, "-3,0,0") + point(2, "0,3,0") +
                         normal(0, "0,0,1") + face(0, 0, 1, 0, 2, 0);
    CXGLReader reader(writeWorld(files, object("M", mesh)));

    const auto polygons = render(reader, "M");

    ASSERT_EQ(polygons.size(), 1u);
    ASSERT_EQ(polygons[0].size(), 3u);
    EXPECT_NEAR(modelX(polygons[0][0].x), 500.0f, 1.0f);
    EXPECT_NEAR(modelX(polygons[0][1].x), -1500.0f, 1.0f);
    EXPECT_NEAR(modelX(polygons[0][2].x), 0.0f, 1.0f);
    EXPECT_NEAR(modelX(polygons[0][0].y), -1000.0f, 1.0f);
    EXPECT_NEAR(modelX(polygons[0][2].y), 1500.0f, 1.0f);
    EXPECT_TRUE(render(reader, "Missing").empty());
}

// A face without material keeps the current one; an undefined material ID
// draws with an all-zero material, which the reader then holds.
TEST_F(ModelRendererTest, FaceMaterialReachesEveryCorner) {
    const QString red = material(4, "0,0,0", "0,0,0", "0,0,0", "1,0,0", "0", "1");
    const QString blue = material(5, "0,0,0", "0,0,0", "0,0,0", "0,0,1", "0", "1");
    const QString mesh = triangleMesh() + face(0, 0, 1, 1, 2, 2, 4) + face(0, 0, 1, 1, 2, 2, 5) +
                         face(0, 0, 1, 1, 2, 2, 8);
    CXGLReader reader(writeWorld(files, object("M", mesh) + red + blue));
    canvas.makeCurrent();
    const GLfloat green[4] = {0, 1, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, green);

    const auto polygons = render(reader, "M");

    // Green kept, then red, then blue alone, then all zero, alpha included.
    const float expected[4][4] = {{0, 1, 0, 1}, {1, 0, 0, 1}, {0, 0, 1, 1}, {0, 0, 0, 0}};
    ASSERT_EQ(polygons.size(), 4u);
    for (std::size_t face = 0; face < 4; ++face) {
        for (const FeedbackVertex& corner : polygons[face])
            EXPECT_EQ(std::vector({corner.r, corner.g, corner.b, corner.a}),
                      std::vector(expected[face], expected[face] + 4))
                << face;
    }
    EXPECT_TRUE(reader.materialTable().contains(8));
}

} // namespace
