#include "analysis/LineDetector.h"
#include "SyntheticPictures.h"
#include "analysis/ClusterSplitter.h"
#include "analysis/StringLinker.h"
#include "analysis/VoteShape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr uint32_t kMinSize = 10;
constexpr double kMinDeviation = 5.0;
constexpr double kPi = 3.14159265358979323846;

// The worked figures: a horizontal run of 41 pixels 50 rows above the centre
// of 320 x 240, an L of two 30-pixel arms meeting at (129, 100), and a band
// two pixels thick and 40 long.
const QRect kHorizontalRun(140, 70, 41, 1);
const QRect kLAcross(100, 100, 30, 1);
const QRect kLDown(129, 100, 1, 30);
const QRect kBand(100, 100, 40, 2);
// A run of 100 that climbs three rows for a stretch and comes back.
const std::vector<QRect> kBumpedRun = {{10, 10, 45, 1}, {55, 11, 1, 1}, {56, 12, 1, 1},
                                       {57, 13, 6, 1},  {63, 12, 1, 1}, {64, 11, 1, 1},
                                       {65, 10, 45, 1}};

QPoint at(const StringPoint& point) {
    return {point.x, point.y};
}

// Strings run from the end of the walk that leaves the seed, the first set
// pixel met, through the seed to the end of the walk back. A bend is cut into
// two clusters that share the point where it turns.
TEST(StringsAndClusters, ChainsAreWalkedEndToEndAndCutAtTheirBends) {
    const struct {
        const char* figure;
        std::vector<QRect> runs;
        QPoint start, end;
        uint32_t length;
        std::vector<uint32_t> clusterLengths;
    } figures[] = {
        // The run of nine is below the minimum size and dropped.
        {"runs of 9 and 10", {{5, 5, 9, 1}, {5, 9, 10, 1}}, {14, 9}, {5, 9}, 10, {10}},
        {"straight run", {{10, 20, 40, 1}}, {49, 20}, {10, 20}, 40, {40}},
        {"L", {kLAcross, kLDown}, {129, 129}, {100, 100}, 59, {30, 30}},
        // Three pixels off its chord is too little to split a run.
        {"run with a bump", kBumpedRun, {109, 10}, {10, 10}, 100, {100}},
        // A hairpin, turning at (139, 101).
        {"two-pixel band", {kBand}, {101, 100}, {100, 100}, 80, {40, 41}},
    };
    for (const auto& figure : figures) {
        SCOPED_TRACE(figure.figure);
        auto picture = grayPicture(320, 240, figure.runs);
        StringList strings;
        ClusterList clusters;
        findStrings(strings, *picture, kMinSize);
        findClusters(clusters, strings, kMinDeviation, kMinSize);
        EXPECT_EQ(countSet(*picture), 0);
        ASSERT_EQ(strings.count, 1u);
        const PixelString& chain = strings.entries[0];
        ASSERT_EQ(chain.count, figure.length);
        EXPECT_EQ(at(chain.points[0]), figure.start);
        EXPECT_EQ(at(chain.points[chain.count - 1]), figure.end);
        for (uint32_t i = 1; i < chain.count; ++i) {
            EXPECT_EQ(std::max(std::abs(chain.points[i].x - chain.points[i - 1].x),
                               std::abs(chain.points[i].y - chain.points[i - 1].y)),
                      1)
                << "from point " << i - 1;
        }
        ASSERT_EQ(clusters.count, figure.clusterLengths.size());
        for (uint32_t i = 0; i < clusters.count; ++i) {
            EXPECT_EQ(clusters.items[i].count, figure.clusterLengths[i]);
        }
        if (clusters.count == 2) {
            const Cluster& first = clusters.items[0];
            EXPECT_EQ(at(first.first[first.count - 1]), at(clusters.items[1].first[0]));
        }
    }
}

class Detection : public ::testing::Test {
protected:
    const LineList& detect(I::Image& picture) {
        detector.detect(lines, picture, kMinSize, kMinDeviation, 0.5, 0.002, 2.0);
        return lines;
    }

    LineDetector detector;
    LineList lines;
};

