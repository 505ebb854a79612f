#include "view/TerrainBatch.h"
#include "tests/view/GLCanvas.h"

#include <gtest/gtest.h>

namespace {

float signedArea(const FeedbackPolygon& triangle) {
    const FeedbackVertex &a = triangle[0], &b = triangle[1], &c = triangle[2];
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

// The batch's triangles as GL reports them, drawn one unit a pixel.
class TerrainBatchTest : public ::testing::Test {
protected:
    std::vector<FeedbackPolygon> drawn() {
        canvas.ortho(0, 400, 0, 400, -100, 100);
        return feedbackPolygons([&] { batch.draw(); });
    }

    GLCanvas canvas;
    TerrainBatch batch;
};

TEST_F(TerrainBatchTest, StripBecomesTrianglesOfOneWindingInStripOrder) {
    batch.beginStrip();
    for (int i = 0; i < 6; ++i)
        batch.addCorner(0.1f * i, 0.0f, 10.0f + 20 * (i / 2), i % 2 == 0 ? 10.0f : 50.0f, -1.0f);

    const auto triangles = drawn();

    ASSERT_EQ(triangles.size(), 4u);
    EXPECT_EQ(batch.triangleCount(), 4u);
    for (size_t k = 0; k < triangles.size(); ++k) {
        ASSERT_EQ(triangles[k].size(), 3u);
        // This strip turns clockwise; every triangle has to keep that turn.
        EXPECT_LT(signedArea(triangles[k]), 0.0f) << k;
        // Every triangle uses the strip's corners k to k + 2 and no others.
        float lowest = 1.0f, highest = 0.0f;
        for (const FeedbackVertex& v : triangles[k]) {
            lowest = std::min(lowest, v.s);
            highest = std::max(highest, v.s);
        }
        EXPECT_NEAR(lowest, 0.1f * k, 1e-6f) << k;
        EXPECT_NEAR(highest, 0.1f * (k + 2), 1e-6f) << k;
    }
    EXPECT_NEAR(triangles[1][2].s, 0.3f, 1e-6f) << "the newest corner comes last";
}

TEST_F(TerrainBatchTest, StripsStayApartAndClearEmptiesTheBatch) {
    for (float x : {10.0f, 200.0f}) {
        batch.beginStrip();
        batch.addCorner(0, 0, x, 10, 0);
        batch.addCorner(0, 0, x, 50, 0);
        batch.addCorner(0, 0, x + 30, 10, 0);
    }
    const auto triangles = drawn();

    ASSERT_EQ(triangles.size(), 2u);
    for (const FeedbackPolygon& triangle : triangles)
        EXPECT_LT(triangle[2].x - triangle[0].x, 40.0f);

    batch.clear();
    EXPECT_TRUE(drawn().empty());
}

} // namespace
