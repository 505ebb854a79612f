#pragma once

#include "capture/platform/CameraControls.h"

#include <QObject>
#include <QPointer>

#include <memory>

class CameraControlsDialog;
class QComboBox;
class QPushButton;
class QWidget;

// The "System camera settings window" button: enabled while the camera
// chosen in the list has controls, running or not, it opens that camera's
// controls dialog, or raises it when it is already open. Whether there are
// controls is learnt as the choice changes; only the dialog keeps them open.
class CameraControlsLauncher : public QObject {
    Q_OBJECT

public:
    CameraControlsLauncher(QPushButton& button, QComboBox& cameraList, QWidget& window);

    // Sets the values remembered for the camera at device index, called
    // name, as it is about to start; changes the open dialog has not saved
    // yet are saved first, so that an older value does not undo them.
    void applySaved(int deviceIndex, const QString& name);

private slots:
    void cameraChosen();
    void openDialog();

private:
    int deviceIndexOfChoice() const;

    QPushButton& button;
    QComboBox& cameraList;
    QWidget& window;
    QString camera;
    // Deleted on close, or with the window.
    QPointer<CameraControlsDialog> dialog;
};
