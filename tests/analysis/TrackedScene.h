#pragma once

#include "ArmScene.h"
#include "analysis/EstimatorKind.h"
#include "analysis/VideoProcessor.h"

#include <memory>
#include <vector>

// How far reported lines lie from the arm's centre line.
struct LineErrors {
    void add(ArmsPose reported, ArmsPose truth);

    double worstAngle = 0;  // degrees
    double worstOffset = 0; // pixels of the frame
    double angleSum = 0;
    double offsetSum = 0;
    int frames = 0;
};

// The line of the arms that an emitted roll and pitch stand for in a frame of
// this size: the inverse of the emitted scales.
ArmsPose poseOf(float roll, float pitch, int width, int height);

// One estimator at work on an ArmScene at the window's default responses. The
// line it reports is read back from the roll and pitch it emits, as any user
// of the attitude sees it. Each measure starts afresh from level.
class TrackedScene {
public:
    struct Frame {
        ArmsPose truth;      // the arm's centre line
        ArmsPose reported;   // the last line emitted after the frame
        TrackingState state; // as the estimator had it after the frame
    };

    TrackedScene(int width, int height, EstimatorKind kind, quint32 seed = 1,
                 ArmScene::Room room = {});

    // Starts a new processor, from level, on a new scene.
    void restart();

    // Shows frameCount frames of the person holding pose.
    std::vector<Frame> hold(ArmsPose pose, int frameCount,
                            ArmScene::Person person = ArmScene::Person::Bobbing);

    // Adds to errors those from the line of pose over measuredFrames frames
    // that follow settleFrames frames of it.
    void addHeldPoseErrors(LineErrors& errors, ArmsPose pose, int settleFrames, int measuredFrames);

    // Frames after a step between two tilts of arms through the picture's
    // centre until 90 % of the step shows; kStepGiveUp + 1 when it never does.
    int framesToStep(double fromTiltDegrees, double toTiltDegrees, int settleFrames);
    static constexpr int kStepGiveUp = 120;

    // Standard deviation, in degrees, of the reported angle over measuredFrames
    // frames that follow settleFrames frames of pose.
    double jitterDegrees(ArmsPose pose, int settleFrames, int measuredFrames);

    // The offset of arms the given share of the picture's height below its centre.
    double offsetFor(double shareOfHeight) const { return shareOfHeight * height; }

private:
    int width, height;
    EstimatorKind kind;
    quint32 seed;
    ArmScene::Room room;
    std::unique_ptr<ArmScene> scene;
    std::unique_ptr<VideoProcessor> processor;
    ArmsPose reported{90, 0};
};
