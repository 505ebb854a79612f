#pragma once

#include "analysis/EstimatorKind.h"
#include "analysis/Line.h"
#include "analysis/LineEstimator.h"
#include "analysis/TrackingState.h"
#include "capture/Image.h"

#include <QObject>

#include <cstdint>
#include <memory>

class QImage;

// Turns each captured frame into an attitude. It looks for lines only where
// enough of the picture has moved since the last detection, weighs the
// candidates into a smoothed line angle and height, emits them as roll and
// pitch, and shows the mirrored camera picture in the settings dock when a
// label to show it in exists: with the estimated line while the arms are
// tracked, and a word on why not otherwise.
class VideoProcessor : public QObject {
    Q_OBJECT

public:
    explicit VideoProcessor(QObject* parent = nullptr);
    ~VideoProcessor() override;

    // Weight, out of 200, of each new measurement in the smoothing of pitch and
    // roll; read afresh on every frame.
    int32_t pitchResponse = 10, rollResponse = 10;

    // Starts the chosen estimator afresh, from level; the picture memory and
    // the detector's lines stay.
    void setEstimator(EstimatorKind kind);
    EstimatorKind estimatorKind() const { return kind; }

    // For tools that watch the estimator at work.
    bool detectorRanInLastFrame() const { return detectorRan; }
    const LineList& candidates() const { return candidateLines; }
    const LineEstimator& estimator() const { return *lineEstimator; }
    TrackingState trackingState() const { return lineEstimator->trackingState(); }

public slots:
    // Takes ownership of _img, an Rgb32 frame as the capture thread delivers
    // it, and frees it before returning.
    void processFrame(I::Image* _img);

signals:
    void dataUpdate(float _roll, float _pitch);
    // After every frame the estimator took, whether or not it moved the
    // estimate.
    void trackingUpdate(TrackingState state);
    // After every frame, with the time its processing took.
    void frameAnalysed(qint64 nanoseconds);
    // After the dataUpdate of a frame whose capture time is known: how long
    // ago, in nanoseconds, the frame was captured. The outputs take
    // dataUpdate directly, in this thread, so by then they have sent it: this
    // is the frame's delay from camera to output.
    void outputDelay(qint64 nanoseconds);

private:
    void analyse(std::unique_ptr<I::Image> frame);
    void forgetReferenceUnlessShapeOf(const I::Image& frame);
    void reportOutputDelay(const I::Image& frame);
    void show(const I::Image& frame, const I::Image& grey, bool updated) const;
    static QImage mirroredPicture(const I::Image& frame, const I::Image& grey);

    // Edges of the last frame that passed the motion gate; change is measured
    // against it, so slow motion adds up until it passes the gate.
    std::unique_ptr<I::Image> referenceEdges;
    LineList candidateLines;
    EstimatorKind kind = EstimatorKind::Precise;
    std::unique_ptr<LineEstimator> lineEstimator;
    bool detectorRan = false;
};
