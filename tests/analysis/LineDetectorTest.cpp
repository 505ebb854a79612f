#include "analysis/LineDetector.h"
#include "SyntheticPictures.h"
#include "analysis/ClusterSplitter.h"
#include "analysis/StringLinker.h"
#include "analysis/VoteShape.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr uint32_t kMinSize = 10;
constexpr double kMinDeviation = 5.0;
constexpr double kPi = 3.14159265358979323846;

// Sets the pixels of a horizontal (y0 == y1) or vertical (x0 == x1) run.
void drawRun(I::Image& picture, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            setPixel(picture, x, y, 255);
        }
    }
}

class StringsAndClusters : public ::testing::Test {
protected:
    void link(I::Image& picture) {
        findStrings(strings, picture, kMinSize);
        findClusters(clusters, strings, kMinDeviation, kMinSize);
    }
    std::pair<int, int> at(const StringPoint& point) const { return {point.x, point.y}; }

    StringList strings;
    ClusterList clusters;
};

TEST_F(StringsAndClusters, ChainsShorterThanTheMinimumAreDropped) {
    auto picture = grayPicture(64, 48);
    link(*picture);
    EXPECT_EQ(strings.count, 0u);

    drawRun(*picture, 5, 5, 13, 5);
    link(*picture);
    EXPECT_EQ(strings.count, 0u);

    drawRun(*picture, 5, 9, 14, 9);
    link(*picture);
    ASSERT_EQ(strings.count, 1u);
    EXPECT_EQ(strings.entries[0].count, 10u);
    ASSERT_EQ(clusters.count, 1u);
    EXPECT_EQ(clusters.items[0].count, 10u);
}

TEST_F(StringsAndClusters, StraightRunIsOneOrderedStringAndOneCluster) {
    auto picture = grayPicture(64, 48);
    drawRun(*picture, 10, 20, 49, 20);
    link(*picture);
    ASSERT_EQ(strings.count, 1u);
    const PixelString& run = strings.entries[0];
    ASSERT_EQ(run.count, 40u);
    const int direction = run.points[1].x - run.points[0].x;
    for (uint32_t i = 1; i < run.count; ++i) {
        EXPECT_EQ(run.points[i].x - run.points[i - 1].x, direction);
    }
    EXPECT_DOUBLE_EQ(run.points[0].yc, 20 - 24.0);
    ASSERT_EQ(clusters.count, 1u);
    EXPECT_EQ(clusters.items[0].count, 40u);
    EXPECT_EQ(countSet(*picture), 0);
}

TEST_F(StringsAndClusters, LShapedChainIsCutAtItsCorner) {
    auto picture = grayPicture(320, 240);
    drawRun(*picture, 100, 100, 129, 100);
    drawRun(*picture, 129, 100, 129, 129);
    link(*picture);
    ASSERT_EQ(strings.count, 1u);
    ASSERT_EQ(clusters.count, 2u);
    const Cluster& first = clusters.items[0];
    const Cluster& second = clusters.items[1];
    EXPECT_EQ(first.count, 30u);
    EXPECT_EQ(second.count, 30u);
    EXPECT_EQ(at(first.first[first.count - 1]), std::pair(129, 100));
    EXPECT_EQ(at(second.first[0]), std::pair(129, 100));
}

TEST_F(StringsAndClusters, TwoPixelBandIsAHairpinSplitAtItsTurn) {
    auto picture = grayPicture(320, 240);
    drawRun(*picture, 100, 100, 139, 101);
    link(*picture);
    ASSERT_EQ(strings.count, 1u);
    const PixelString& hairpin = strings.entries[0];
    ASSERT_EQ(hairpin.count, 80u);
    EXPECT_EQ(at(hairpin.points[0]), std::pair(101, 100));
    EXPECT_EQ(at(hairpin.points[79]), std::pair(100, 100));
    ASSERT_EQ(clusters.count, 2u);
    EXPECT_EQ(clusters.items[0].count + clusters.items[1].count, 81u);
    EXPECT_EQ(std::min(clusters.items[0].count, clusters.items[1].count), 40u);
    EXPECT_EQ(at(clusters.items[1].first[0]), std::pair(139, 101));
}

