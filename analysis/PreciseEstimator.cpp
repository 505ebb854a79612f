#include "analysis/PreciseEstimator.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLevelAngle = 90.0;
// The same plausibility and patience as the classic estimator: lines within
// 60 degrees of level and less than 45 degrees from the estimate; lost after
// more than 45 frames without one.
constexpr double kSteepestAngle = 30.0;
constexpr double kFlattestAngle = 150.0;
constexpr double kLargestJump = 45.0;
constexpr int32_t kMissesBeforeLost = 45;
constexpr double kResponseDenominator = 200.0;
// Refining costs a pass over a band of the picture, so only the first few
// plausible lines of a detection are tried while looking for the arms, the
// arm nearly always being the first or the second; while they are followed,
// only the strongest line elsewhere, which is where a quick move shows.
constexpr int kGuessesTriedWhileLooking = 4;
constexpr int kGuessesTriedWhileFollowing = 1;
// A line that does not continue the one followed must be supported by this
// share of the strips: arms across the picture reach half or more, while
// the short pairs of edges that shelves and frames offer, which the arms
// uncover as they leave, fall short. That is for level arms: tilted ones
// reach across fewer strips, in proportion to the cosine of their tilt.
constexpr double kSupportOfNewArms = 0.4;
// A fainter line is taken for new arms when it shows twice, along one line,
// among the detector's lines of moved edges within this many frames and is
// confirmed each time by the arm's edges. Arms beside a door or across a
// picture's frame show on too few strips for the share above, yet held arms
// waver and so move on and on; a shelf or a frame's bar that the arms uncover
// as they leave moves once.
constexpr int32_t kFramesBetweenFaintMoves = 8;
// Searching the whole picture costs about as much as the rest of a frame's
// analysis. It is done on every frame while the arms have only just been
// lost, or were not yet found, so a quick move is followed at once. Once they
// have been gone a while, it is done on every third frame while something
// moves in the picture, as a person coming in does, which finds their arms
// within a few frames; in a still, empty room only about once a second, for
// arms that came in too faint to move anything. The search costs about the
// same at every size, so searching a still room more often would make the
// smallest pictures' analysis markedly dearer than the classic estimator's
// while there is nothing to find.
constexpr int32_t kFramesSearchedEagerly = 15;
constexpr int32_t kFramesBetweenSearches = 3;
constexpr int32_t kFramesMovementCounts = 30;
constexpr int32_t kFramesBetweenStillSearches = 30;
// Arms taken afresh at a quick move may be a line along only part of them
// and the furniture beside them, as where one arm lies along a picture
// frame's bar. In a noisy picture the detector's lines are mostly the
// noise's, and it seldom offers the arms' own line while that one is
// followed; so there the whole picture is searched too for a few frames
// after arms were taken afresh away from those followed, and better arms
// found there take over at once.
constexpr int32_t kFramesSearchedAfterTaking = 5;
// A guess of the search lies on one of an arm's two edges, and whether the
// arm wins enough strips of the band refined about it depends on which of
// the room's other edges share that band. In a noisy picture a tilted arm,
// which reaches across fewer strips than a level one and has few to spare,
// is found on some frames only with the band moved: while arms are looked
// for afresh, a tilted guess that does not refine is refined again from
// half an arm's thickness either side of it, whose bands still reach across
// the arm, and the better fit is kept. Level guesses are not tried again:
// in a room they are mostly its furniture's bars and shelves, and trying
// those again would only add to the cost of searching an empty room. Nor
// are guesses while the arm is still followed through a few frames without
// it: a band moved off a guess along its edge can settle on a line beside
// it. An arm at arm's length is about 7.5 % of the picture's height thick.
constexpr double kLeastTiltTriedAgain = 10.0;
constexpr double kHalfArmShare = 0.0375;
// A few frames without the arms happen while someone walks behind them or a
// hand passes before them; for that long the arm is still looked for where
// it was last measured, as a faint arm partly hidden is not always found
// afresh.
constexpr int32_t kMissesFollowedThrough = 5;
// Lines this close to the arm, in angle and in height, lie along its edges.
constexpr double kSameArmDegrees = 3.0;
constexpr double kSameArmHeightShare = 0.08;
// A line a few degrees off the arm followed crosses it and shares some of
// its strips; where a picture's frame lies along the rest of it, it can now
// and then have a little more support than the arm itself in a small, noisy
// picture. Against arms held still for a while, such a line takes over only
// when it wins on two frames running. Against arms that turn, or were only
// just taken, a better line takes over at once, as does one further off, as
// a quick move shows: turning arms are followed without delay, and arms
// taken wrongly at a quick move are found again at once.
constexpr double kRivalDegrees = 8.0;
constexpr int32_t kFramesHeldStill = 10;

