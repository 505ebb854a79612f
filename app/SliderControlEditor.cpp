#include "app/SliderControlEditor.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>

using namespace platform;

namespace {
// Page Up and Page Down move the slider a tenth of its range.
constexpr int kPagesPerRange = 10;
} // namespace

// The slider hands each step of a drag to the number field, which reports
// it, so the camera follows the drag on the live picture. Typing reports
// only when the number is complete, not at each digit.
SliderControlEditor::SliderControlEditor(const CameraControl& control, QWidget* parent)
    : CameraControlEditor(control, parent)
    , slider(new QSlider(Qt::Horizontal, this))
    , field(new QSpinBox(this)) {
    const int minimum = int(control.minimum);
    const int maximum = int(control.maximum);
    const int step = int(std::max<int64_t>(control.step, 1));
    slider->setRange(minimum, maximum);
    slider->setSingleStep(step);
    slider->setPageStep(std::max(step, int((int64_t(maximum) - minimum) / kPagesPerRange)));
    field->setRange(minimum, maximum);
    field->setSingleStep(step);
    field->setKeyboardTracking(false);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider, 1);
    layout->addWidget(field);

    connect(slider, &QSlider::valueChanged, field, &QSpinBox::setValue);
    connect(field, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
        reportValue(value);
    });
}

// A write-only control has no value to show; the slider rests at the
// default and the number field stays empty until the user moves it.
void SliderControlEditor::showValue(const CameraControl& state, bool known) {
    const int value = int(known ? state.value : state.defaultValue);
    slider->setValue(value);
    field->setValue(value);
    if (!known)
        field->clear();
}

void SliderControlEditor::setReadOnly(bool readOnly) {
    slider->setEnabled(!readOnly);
    field->setReadOnly(readOnly);
    field->setButtonSymbols(readOnly ? QAbstractSpinBox::NoButtons
                                     : QAbstractSpinBox::UpDownArrows);
}