TEST_F(StringsAndClusters, SmallDisplacementDoesNotSplitARun) {
    PixelString run;
    for (int x = 0; x < 100; ++x) {
        const int y = x >= 45 && x < 55 ? 13 : 10;
        run.append({x, y, double(x), double(y)});
    }
    subdivide(clusters, run, 0, 99, kMinDeviation, kMinSize);
    ASSERT_EQ(clusters.count, 1u);
    EXPECT_EQ(clusters.items[0].count, 100u);
}

class Detection : public ::testing::Test {
protected:
    const LineList& detect(I::Image& picture) {
        detector.detect(lines, picture, kMinSize, kMinDeviation, 0.5, 0.002, 2.0);
        return lines;
    }
    bool contains(double theta, double rho) const {
        return std::any_of(lines.begin(), lines.end(), [&](const Line& line) {
            return line.theta == theta && line.rho == rho;
        });
    }

    LineDetector detector;
    LineList lines;
};

TEST_F(Detection, EmptyPictureGivesNoLines) {
    lines.push_back({1, 2});
    EXPECT_TRUE(detect(*grayPicture(320, 240)).empty());
}

TEST_F(Detection, AccumulatorCoversTheDiagonalInHalfSteps) {
    detect(*grayPicture(320, 240));
    EXPECT_EQ(detector.accumulator().rhoSize, 802u);
    EXPECT_EQ(detector.accumulator().thetaSize, 360u);
    detect(*grayPicture(160, 120));
    EXPECT_EQ(detector.accumulator().rhoSize, 402u);
    EXPECT_EQ(detector.accumulator().thetaSize, 360u);
}

TEST_F(Detection, HorizontalRunVotesWithItsWorkedKernel) {
    auto picture = grayPicture(320, 240);
    drawRun(*picture, 140, 70, 180, 70);
    detect(*picture);

    ASSERT_EQ(detector.kernels().kernelCount(), 1u);
    const Kernel& kernel = detector.kernels().kernelsBegin()[0];
    EXPECT_NEAR(kernel.theta, 90.0, 1e-9);
    EXPECT_NEAR(kernel.rho, -50.0, 1e-9);
    EXPECT_NEAR(kernel.sigma2Rho, 0.097561, 1e-6);
    EXPECT_NEAR(kernel.sigma2Theta, 2.287670, 1e-6);
    EXPECT_NEAR(kernel.covRhoTheta, 0.0, 1e-12);
    EXPECT_NEAR(kernel.kernelHeight, 0.336888, 1e-6);
    EXPECT_NEAR(detector.kernels().voteScale(), 4.893976, 1e-6);
    EXPECT_EQ(kernel.rhoIndex, 301);
    EXPECT_EQ(kernel.thetaIndex, 181);
    EXPECT_EQ(detector.accumulator().votesAt(181, 301), 2);

    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].theta, 90.0);
    EXPECT_EQ(lines[0].rho, -50.0);
}

TEST_F(Detection, UncorrelatedKernelFallsOffSymmetricallyInRho) {
    auto picture = grayPicture(320, 240);
    // A short run is a weak kernel; it raises the vote scale so that the
    // strong one spreads over several cells.
    drawRun(*picture, 30, 200, 41, 200);
    drawRun(*picture, 140, 70, 180, 70);
    detect(*picture);
    const Accumulator& votes = detector.accumulator();
    const int centre = votes.votesAt(181, 301);
    for (int step = 1; step < 4; ++step) {
        EXPECT_EQ(votes.votesAt(181, 301 - step), votes.votesAt(181, 301 + step));
        EXPECT_LE(votes.votesAt(181, 301 + step), centre);
    }
    EXPECT_GT(centre, votes.votesAt(181, 303));
}

TEST_F(Detection, VerticalRunWrapsIntoTheLastThetaRow) {
    auto picture = grayPicture(320, 240);
    drawRun(*picture, 200, 100, 200, 139);
    detect(*picture);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].theta, 0.0);
    EXPECT_EQ(lines[0].rho, 40.0);
    const auto wrapped = std::find_if(lines.begin() + 1, lines.end(),
                                      [](const Line& line) { return line.theta == 179.5; });
    ASSERT_NE(wrapped, lines.end());
    EXPECT_NEAR(wrapped->rho, -40.0, 1.0);
}