// Frames carry no time stamps, so time is counted in frames of a nominal
// 30 frames per second: the filters behave the same, frame for frame, at
// every rate.
constexpr double kSecondsPerFrame = 1.0 / 30;

// The response sliders' default, 50, reaches the estimator as 12. At that
// value a still pose is filtered with a 1 Hz cutoff, and the cutoff rises by
// 0.05 Hz for every degree per second of roll (0.15 Hz for every percent of
// the height per second of pitch); both scale in proportion to the response,
// so 0 holds the estimate still and 24, the slider's top, doubles them.
constexpr double kDefaultResponse = 12.0;
constexpr double kMinCutoffHzAtDefault = 1.0;
constexpr double kRollBetaAtDefault = 0.05;
constexpr double kPitchBetaAtDefault = 0.15;
constexpr double kDerivativeCutoffHz = 1.0;

constexpr double kPercent = 100.0;

double supportOfNewArms(const ArmLine& line) {
    return kSupportOfNewArms * std::cos((line.angleDegrees - kLevelAngle) * kPi / 180);
}

OneEuroFilter::Parameters filterFor(int32_t response, double betaAtDefault) {
    const double scale = std::max(0, response) / kDefaultResponse;
    return {kMinCutoffHzAtDefault * scale, betaAtDefault * scale, kDerivativeCutoffHz};
}

} // namespace

bool PreciseEstimator::update(const FrameEvidence& frame, int32_t rollResponse,
                              int32_t pitchResponse) {
    tune(rollResponse, pitchResponse);
    framesSinceMovement =
        frame.detectorRan ? 0 : std::min(framesSinceMovement + 1, kFramesMovementCounts);
    if (lastFaintMove && ++framesSinceFaintMove > kFramesBetweenFaintMoves) {
        lastFaintMove.reset();
    }
    const std::optional<ArmLine> measured = measure(frame);
    if (measured) {
        misses = 0;
        follow(*measured, frame.grey.height);
        return true;
    }
    ++misses;
    ++framesSinceMeasurement;
    if (misses > kMissesBeforeLost && hasEstimate) {
        easeTowardLevel(rollResponse, pitchResponse, frame.grey.height);
        return true;
    }
    return false;
}

TrackingState PreciseEstimator::trackingState() const {
    return trackingStateAfter(hasEstimate, misses, kMissesBeforeLost);
}

void PreciseEstimator::tune(int32_t rollResponse, int32_t pitchResponse) {
    angleFilter.setParameters(filterFor(rollResponse, kRollBetaAtDefault));
    heightFilter.setParameters(filterFor(pitchResponse, kPitchBetaAtDefault));
}

