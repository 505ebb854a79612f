#pragma once

#include "analysis/TrackingState.h"
#include "app/CalibrationSequence.h"
#include "output/Calibration.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QLabel;
class QPushButton;

// Leads the user through the calibration steps beside the camera picture
// with its estimated line. While open it takes the analysis' picture over
// from the main window. Finish closes it accepted once every step is done;
// what it measured is then read from measured().
class CalibrationDialog : public QDialog {
    Q_OBJECT

public:
    using Clock = std::function<qint64()>;

    explicit CalibrationDialog(QWidget* parent = nullptr);
    ~CalibrationDialog() override;

    // The zeros and limits measured; inversion is not among them.
    const Calibration& measured() const { return sequence.result(); }

    // For tests: milliseconds on a clock of their own instead of the
    // monotonic one. The steps start again from its present time.
    void setClock(Clock clock);

public slots:
    void done(int result) override;

private slots:
    void takeEstimate(float _roll, float _pitch);
    void followTracking(TrackingState state);
    void tick();

private:
    void showProgress();
    QString progressText() const;
    QString finishText() const;
    void giveBackPicture();

    Clock clock;
    CalibrationSequence sequence;
    // Estimates count only while they rest on the arms: one easing back to
    // level after the arms were lost measures nothing of the user.
    bool armsTracked = false;
    QLabel* picture;
    QLabel* instruction;
    QLabel* problem;
    QLabel* progress;
    QPushButton* finish;
    // Where the analysis drew before; cleared if that label goes first.
    QPointer<QLabel> previousPicture;
};
