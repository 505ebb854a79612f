#pragma once

#include "capture/platform/CameraControls.h"

#include <QWidget>

// The field that edits one camera control in the controls dialog. It shows
// the value and flags the camera reports and turns what the user does into
// the value wanted, leaving it to the dialog to set it on the camera.
class CameraControlEditor : public QWidget {
    Q_OBJECT

public:
    // The editor that suits control's kind.
    static CameraControlEditor* create(const platform::CameraControl& control, QWidget* parent);

    // The control as last shown.
    const platform::CameraControl& control() const { return shown; }
    // Shows state's value and flags without reporting them as an edit: an
    // inactive control is greyed, a read-only one cannot be edited and a
    // write-only one shows no value, since it has none to read.
    void showState(const platform::CameraControl& state);

signals:
    // A copy of the control holding the value the user chose.
    void edited(const platform::CameraControl& wanted);
    // What the user entered is no value of the control; the editor goes
    // back to the value shown.
    void refused(const QString& why);

protected:
    CameraControlEditor(const platform::CameraControl& control, QWidget* parent);

    virtual void showValue(const platform::CameraControl& state, bool known) = 0;
    virtual void setReadOnly(bool readOnly) = 0;
    // Reports the control with value in place of its own.
    void reportValue(int64_t value);
    void reportWanted(const platform::CameraControl& wanted);

private:
    platform::CameraControl shown;
    // Set while a state is being shown, when the fields' own signals carry
    // no choice of the user's.
    bool showing = false;
};
