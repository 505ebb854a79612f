// Prints how closely both estimators follow the arms of generated scenes, at
// the three capture sizes. Run it from the build folder:
//
//     bench/analysis/tracking_accuracy [--seed N]
//
// It takes some fifteen seconds. The scenes are deterministic, so two runs of
// one build print the same table; --help explains the columns.

#include "TrackedScene.h"

#include <QString>

#include <cstdio>
#include <cstring>

namespace {

// Held poses: the grid of tilts and heights the arms are followed over, each
// held long enough for the slower classic estimator to settle.
constexpr double kTilts[] = {-35, -17.5, 0, 17.5, 35};
constexpr double kHeightShares[] = {-0.10, 0, 0.10};
constexpr int kSettleFrames = 90;
constexpr int kMeasuredFrames = 30;

// A 30-degree step between tilts either side of level.
constexpr double kStepFrom = -15;
constexpr double kStepTo = 15;

constexpr ArmsPose kJitterPose{100, 0};
constexpr int kJitterFrames = 60;

const char kUsage[] = R"(Usage: tracking_accuracy [--seed N]

Measures both estimators on generated scenes of a person with outstretched
arms before a textured wall, a picture frame and a door, with sensor noise and
the arms wavering a pixel up and down, at 160x120, 320x240 and 640x480, at the
window's default responses (12 of 200). Each measure starts from level.
Columns:
  angle, offset  mean and worst error of the reported line from the centre
                 line of the held arms in frames %d to %d of each pose (tilts
                 -35 to +35 degrees, heights -10 %% to +10 %% of the picture);
                 offsets in the frame's own pixels
  step           frames until 90 %% of a 30-degree step shows
  jitter         standard deviation of the reported tilt over %d frames of a
                 held pose
--seed N picks another wall texture and noise (default 1).
)";

struct Size {
    int width, height;
};

void printRow(EstimatorKind kind, Size size, quint32 seed) {
    TrackedScene tracked(size.width, size.height, kind, seed);
    LineErrors errors;
    for (double tilt : kTilts) {
        for (double share : kHeightShares) {
            tracked.addHeldPoseErrors(errors, {90 + tilt, tracked.offsetFor(share)}, kSettleFrames,
                                      kMeasuredFrames);
        }
    }
    const int step = tracked.framesToStep(kStepFrom, kStepTo, kSettleFrames);
    const double jitter = tracked.jitterDegrees(kJitterPose, kSettleFrames, kJitterFrames);
    const QString stepText = step > TrackedScene::kStepGiveUp
                                 ? QString(">%1").arg(TrackedScene::kStepGiveUp)
                                 : QString::number(step);
    std::printf("%-9s %4dx%-4d %6.2f %6.2f   %6.2f %6.2f   %6s   %6.3f\n",
                qPrintable(estimatorKindName(kind)), size.width, size.height,
                errors.angleSum / errors.frames, errors.worstAngle,
                errors.offsetSum / errors.frames, errors.worstOffset, qPrintable(stepText), jitter);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    quint32 seed = 1;
    for (int argument = 1; argument < argc; ++argument) {
        if (std::strcmp(argv[argument], "--seed") == 0 && argument + 1 < argc) {
            seed = quint32(std::strtoul(argv[++argument], nullptr, 10));
        } else {
            const bool asked = std::strcmp(argv[argument], "--help") == 0;
            std::fprintf(asked ? stdout : stderr, kUsage, kSettleFrames + 1,
                         kSettleFrames + kMeasuredFrames, kJitterFrames);
            return asked ? 0 : 2;
        }
    }
    std::printf("                    angle error (deg)  offset error (px)   step   jitter\n"
                "estimator  size      mean  worst        mean  worst       frames  (deg)\n");
    for (EstimatorKind kind : {EstimatorKind::Precise, EstimatorKind::Classic}) {
        for (Size size : {Size{160, 120}, Size{320, 240}, Size{640, 480}}) {
            printRow(kind, size, seed);
        }
    }
    return 0;
}
