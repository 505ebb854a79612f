#include "app/CameraControlsLauncher.h"

#include "app/CameraControlSettings.h"
#include "app/CameraControlsDialog.h"
#include "app/ProcessObjects.h"
#include "capture/VideoInputThr.h"

#include <QComboBox>
#include <QPushButton>

CameraControlsLauncher::CameraControlsLauncher(QPushButton& button, QComboBox& cameraList,
                                               QWidget& window)
    : QObject(&window)
    , button(button)
    , cameraList(cameraList)
    , window(window) {
    connect(&button, &QPushButton::clicked, this, &CameraControlsLauncher::openDialog);
    connect(&cameraList, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &CameraControlsLauncher::cameraChosen);
    // Queued after the camera list's own handling, which refills the list
    // first: the window connects that before it makes this launcher.
    connect(&videoInputThr, &VideoInputThr::devicesChanged, this,
            &CameraControlsLauncher::cameraChosen, Qt::QueuedConnection);
    cameraChosen();
}

void CameraControlsLauncher::applySaved(int deviceIndex, const QString& name) {
    if (dialog)
        dialog->saveChanges();
    const std::unique_ptr<platform::CameraControls> opened =
        videoInputThr.openControls(deviceIndex);
    if (opened)
        CameraControlSettings(name, opened->busPath()).apply(*opened);
}

// The list keeps its items while capture runs, when cameras coming and going
// may have moved the chosen one to another device index; it is found by name
// then.
int CameraControlsLauncher::deviceIndexOfChoice() const {
    if (camera.isEmpty())
        return -1;
    const QMap<int, QString> devices = videoInputThr.deviceList();
    const int listed = cameraList.currentData().toInt();
    if (cameraList.currentIndex() >= 0 && devices.value(listed) == camera)
        return listed;
    return devices.key(camera, -1);
}

// A dialog for a camera no longer chosen, or no longer there, closes. Two
// cameras of one make share a name, so the dialog's camera is told apart by
// its bus path too; a dialog on a node that went away answers none.
void CameraControlsLauncher::cameraChosen() {
    camera = cameraList.currentText();
    const int deviceIndex = deviceIndexOfChoice();
    // Opened only to learn whether there are any: a device node held open
    // keeps a USB camera from suspending and its driver from unloading, so
    // only an open dialog holds one.
    const std::unique_ptr<platform::CameraControls> chosen =
        deviceIndex >= 0 ? videoInputThr.openControls(deviceIndex) : nullptr;
    button.setEnabled(chosen != nullptr);
    if (dialog &&
        (!chosen || dialog->cameraName() != camera || dialog->busPath() != chosen->busPath())) {
        // Closing only schedules its deletion; a click meanwhile opens a
        // new dialog rather than showing the closing one again.
        dialog->close();
        dialog.clear();
    }
}

void CameraControlsLauncher::openDialog() {
    const int deviceIndex = deviceIndexOfChoice();
    std::shared_ptr<platform::CameraControls> controls =
        dialog || deviceIndex < 0 ? nullptr : videoInputThr.openControls(deviceIndex);
    if (controls) {
        dialog = new CameraControlsDialog(camera, std::move(controls), &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!dialog)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
