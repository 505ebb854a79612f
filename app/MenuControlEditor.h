#pragma once

#include "app/CameraControlEditor.h"

class QComboBox;

// A menu or an integer menu, such as the power-line frequency: a list of the
// entries the camera names, each holding its index.
class MenuControlEditor : public CameraControlEditor {
    Q_OBJECT

public:
    MenuControlEditor(const platform::CameraControl& control, QWidget* parent);

protected:
    void showValue(const platform::CameraControl& state, bool known) override;
    void setReadOnly(bool readOnly) override;

private:
    QComboBox* list;
};
