// Prints how closely both estimators follow the arms of generated scenes, at
// the three capture sizes. Run it from the build folder:
//
//     bench/analysis/tracking_accuracy [--seed N] [--contrast LIST] [--noise LIST]
//                                      [--striped] [--walker]
//
// It takes some fifteen seconds for each room. The scenes are deterministic,
// so two runs of one build print the same table; --help explains the columns.

#include "TrackedScene.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

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

const char kUsage[] = R"(Usage: tracking_accuracy [--seed N] [--contrast LIST] [--noise LIST]
                         [--striped] [--walker]

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
--contrast LIST  grey levels by which a light shirt is darker than the wall,
                 comma-separated; 0 stands for the usual dark blue shirt
                 (default 0)
--noise LIST     standard deviations of the sensor noise in grey levels,
                 comma-separated (default 3)
--striped        the shirt has stripes across the torso and rings round the
                 sleeves, 60 grey levels from the shirt's colour
--walker         someone smaller walks to and fro behind the person, arms at
                 their sides, 1 %% of the width per frame
Every contrast is measured at every noise level; the room columns show them,
"dark" for the dark blue shirt; a line above the table names the options.
)";

struct Size {
    int width, height;
};

struct Options {
    quint32 seed = 1;
    std::vector<int> contrasts{0};
    std::vector<double> noiseSigmas{3};
    bool stripedShirt = false;
    bool walkerBehind = false;
};

ArmScene::Room roomOf(int contrast, double noiseSigma, const Options& options) {
    return {contrast > 0 ? std::optional<int>(contrast) : std::nullopt, noiseSigma,
            options.stripedShirt, options.walkerBehind};
}

void printRow(EstimatorKind kind, Size size, quint32 seed, const ArmScene::Room& room) {
    TrackedScene tracked(size.width, size.height, kind, seed, room);
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
    const QString contrastText = room.contrast ? QString::number(*room.contrast) : "dark";
    std::printf("%8s %5.1f  %-9s %4dx%-4d %6.2f %6.2f   %6.2f %6.2f   %6s   %6.3f\n",
                qPrintable(contrastText), room.noiseSigma, qPrintable(estimatorKindName(kind)),
                size.width, size.height, errors.angleSum / errors.frames, errors.worstAngle,
                errors.offsetSum / errors.frames, errors.worstOffset, qPrintable(stepText), jitter);
    std::fflush(stdout);
}

template <typename Number> std::optional<std::vector<Number>> listOf(const char* text) {
    std::vector<Number> values;
    for (const QString& item : QString(text).split(',')) {
        bool valid = false;
        const double value = item.toDouble(&valid);
        if (!valid || value < 0) {
            return std::nullopt;
        }
        values.push_back(Number(value));
    }
    return values;
}

// False when the option or its value is not understood.
bool setOption(Options& options, const char* name, const char* value) {
    if (std::strcmp(name, "--seed") == 0) {
        options.seed = quint32(std::strtoul(value, nullptr, 10));
    } else if (std::strcmp(name, "--contrast") == 0 && listOf<int>(value)) {
        options.contrasts = *listOf<int>(value);
    } else if (std::strcmp(name, "--noise") == 0 && listOf<double>(value)) {
        options.noiseSigmas = *listOf<double>(value);
    } else {
        return false;
    }
    return true;
}

// Nothing when the arguments are not understood.
std::optional<Options> parsed(int argc, char** argv) {
    Options options;
    for (int argument = 1; argument < argc; ++argument) {
        const char* name = argv[argument];
        if (std::strcmp(name, "--striped") == 0) {
            options.stripedShirt = true;
        } else if (std::strcmp(name, "--walker") == 0) {
            options.walkerBehind = true;
        } else if (argument + 1 == argc || !setOption(options, name, argv[++argument])) {
            return std::nullopt;
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parsed(argc, argv);
    if (!options) {
        const bool asked = argc == 2 && std::strcmp(argv[1], "--help") == 0;
        std::fprintf(asked ? stdout : stderr, kUsage, kSettleFrames + 1,
                     kSettleFrames + kMeasuredFrames, kJitterFrames);
        return asked ? 0 : 2;
    }
    if (options->stripedShirt || options->walkerBehind) {
        std::printf("In every room: %s shirt, %s behind the person.\n\n",
                    options->stripedShirt ? "a striped" : "a plain",
                    options->walkerBehind ? "someone walking" : "nobody");
    }
    std::printf("    room (grey)                        angle error (deg)  offset error (px)"
                "   step   jitter\n"
                "contrast noise  estimator  size      mean  worst        mean  worst"
                "       frames  (deg)\n");
    for (int contrast : options->contrasts) {
        for (double noiseSigma : options->noiseSigmas) {
            for (EstimatorKind kind : {EstimatorKind::Precise, EstimatorKind::Classic}) {
                for (Size size : {Size{160, 120}, Size{320, 240}, Size{640, 480}}) {
                    printRow(kind, size, options->seed, roomOf(contrast, noiseSigma, *options));
                }
            }
        }
    }
    return 0;
}