TEST_F(Detection, LShapedChainGivesOneLinePerArm) {
    auto picture = grayPicture(320, 240);
    drawRun(*picture, 100, 100, 129, 100);
    drawRun(*picture, 129, 100, 129, 129);
    detect(*picture);
    EXPECT_TRUE(contains(90.0, -20.0));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const Line& line) {
        return (line.theta == 0.0 || line.theta == 0.5) && std::fabs(line.rho - -31.0) <= 1.0;
    }));
}

TEST_F(Detection, TwoPixelBandGivesASingleLine) {
    auto picture = grayPicture(320, 240);
    drawRun(*picture, 100, 100, 139, 101);
    detect(*picture);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].theta, 90.0);
    EXPECT_TRUE(lines[0].rho == -19.5 || lines[0].rho == -19.0) << lines[0].rho;
}

TEST_F(Detection, SamePictureGivesSameLinesAcrossSizeChanges) {
    const auto figure = [] {
        auto picture = grayPicture(320, 240);
        drawRun(*picture, 100, 100, 129, 100);
        drawRun(*picture, 129, 100, 129, 129);
        drawRun(*picture, 20, 200, 300, 201);
        return picture;
    };
    const LineList first = detect(*figure());
    detect(*grayPicture(160, 120));
    const LineList second = detect(*figure());
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].rho, second[i].rho);
        EXPECT_EQ(first[i].theta, second[i].theta);
    }
}

// The vote of a kernel at an offset, straight from the bivariate normal density.
int32_t directVotes(const Kernel& kernel, double scale, double deltaRho, double deltaTheta) {
    const double sigmaRho = std::sqrt(kernel.sigma2Rho);
    const double sigmaTheta = std::sqrt(kernel.sigma2Theta);
    const double r = kernel.covRhoTheta / (sigmaRho * sigmaTheta);
    const double z = deltaRho * deltaRho / kernel.sigma2Rho -
                     2 * r * deltaRho * deltaTheta / (sigmaRho * sigmaTheta) +
                     deltaTheta * deltaTheta / kernel.sigma2Theta;
    const double density =
        std::exp(-z / (2 * (1 - r * r))) / (2 * kPi * sigmaRho * sigmaTheta * std::sqrt(1 - r * r));
    return int32_t(scale * density + 0.5);
}

TEST(VoteShape, SteppedVotesEqualTheDensityFormulaOverWholePasses) {
    const struct {
        double sigma2Rho, sigma2Theta, cov, scale;
    } kernels[] = {{0.097561, 2.287670, 0.0, 4.893976},
                   {0.558, 17.3, -0.699, 182.5},
                   {3.34, 17.3, -1.87, 10690.6},
                   {0.0187, 0.0715, 0.000646, 3422.9}};
    for (const auto& k : kernels) {
        Kernel kernel{};
        kernel.sigma2Rho = k.sigma2Rho;
        kernel.sigma2Theta = k.sigma2Theta;
        kernel.covRhoTheta = kernel.covThetaRho = k.cov;
        for (double rhoStep : {0.5, -0.5}) {
            for (double thetaStep : {0.5, -0.5}) {
                const VoteShape shape(kernel, k.scale, rhoStep, thetaStep);
                VoteShape::Pass pass = shape.startPass(rhoStep < 0 ? rhoStep : 0, 0);
                for (int rowIndex = 0; rowIndex < 120; ++rowIndex, shape.nextRow(pass)) {
                    const VoteShape::Row row = shape.row(pass.deltaTheta);
                    VoteShape::Walk walk = shape.rowWalk(row, pass);
                    for (int cell = 0; cell < 400; ++cell, shape.step(row, walk)) {
                        const double deltaRho = pass.deltaRho + cell * rhoStep;
                        const int32_t votes = shape.votes(row, walk);
                        ASSERT_EQ(votes, directVotes(kernel, k.scale, deltaRho, pass.deltaTheta))
                            << deltaRho << ", " << pass.deltaTheta;
                        if (votes <= 0) {
                            break;
                        }
                    }
                }
            }
        }
    }
}

} // namespace
