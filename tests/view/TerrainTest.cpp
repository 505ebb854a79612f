#include "view/Terrain.h"
#include "tests/view/GLCanvas.h"
#include "tests/view/ScratchFiles.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <utility>

namespace {

constexpr float kMapPeriod = 1024.0f * 65536.0f;
constexpr int kViewSize = 400;
// Feedback window: x from -50 to 450 and y from -500 to 500, one unit a pixel.
constexpr float kLeft = -50.0f, kBottom = -500.0f;

// A terrain over a flat map of one height, without a texture, drawn under a
// projection that keeps every slice and column in view.
class TerrainTest : public ::testing::Test {
protected:
    QString flatMap(unsigned char height) {
        return files.write(QByteArray(Terrain::kMapSize * Terrain::kMapSize, char(height)));
    }
    // A 2 x 2 true-colour picture, with alpha for 32 bits a pixel.
    QString smallTexture(int bits = 24) {
        return files.writeTga(2, 2, 2, bits, QByteArray(4 * bits / 8, '\x40'));
    }

    std::vector<FeedbackPolygon> drawFrame(Terrain& terrain) {
        canvas.ortho(kLeft, kLeft + 500, kBottom, kBottom + 1000, -3000, 3000);
        glViewport(0, 0, 500, 1000);
        return feedbackPolygons([&] { terrain.stepAndDraw(); });
    }