// The arm followed so far is looked for in its own band of this frame, and
// refined from its line when it has moved further; when the detector ran, the
// first few plausible lines it found are refined too. The one that the most
// strips support wins, so a short edge elsewhere cannot take over from the
// arms, and a quick move is picked up from the detection at once; a line
// just a few degrees off arms held still must win twice. Following
// the arm on every frame holds a still pose and follows moves too slow to
// open the gate. When none of this finds the arms, the whole picture is
// searched for faint ones, which the detector misses, and a faint line the
// detector found twice is taken; in a noisy picture it is searched too for
// a few frames after arms were taken afresh away from those followed.
// Nothing is found when the arms have left the picture.
std::optional<ArmLine> PreciseEstimator::measure(const FrameEvidence& frame) {
    Choice choice;
    std::optional<ArmFit> faintMove;
    std::optional<ArmLine> rival;
    followTracked(frame.grey, choice);
    const bool stillFollowed = choice.best.has_value();
    const int guesses = stillFollowed ? kGuessesTriedWhileFollowing : kGuessesTriedWhileLooking;
    int tried = 0;
    for (std::size_t i = 0; frame.detectorRan && i < frame.candidates.size() && tried < guesses;
         ++i) {
        const Line& line = frame.candidates[i];
        if (!isPlausible(line.theta)) {
            continue;
        }
        // ρ / sin θ is the line's height below the centre at the centre column.
        const ArmLine guess{line.theta, line.rho / std::sin(line.theta * kPi / 180)};
        if (stillFollowed && liesAlong(guess, choice.best->line, frame.grey.height)) {
            continue;
        }
        ++tried;
        const std::optional<ArmFit> fit = refiner.refine(frame.grey, guess);
        if (stillFollowed && fit && waitsAsRival(*fit, *choice.best, frame.grey.height, rival)) {
            continue;
        }
        choice.consider(fit, true);
        if (fit && liesAlong(fit->line, guess, frame.grey.height) &&
            (!faintMove || fit->support > faintMove->support)) {
            faintMove = fit;
        }
    }
    searchIfDue(frame.grey, stillFollowed, choice);
    if (!choice.best && faintMove) {
        choice = {movedAgain(*faintMove, frame.grey.height), true};
    }
    lastRival = rival;
    countFramesHeld(stillFollowed ? choice.best : std::nullopt, frame.grey.height);
    keep(choice, frame.grey.height);
    return choice.best ? std::optional<ArmLine>(choice.best->line) : std::nullopt;
}

// New arms need the support their tilt allows, and any fit more support
// than the best so far.
void PreciseEstimator::Choice::consider(const std::optional<ArmFit>& fit, bool asNewArms) {
    if (fit && (!asNewArms || fit->support >= supportOfNewArms(fit->line)) &&
        (!best || fit->support > best->support)) {
        best = fit;
        takenAfresh = asNewArms;
    }
}

// The arm followed, looked for in its own band, or refined from its line
// when it has moved further. Refined afresh, a wider band may hold a line
// beside the arm rather than the arm moved: one that has left the arm's
// height at the picture's centre must have the support of new arms. Arms
// turn about the shoulders, so a new angle alone does not tell.
void PreciseEstimator::followTracked(const I::Image& grey, Choice& choice) {
    if (!tracked) {
        return;
    }
    choice.consider(refiner.follow(grey, *tracked), false);
    if (choice.best) {
        return;
    }
    const std::optional<ArmFit> moved = refiner.refine(grey, tracked->line);
    choice.consider(moved, moved && !atArmHeight(moved->line, tracked->line, grey.height));
}

// Searches the whole picture for arms when none were found, or, in a noisy
// picture, when those followed were taken only a few frames ago.
void PreciseEstimator::searchIfDue(const I::Image& grey, bool stillFollowed, Choice& choice) {
    const bool justTaken = stillFollowed && framesSinceTaken < kFramesSearchedAfterTaking &&
                           refiner.lastPictureWasNoisy();
    if ((choice.best && !justTaken) || !searchIsDue()) {
        return;
    }
    for (const ArmLine& guess : search.search(grey)) {
        if (isPlausible(guess.angleDegrees) &&
            !(justTaken && liesAlong(guess, choice.best->line, grey.height))) {
            choice.consider(refineGuess(grey, guess), true);
        }
    }
}

// The arm one of the search's guesses lies along, refined from the guess
// and, for a tilted guess in a noisy picture that does not refine while no
// arm is followed, from half an arm either side of it.
std::optional<ArmFit> PreciseEstimator::refineGuess(const I::Image& grey, const ArmLine& edge) {
    std::optional<ArmFit> fit = refiner.refine(grey, edge);
    if (fit || tracked || !refiner.lastPictureWasNoisy() ||
        std::fabs(edge.angleDegrees - kLevelAngle) < kLeastTiltTriedAgain) {
        return fit;
    }
    for (const double side : {-1.0, 1.0}) {
        const ArmLine beside{edge.angleDegrees, edge.offset + side * kHalfArmShare * grey.height};
        const std::optional<ArmFit> across = refiner.refine(grey, beside);
        if (across && (!fit || across->support > fit->support)) {
            fit = across;
        }
    }
    return fit;
}