TEST_F(Detection, HorizontalRunVotesWithItsWorkedKernelFallingOffSymmetricallyInRho) {
    detect(*grayPicture(320, 240, {kHorizontalRun}));
    ASSERT_EQ(detector.kernels().kernelCount(), 1u);
    const Kernel& kernel = detector.kernels().kernelsBegin()[0];
    EXPECT_NEAR(kernel.theta, 90.0, 1e-9);
    EXPECT_NEAR(kernel.rho, -50.0, 1e-9);
    EXPECT_NEAR(kernel.sigma2Rho, 0.097561, 1e-6);
    EXPECT_NEAR(kernel.sigma2Theta, 2.287670, 1e-6);
    EXPECT_NEAR(kernel.covRhoTheta, 0.0, 1e-12);
    EXPECT_NEAR(kernel.kernelHeight, 0.336888, 1e-6);
    EXPECT_NEAR(detector.kernels().voteScale(), 4.893976, 1e-6);
    EXPECT_EQ(detector.accumulator().votesAt(181, 301), 2);

    // A short run beside it is a weak kernel; it raises the vote scale so that
    // the strong one spreads over several cells, falling off alike on both
    // sides since it is uncorrelated.
    detect(*grayPicture(320, 240, {{30, 200, 12, 1}, kHorizontalRun}));
    const Accumulator& votes = detector.accumulator();
    const int centre = votes.votesAt(181, 301);
    for (int step = 1; step < 4; ++step) {
        EXPECT_EQ(votes.votesAt(181, 301 - step), votes.votesAt(181, 301 + step));
        EXPECT_LE(votes.votesAt(181, 301 + step), centre);
    }
    EXPECT_GT(centre, votes.votesAt(181, 303));
}

// Lines within these ranges of θ and ρ; where two cells tie, either may win.
struct LineRange {
    double thetaLow, thetaHigh, rhoLow, rhoHigh;

    bool holds(const Line& line) const {
        return line.theta >= thetaLow && line.theta <= thetaHigh && line.rho >= rhoLow &&
               line.rho <= rhoHigh;
    }
};

TEST_F(Detection, FindsTheLinesOfTheWorkedFigures) {
    const struct {
        const char* figure;
        std::vector<QRect> runs;
        bool strongestFirst;
        std::vector<LineRange> expected;
    } figures[] = {
        {"horizontal run", {kHorizontalRun}, true, {{90, 90, -50, -50}}},
        // Its votes wrap into the last θ row at the mirrored ρ: a weaker line.
        {"vertical run", {{200, 100, 1, 40}}, true, {{0, 0, 40, 40}, {179.5, 179.5, -41, -39}}},
        {"L", {kLAcross, kLDown}, false, {{90, 90, -20, -20}, {0, 0.5, -32, -30}}},
        {"two-pixel band", {kBand}, true, {{90, 90, -19.5, -19}}},
    };
    for (const auto& figure : figures) {
        detect(*grayPicture(320, 240, figure.runs));
        ASSERT_FALSE(lines.empty()) << figure.figure;
        EXPECT_TRUE(!figure.strongestFirst || figure.expected[0].holds(lines[0])) << figure.figure;
        for (const LineRange& expected : figure.expected) {
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                    [&](const Line& line) { return expected.holds(line); }))
                << figure.figure << " at theta " << expected.thetaLow;
        }
    }
    EXPECT_EQ(lines.size(), 1u) << "both halves of the band make one line";
}

// The accumulator covers the picture's diagonal in half steps of ρ and θ, and
// is rebuilt when the size changes; nothing else carries over between calls.
TEST_F(Detection, AccumulatorFollowsThePictureSizeAndSamePicturesGiveSameLines) {
    const std::vector<QRect> figure = {kLAcross, kLDown, {20, 200, 281, 2}};
    const LineList first = detect(*grayPicture(320, 240, figure));
    EXPECT_EQ(detector.accumulator().rhoSize, 802u);
    EXPECT_EQ(detector.accumulator().thetaSize, 360u);
    EXPECT_TRUE(detect(*grayPicture(160, 120)).empty());
    EXPECT_EQ(detector.accumulator().rhoSize, 402u);
    const LineList second = detect(*grayPicture(320, 240, figure));
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
        const Kernel kernel{nullptr, 0, 0, k.sigma2Rho, k.cov, k.cov, k.sigma2Theta, 0, 0, 0};
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
