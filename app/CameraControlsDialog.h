#pragma once

#include "app/CameraControlSettings.h"
#include "capture/platform/CameraControls.h"

#include <QDialog>
#include <QTimer>

#include <map>
#include <memory>
#include <vector>

class CameraControlEditor;
class QFormLayout;
class QLabel;

// The camera's own controls (brightness, exposure, gain, white balance,
// power-line frequency…), one editor each. A change is set on the camera at
// once and remembered for that camera; what the camera changes by itself, an
// automatic mode greying its manual value for one, shows as it happens.
class CameraControlsDialog : public QDialog {
    Q_OBJECT

public:
    CameraControlsDialog(const QString& cameraName,
                         std::shared_ptr<platform::CameraControls> controls, QWidget* parent);
    ~CameraControlsDialog() override;

    const QString& cameraName() const { return camera; }
    // Empty once the camera is gone.
    std::string busPath() const { return controls->busPath(); }

public slots:
    void saveChanges();

private slots:
    void write(const platform::CameraControl& wanted);
    void resetToDefaults();

private:
    void addEditors(QFormLayout& form);
    CameraControlEditor* editorOf(uint32_t id) const;
    void showChange(const platform::CameraControl& state);
    void showAll();
    void tell(const QString& message);

    const QString camera;
    const std::shared_ptr<platform::CameraControls> controls;
    CameraControlSettings settings;
    // Saving rewrites the settings file, and a slider drag sets the camera at
    // every step, so changes are gathered by control id and saved once the
    // user pauses, and when the dialog goes.
    std::map<uint32_t, platform::CameraControl> unsaved;
    QTimer saveSoon;
    // In the camera's order; the dialog owns them through the form.
    std::vector<CameraControlEditor*> editors;
    QLabel* status = nullptr;
};
