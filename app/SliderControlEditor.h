#pragma once

#include "app/CameraControlEditor.h"

class QSlider;
class QSpinBox;

// An integer control: a slider to drag and, beside it, the value as a
// number to type, each following the other.
class SliderControlEditor : public CameraControlEditor {
    Q_OBJECT

public:
    SliderControlEditor(const platform::CameraControl& control, QWidget* parent);

protected:
    void showValue(const platform::CameraControl& state, bool known) override;
    void setReadOnly(bool readOnly) override;

private:
    QSlider* slider;
    QSpinBox* field;
};