// Keeps the arm measured to follow on the next frame, through a few frames
// without one, and counts the frames since arms were taken afresh somewhere
// other than along those followed.
void PreciseEstimator::keep(const Choice& measured, int frameHeight) {
    if (measured.best) {
        const bool jumped =
            measured.takenAfresh &&
            !(tracked && liesAlong(measured.best->line, tracked->line, frameHeight));
        framesSinceTaken = jumped ? 0 : std::min(framesSinceTaken + 1, kFramesSearchedAfterTaking);
    }
    if (measured.best || misses + 1 >= kMissesFollowedThrough) {
        tracked = measured.best;
    }
}

std::optional<ArmFit> PreciseEstimator::movedAgain(const ArmFit& faint, int frameHeight) {
    const bool again = lastFaintMove && liesAlong(faint.line, *lastFaintMove, frameHeight);
    lastFaintMove = faint.line;
    framesSinceFaintMove = 0;
    return again ? std::optional<ArmFit>(faint) : std::nullopt;
}

// Counts the frames the arms followed stay along the line where they came
// to rest, up to the count that makes them held still, so that arms held for
// hours cannot overflow it.
void PreciseEstimator::countFramesHeld(const std::optional<ArmFit>& followed, int frameHeight) {
    if (followed && heldLine && liesAlong(followed->line, *heldLine, frameHeight)) {
        framesHeld = std::min(framesHeld + 1, kFramesHeldStill);
        return;
    }
    heldLine = followed ? std::optional<ArmLine>(followed->line) : std::nullopt;
    framesHeld = 0;
}

// Whether fit, not along the arms held still but a few degrees off
// them, must wait before it takes over from them: it is noted as this
// frame's rival, and waits unless it was the last frame's too.
bool PreciseEstimator::waitsAsRival(const ArmFit& fit, const ArmFit& followed, int frameHeight,
                                    std::optional<ArmLine>& rival) const {
    const bool rivals =
        framesHeld >= kFramesHeldStill && fit.support >= supportOfNewArms(fit.line) &&
        fit.support > followed.support &&
        std::fabs(fit.line.angleDegrees - followed.line.angleDegrees) < kRivalDegrees &&
        !liesAlong(fit.line, followed.line, frameHeight);
    if (!rivals) {
        return false;
    }
    rival = fit.line;
    return !(lastRival && liesAlong(fit.line, *lastRival, frameHeight));
}

bool PreciseEstimator::searchIsDue() const {
    if (misses < kFramesSearchedEagerly) {
        return true;
    }
    const bool somethingMoves = framesSinceMovement < kFramesMovementCounts;
    return misses % (somethingMoves ? kFramesBetweenSearches : kFramesBetweenStillSearches) == 0;
}

// Whether line lies on one of the arm's edges or on its centre line: a guess
// there would only find that arm again, and a fit there confirms the guess.
bool PreciseEstimator::liesAlong(const ArmLine& line, const ArmLine& arm, int frameHeight) {
    return std::fabs(line.angleDegrees - arm.angleDegrees) < kSameArmDegrees &&
           atArmHeight(line, arm, frameHeight);
}

// Whether line crosses the picture's centre column at the arm's height, as
// lines along either of its edges do.
bool PreciseEstimator::atArmHeight(const ArmLine& line, const ArmLine& arm, int frameHeight) {
    return std::fabs(line.offset - arm.offset) < kSameArmHeightShare * frameHeight;
}

bool PreciseEstimator::isPlausible(double theta) const {
    return std::fabs(angle - theta) < kLargestJump && theta > kSteepestAngle &&
           theta < kFlattestAngle;
}

void PreciseEstimator::follow(const ArmLine& measured, int frameHeight) {
    const double elapsed = framesSinceMeasurement * kSecondsPerFrame;
    angle = angleFilter.filter(measured.angleDegrees, elapsed);
    offset = heightFilter.filter(kPercent * measured.offset / frameHeight, elapsed) * frameHeight /
             kPercent;
    hasEstimate = true;
    framesSinceMeasurement = 1;
}

// At the classic estimator's rate, so losing the arms looks the same in both
// modes; the filters restart from each eased value, so finding the arms again
// continues from there without a jump.
void PreciseEstimator::easeTowardLevel(int32_t rollResponse, int32_t pitchResponse,
                                       int frameHeight) {
    angle += (kLevelAngle - angle) * rollResponse / kResponseDenominator;
    offset -= offset * pitchResponse / kResponseDenominator;
    angleFilter.reset(angle);
    heightFilter.reset(kPercent * offset / frameHeight);
    framesSinceMeasurement = 1;
}