    ScratchFiles files;
    GLCanvas canvas;
};

// The heading eases toward its target the short way across the wrap.
TEST_F(TerrainTest, SteeringClampsTheHorizonAndWrapsTheHeadingWhichEasesTheShortWay) {
    Terrain terrain(flatMap(0), files.missing());
    const std::pair<float, float> pitchesAndHorizons[] = {{-1000, 300}, {5000, 160}, {-100, 170}};
    for (const auto& [pitch, horizon] : pitchesAndHorizons) {
        terrain.steer(90.0f, pitch);
        EXPECT_FLOAT_EQ(terrain.horizonTarget(), horizon) << pitch;
    }

    terrain.steer(80.0f, 0.0f);
    EXPECT_GT(terrain.headingTarget(), 6.2f);
    EXPECT_LT(terrain.headingTarget(), 6.28f);
    terrain.steer(100.0f, 0.0f);
    terrain.steer(100.0f, 0.0f);
    EXPECT_GT(terrain.headingTarget(), 0.0f);
    EXPECT_LT(terrain.headingTarget(), 0.01f);

    // Back to just below a full turn, while the heading itself is still 0.
    terrain.steer(80.0f, 0.0f);
    terrain.steer(80.0f, 0.0f);
    terrain.setupTextureAndFog(kViewSize, kViewSize);
    drawFrame(terrain);
    EXPECT_GT(terrain.currentHeading(), 6.2f) << "moved back past 0, not forward through pi";
    for (int i = 0; i < 60; ++i)
        drawFrame(terrain);
    EXPECT_NEAR(terrain.currentHeading(), terrain.headingTarget(), 1e-3);
}

// At height 100 and horizon 256 a slice at distance d lies at about
// y = 200 - 94000 / d; nearer than about 470 it falls below the view. Column
// -1 stands left of the view where a strip opens at column 0. Slices grow
// apart with distance, up to the 260th at 2016.
TEST_F(TerrainTest, FlatGroundSlicesFollowTheHorizonFormulaInColumnsEightPixelsApart) {
    std::vector<unsigned> distances;
    for (unsigned d = 1; d < 2048; d = Terrain::nextSliceDistance(d))
        distances.push_back(d);
    EXPECT_EQ(distances.size(), 260u);
    EXPECT_EQ(Terrain::nextSliceDistance(63), 64u);
    EXPECT_EQ(Terrain::nextSliceDistance(64), 66u);

    Terrain terrain(flatMap(100), files.missing());
    terrain.setupTextureAndFog(kViewSize, kViewSize);

    const auto polygons = drawFrame(terrain);

    std::map<float, std::set<int>> columnsPerSlice;
    std::map<int, float> topOfSlice;
    for (const FeedbackPolygon& polygon : polygons) {
        for (const FeedbackVertex& v : polygon) {
            columnsPerSlice[v.z].insert(static_cast<int>(std::lround(v.x + kLeft)));
            const int d = static_cast<int>(std::lround((2.0f * v.z - 1.0f) * 3000.0f));
            topOfSlice[d] = std::max(topOfSlice[d], v.y + kBottom);
        }
    }
    ASSERT_FALSE(columnsPerSlice.empty());
    for (const auto& slice : columnsPerSlice) {
        EXPECT_EQ(slice.second.size(), 53u);
        EXPECT_EQ(*slice.second.begin(), -8);
        EXPECT_EQ(*slice.second.rbegin(), 408);
        for (int x : slice.second)
            EXPECT_EQ(x % 8, 0);
    }
    EXPECT_GT(topOfSlice.begin()->first, 460);
    EXPECT_EQ(topOfSlice.rbegin()->first, 2016);
    EXPECT_NEAR(topOfSlice.rbegin()->second, 153.0f, 0.5f);
    for (const auto& slice : topOfSlice)
        EXPECT_NEAR(slice.second, 200.0f - 94000.0f / slice.first, 1.5f) << slice.first;
}

TEST_F(TerrainTest, PositionWrapsToOneMapPeriodWithoutTheTextureJumping) {
    Terrain terrain(flatMap(100), smallTexture());
    terrain.setupTextureAndFog(kViewSize, kViewSize);
    // The camera crosses the 1024-cell period after about 431 frames.
    constexpr int kFramesBeforeTheWrap = 428;
    for (int i = 0; i < kFramesBeforeTheWrap; ++i)
        terrain.stepAndDraw();

    // Feedback reports texture coordinates before the texture matrix, which
    // carries the shift, so the shift is added here.
    const auto shiftedT = [&] {
        const float t = drawFrame(terrain).at(0).at(0).t;
        return double(t) + terrain.textureShift().y();
    };
    const double advance = 155648.0 / 65536000.0;
    double previousT = shiftedT();
    for (int i = 0; i < 6; ++i) {
        const double t = shiftedT();
        const double step = std::fmod(t - previousT + 8.0, 1.0);
        EXPECT_NEAR(step, advance, 1e-4) << "frame " << kFramesBeforeTheWrap + i;
        previousT = t;
    }
    constexpr int kFrames = kFramesBeforeTheWrap + 7;
    EXPECT_GE(terrain.positionX(), 0.0f);
    EXPECT_NEAR(terrain.positionX(), std::fmod(kFrames * 155648.0, kMapPeriod), 4096.0)
        << "the position has wrapped";
}

// A missing texture leaves the terrain untextured, and a view wider than the
// column arrays is clamped to them; either way the terrain is drawn.
TEST_F(TerrainTest, MissingTextureAndOverwideViewStillDrawTheTerrain) {
    Terrain terrain(flatMap(50), files.missing());
    terrain.setupTextureAndFog(9000, 300);

    EXPECT_EQ(terrain.textureName(), 0u);
    EXPECT_EQ(terrain.columnsPerSlice(), Terrain::kMaxColumns);
    EXPECT_FALSE(drawFrame(terrain).empty());
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "texturing is switched back on for the rest";
    EXPECT_TRUE(terrain.drawsOpaque());
    EXPECT_TRUE(Terrain(flatMap(50), smallTexture(24)).drawsOpaque());
    EXPECT_FALSE(Terrain(flatMap(50), smallTexture(32)).drawsOpaque())
        << "only a texture with alpha makes the terrain translucent";
}

// The widget's own picture is a texture in the same context, so textures are
// counted against those there before.
TEST_F(TerrainTest, EachTextureSetUpReplacesTheTextureObjectBeforeIt) {
    Terrain terrain(flatMap(50), smallTexture());
    canvas.makeCurrent();
    const auto liveTextures = [] {
        int live = 0;
        for (GLuint name = 1; name < 64; ++name)
            live += glIsTexture(name) ? 1 : 0;
        return live;
    };
    const int before = liveTextures();
    for (int i = 0; i < 5; ++i)
        terrain.setupTextureAndFog(kViewSize, kViewSize);

    ASSERT_NE(terrain.textureName(), 0u);
    EXPECT_EQ(liveTextures(), before + 1);
}

} // namespace
