#pragma once

#include <QLabel>

class QSlider;

// The number beside a slider: its value, and during a drag the position
// under the pointer, which a slider that reports only on release has not yet
// taken as its value.
class SliderValueLabel : public QLabel {
    Q_OBJECT

public:
    SliderValueLabel(const QSlider& slider, QWidget* parent);

    // Catches up with a move made while the slider's signals were blocked.
    void showValue();

private:
    const QSlider& slider;
};
