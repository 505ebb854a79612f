#pragma once

#include "app/CameraControlEditor.h"

class QCheckBox;

// A boolean control, such as an automatic mode: a check box.
class CheckBoxControlEditor : public CameraControlEditor {
    Q_OBJECT

public:
    CheckBoxControlEditor(const platform::CameraControl& control, QWidget* parent);

protected:
    void showValue(const platform::CameraControl& state, bool known) override;
    void setReadOnly(bool readOnly) override;

private:
    QCheckBox* box;
};
