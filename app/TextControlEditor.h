#pragma once

#include "app/CameraControlEditor.h"

class QLineEdit;

// A control edited as text: a string, a bitmask in hexadecimal, or a 64-bit
// integer too wide for a slider.
class TextControlEditor : public CameraControlEditor {
    Q_OBJECT

public:
    TextControlEditor(const platform::CameraControl& control, QWidget* parent);

protected:
    void showValue(const platform::CameraControl& state, bool known) override;
    void setReadOnly(bool readOnly) override;

private:
    void commit();

    QLineEdit* field;
};
