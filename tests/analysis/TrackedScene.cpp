#include "TrackedScene.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Slider 50 of the window's response sliders.
constexpr int32_t kDefaultResponse = 12;
constexpr double kLevelAngle = 90;
constexpr double kStepShare = 0.9;

} // namespace

void LineErrors::add(ArmsPose reported, ArmsPose truth) {
    const double angleError = std::fabs(reported.angleDegrees - truth.angleDegrees);
    const double offsetError = std::fabs(reported.offset - truth.offset);
    angleSum += angleError;
    offsetSum += offsetError;
    worstAngle = std::max(worstAngle, angleError);
    worstOffset = std::max(worstOffset, offsetError);
    ++frames;
}

// Roll moves 255 / (width div 2) per degree about 127.5, pitch 127.5 per
// picture height.
ArmsPose poseOf(float roll, float pitch, int width, int height) {
    return {kLevelAngle + (roll - 127.5) * (width / 2) / 255, pitch * height / 127.5};
}

TrackedScene::TrackedScene(int width, int height, EstimatorKind kind, quint32 seed,
                           ArmScene::Room room)
    : width(width)
    , height(height)
    , kind(kind)
    , seed(seed)
    , room(room) {
    restart();
}

void TrackedScene::restart() {
    scene = std::make_unique<ArmScene>(width, height, seed, room);
    processor = std::make_unique<VideoProcessor>();
    processor->setEstimator(kind);
    processor->rollResponse = kDefaultResponse;
    processor->pitchResponse = kDefaultResponse;
    reported = {kLevelAngle, 0};
    QObject::connect(processor.get(), &VideoProcessor::dataUpdate, [this](float roll, float pitch) {
        reported = poseOf(roll, pitch, width, height);
    });
}

std::vector<TrackedScene::Frame> TrackedScene::hold(ArmsPose pose, int frameCount,
                                                    ArmScene::Person person) {
    std::vector<Frame> frames;
    for (int frame = 0; frame < frameCount; ++frame) {
        ArmScene::Frame shown = scene->next(pose, person);
        processor->processFrame(shown.image.release());
        frames.push_back({shown.arms, reported, processor->trackingState()});
    }
    return frames;
}

// The arm wavers about the pose only to keep the motion gate open, and a
// steady estimate is wanted, so errors are taken from the pose's own line.
void TrackedScene::addHeldPoseErrors(LineErrors& errors, ArmsPose pose, int settleFrames,
                                     int measuredFrames) {
    restart();
    hold(pose, settleFrames);
    for (const Frame& frame : hold(pose, measuredFrames)) {
        errors.add(frame.reported, pose);
    }
}

int TrackedScene::framesToStep(double fromTiltDegrees, double toTiltDegrees, int settleFrames) {
    restart();
    hold({kLevelAngle + fromTiltDegrees, 0}, settleFrames);
    const double step = toTiltDegrees - fromTiltDegrees;
    int frames = 1;
    for (; frames <= kStepGiveUp; ++frames) {
        const ArmsPose reached = hold({kLevelAngle + toTiltDegrees, 0}, 1).front().reported;
        if ((reached.angleDegrees - kLevelAngle - fromTiltDegrees) / step >= kStepShare) {
            break;
        }
    }
    return frames;
}

double TrackedScene::jitterDegrees(ArmsPose pose, int settleFrames, int measuredFrames) {
    restart();
    hold(pose, settleFrames);
    std::vector<double> angles;
    for (const Frame& frame : hold(pose, measuredFrames)) {
        angles.push_back(frame.reported.angleDegrees);
    }
    const double mean = std::accumulate(angles.begin(), angles.end(), 0.0) / angles.size();
    double squares = 0;
    for (double angle : angles) {
        squares += std::pow(angle - mean, 2);
    }
    return std::sqrt(squares / angles.size());
}
