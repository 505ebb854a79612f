#include "app/SliderValueLabel.h"

#include <QSlider>

// Wide enough for the slider's largest number, so that the slider keeps its
// length as the number changes.
SliderValueLabel::SliderValueLabel(const QSlider& slider, QWidget* parent)
    : QLabel(parent)
    , slider(slider) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setMinimumWidth(fontMetrics().horizontalAdvance(QString::number(slider.maximum())));
    connect(&slider, &QSlider::valueChanged, this, qOverload<int>(&QLabel::setNum));
    connect(&slider, &QSlider::sliderMoved, this, qOverload<int>(&QLabel::setNum));
    showValue();
}

void SliderValueLabel::showValue() {
    setNum(slider.value());
}
