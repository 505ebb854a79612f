#pragma once

#include "analysis/ArmLineRefiner.h"
#include "analysis/ArmLineSearch.h"
#include "analysis/LineEstimator.h"
#include "analysis/OneEuroFilter.h"

#include <optional>

// The estimator to fly with. It takes only the strongest plausible line of
// each detection, refines it on the current frame to the arm's centre line,
// follows that arm from frame to frame while it moves too little to open the
// motion gate, searches the whole picture for arms too faint for the
// detector, and smooths angle and height with adaptive filters, so a held
// pose is steady and a quick move is followed within a few frames. When no
// line has been found for as long as the classic estimator waits, it eases
// back to level.
class PreciseEstimator : public LineEstimator {
public:
    bool update(const FrameEvidence& frame, int32_t rollResponse, int32_t pitchResponse) override;
    double smoothedAngle() const override { return angle; }
    double smoothedOffset() const override { return offset; }
    bool showsLineAfter(bool) const override { return hasEstimate; }
    TrackingState trackingState() const override;

private:
    // The best-supported arm found so far on a frame, and whether it was
    // taken as new arms rather than followed.
    struct Choice {
        std::optional<ArmFit> best;
        bool takenAfresh = false;
        void consider(const std::optional<ArmFit>& fit, bool asNewArms);
    };

    std::optional<ArmLine> measure(const FrameEvidence& frame);
    void followTracked(const I::Image& grey, Choice& choice);
    void searchIfDue(const I::Image& grey, bool stillFollowed, Choice& choice);
    std::optional<ArmFit> refineGuess(const I::Image& grey, const ArmLine& edge);
    bool isPlausible(double theta) const;
    std::optional<ArmFit> movedAgain(const ArmFit& faint, int frameHeight);
    void countFramesHeld(const std::optional<ArmFit>& followed, int frameHeight);
    void keep(const Choice& measured, int frameHeight);
    bool waitsAsRival(const ArmFit& fit, const ArmFit& followed, int frameHeight,
                      std::optional<ArmLine>& rival) const;
    bool searchIsDue() const;
    static bool liesAlong(const ArmLine& line, const ArmLine& arm, int frameHeight);
    static bool atArmHeight(const ArmLine& line, const ArmLine& arm, int frameHeight);
    void follow(const ArmLine& measured, int frameHeight);
    void easeTowardLevel(int32_t rollResponse, int32_t pitchResponse, int frameHeight);
    void tune(int32_t rollResponse, int32_t pitchResponse);

    ArmLineRefiner refiner;
    ArmLineSearch search;
    OneEuroFilter angleFilter;
    OneEuroFilter heightFilter; // the offset as a percentage of the frame's height
    // The arm as last measured, kept through a few frames without it; it is
    // followed from there.
    std::optional<ArmFit> tracked;
    double angle = 90.0;
    double offset = 0.0;
    bool hasEstimate = false;
    int32_t misses = 0;
    int framesSinceMeasurement = 1;
    // Frames since the motion gate last opened: how lately anything moved.
    int32_t framesSinceMovement = 0;
    // Where a faint line of moved edges last lay along an arm's edges, for a
    // few frames, and how many frames ago.
    std::optional<ArmLine> lastFaintMove;
    int32_t framesSinceFaintMove = 0;
    // The line the arms followed came to rest on and for how many frames
    // they have stayed along it, and the line a few degrees off them that
    // had more support on the last frame, if any.
    std::optional<ArmLine> heldLine;
    int32_t framesHeld = 0;
    std::optional<ArmLine> lastRival;
    // Frames the arms have been followed since they were last taken afresh,
    // counted up to those searched after taking them.
    int32_t framesSinceTaken = 0;
};
