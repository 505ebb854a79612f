#pragma once

#include "app/OutputsController.h"
#include "app/SettingsStorage.h"
#include "app/TrackingSettings.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class CalibrationDialog;
class CameraControlsLauncher;
class CaptureChoices;
class GLWidget;
class QComboBox;
class RemoteControl;
class StatusBarReport;
namespace Ui {
class SettingsWindow;
}

// The main window: the flight view in its centre, the settings dock beside
// it, and the wiring of the frame pipeline from capture through analysis to
// the view. Capture is started and stopped only through startStop(), which
// the flight view calls.
class SettingsWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget* parent = nullptr);
    ~SettingsWindow() override;

    // Writes every setting as closing the window does, for an end that
    // destroys nothing.
    void saveSettings();

    // Obeys the control from outside the window from now on, and keeps it
    // told of the source in use.
    void followRemote(RemoteControl& remote);

signals:
    void captureStopped();

public slots:
    bool startStop();

private slots:
    void showHelp();
    void showAbout();
    void showSettings();
    void hideSettings();
    void somethingChanged();
    void trackingChosen();
    void rememberAttitude(float _roll, float _pitch);
    void centre();
    void openCalibration();
    void sourceEnded(const QString& why);
    void cameraUnplugged();
    void activate();

private:
    void stopCapture();
    void reportStatus();
    void fillTrackingChoices();
    void connectControls();
    void connectResponsePage();
    void applyResponses();
    void applyCalibration();
    void takeCalibration(const Calibration& measured);

    std::unique_ptr<Ui::SettingsWindow> ui;
    SettingsStorage storage;
    TrackingSettings tracking;
    GLWidget* glWidget = nullptr;
    bool running = false;
    StatusBarReport* statusReport = nullptr;
    // Owned by the window, its parent.
    CameraControlsLauncher* controlsLauncher = nullptr;
    // Owned by the window, its parent.
    CaptureChoices* choices = nullptr;
    std::unique_ptr<OutputsController> outputs;
    // Owned by the window while open; it deletes itself when closed.
    QPointer<CalibrationDialog> calibrationDialog;
    // The attitude Centre makes the zero, level until the first frame.
    float lastRoll = 127.5f;
    float lastPitch = 0;
};
