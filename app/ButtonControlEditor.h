#pragma once

#include "app/CameraControlEditor.h"

class QPushButton;

// A button control, an action the camera takes when it is pressed.
class ButtonControlEditor : public CameraControlEditor {
    Q_OBJECT

public:
    ButtonControlEditor(const platform::CameraControl& control, QWidget* parent);

protected:
    void showValue(const platform::CameraControl& state, bool known) override;
    void setReadOnly(bool readOnly) override;

private:
    QPushButton* button;
};
