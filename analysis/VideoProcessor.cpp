#include "analysis/VideoProcessor.h"

#include "analysis/ClassicEstimator.h"
#include "analysis/EstimateOverlay.h"
#include "analysis/FramePreparation.h"
#include "analysis/LineDetector.h"
#include "analysis/PreciseEstimator.h"
#include "app/ProcessObjects.h"
#include "capture/MonotonicClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kEdgeThreshold = 100;
// A new edge pixel needs at least four new neighbours (4 · 255 > 820 > 3 · 255).
constexpr int kChangeThreshold = 820;

// Changed pixels a frame needs before lines are looked for: 70 at 320 x 240,
// and the same density of change at larger sizes, since a person at the same
// distance changes the same share of the picture. Small frames keep a floor
// of 30, or sensor noise alone would open the gate.
constexpr double kReferenceGate = 70;
constexpr double kReferenceArea = 320 * 240;
constexpr int kSmallestGate = 30;

constexpr uint32_t kMinClusterPoints = 10;
constexpr double kMinDeviationPixels = 5.0;
constexpr double kBinWidth = 0.5;
constexpr double kKernelMinHeight = 0.002;
constexpr double kStandardDeviations = 2.0;

// Roll divides by half the width and pitch by the height, so narrower or
// flatter frames cannot place a line; they are dropped like empty frames.
constexpr int kSmallestUsableWidth = 2;
constexpr int kSmallestUsableHeight = 1;

bool passesMotionGate(int changedPixelCount, int frameWidth, int frameHeight) {
    const double area = double(frameWidth) * frameHeight;
    const int gate =
        std::max(kSmallestGate, int(std::lround(kReferenceGate * area / kReferenceArea)));
    return changedPixelCount > gate;
}

QString noticeFor(TrackingState state) {
    return state == TrackingState::Lost
               ? QCoreApplication::translate("VideoProcessor", "Arms lost")
               : QCoreApplication::translate("VideoProcessor", "Searching for your arms\u2026");
}

std::unique_ptr<I::Image> blankReferenceFor(const I::Image& frame) {
    int32_t format = I::Image::Gray8;
    auto reference = std::make_unique<I::Image>(frame, format);
    reference->colorTable = &grayPalette;
    return reference;
}

// The one place that picks the estimator a kind stands for.
std::unique_ptr<LineEstimator> makeEstimator(EstimatorKind kind) {
    if (kind == EstimatorKind::Classic) {
        return std::make_unique<ClassicEstimator>();
    }
    return std::make_unique<PreciseEstimator>();
}

} // namespace

VideoProcessor::VideoProcessor(QObject* parent)
    : QObject(parent)
    , lineEstimator(makeEstimator(kind)) {}

void VideoProcessor::setEstimator(EstimatorKind newKind) {
    kind = newKind;
    lineEstimator = makeEstimator(kind);
}

VideoProcessor::~VideoProcessor() = default;

// Timed as a whole, showing included: that is what each frame costs the
// thread the frames arrive in.
void VideoProcessor::processFrame(I::Image* _img) {
    QElapsedTimer clock;
    clock.start();
    // The frame was handed over with the signal; it is freed on every path.
    analyse(std::unique_ptr<I::Image>(_img));
    emit frameAnalysed(clock.nsecsElapsed());
}

void VideoProcessor::analyse(const std::unique_ptr<I::Image> frame) {
    detectorRan = false;
    if (!frame) {
        return;
    }
    forgetReferenceUnlessShapeOf(*frame);
    if (frame->width < kSmallestUsableWidth || frame->height < kSmallestUsableHeight) {
        return;
    }

    const std::unique_ptr<I::Image> grey = grayMirrored(*frame);
    std::unique_ptr<I::Image> edges = sobelEdges(*grey, kEdgeThreshold);
    if (!referenceEdges) {
        // With an empty reference the next frame sees every edge as new and
        // normally passes the gate.
        referenceEdges = blankReferenceFor(*frame);
        return;
    }

    int changedPixelCount = 0;
    const std::unique_ptr<I::Image> change =
        newEdges(*edges, *referenceEdges, changedPixelCount, kChangeThreshold);
    if (passesMotionGate(changedPixelCount, frame->width, frame->height)) {
        detectLines(candidateLines, *change, kMinClusterPoints, kMinDeviationPixels, kBinWidth,
                    kKernelMinHeight, kStandardDeviations);
        referenceEdges = std::move(edges);
        detectorRan = true;
    }

    // Every frame, also one that left the detector idle, offers the estimator
    // the latest lines and its own picture.
    const bool updated =
        lineEstimator->update({candidateLines, *grey, detectorRan}, rollResponse, pitchResponse);
    if (updated) {
        emit dataUpdate(rollOf(lineEstimator->smoothedAngle(), frame->width),
                        pitchOf(lineEstimator->smoothedOffset(), frame->height));
        reportOutputDelay(*frame);
    }
    emit trackingUpdate(lineEstimator->trackingState());
    if (outputLabel) {
        show(*frame, *grey, updated);
    }
}

void VideoProcessor::reportOutputDelay(const I::Image& frame) {
    if (frame.captureTime != I::Image::kUnknownTime) {
        emit outputDelay(monotonic_clock::nowNanoseconds() - frame.captureTime);
    }
}

// A change of frame size restarts the picture memory: comparing edges of two
// sizes row by row would read past the smaller picture. The smoothed values
// stay.
void VideoProcessor::forgetReferenceUnlessShapeOf(const I::Image& frame) {
    if (referenceEdges &&
        (referenceEdges->width != frame.width || referenceEdges->height != frame.height)) {
        referenceEdges.reset();
    }
}

// On a dense screen each camera pixel becomes a block of the label's device
// pixels, here and not blurred by the label, and the line is drawn at that
// resolution.
void VideoProcessor::show(const I::Image& frame, const I::Image& grey, bool updated) const {
    QImage picture = mirroredPicture(frame, grey);
    const qreal ratio = outputLabel->devicePixelRatioF();
    if (ratio != 1.0) {
        picture =
            picture.scaled(picture.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    const TrackingState state = lineEstimator->trackingState();
    if (state != TrackingState::Tracking) {
        drawTrackingNotice(picture, noticeFor(state));
    } else if (lineEstimator->showsLineAfter(updated)) {
        drawEstimatedLine(picture, lineEstimator->smoothedAngle(), lineEstimator->smoothedOffset());
    }
    outputLabel->setPixmap(QPixmap::fromImage(picture));
}

// The camera picture as a mirror shows it, matching the coordinates of the
// analysis. A frame that is not Rgb32 is shown through its grey picture, which
// is mirrored already.
QImage VideoProcessor::mirroredPicture(const I::Image& frame, const I::Image& grey) {
    constexpr int kBytesPerRgb32Pixel = 4;
    if (frame.format == I::Image::Rgb32) {
        const QImage wrapped(frame.data, frame.width, frame.height,
                             frame.width * kBytesPerRgb32Pixel, QImage::Format_RGB32);
        return wrapped.mirrored(true, false);
    }
    QImage wrapped(grey.data, grey.width, grey.height, grey.width, QImage::Format_Indexed8);
    wrapped.setColorTable(grayPalette);
    return wrapped.convertToFormat(QImage::Format_RGB32);
}
