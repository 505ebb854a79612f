#pragma once

#include <QObject>

namespace Ui {
class SettingsWindow;
}
class QSlider;

// The thirteen user settings: loaded from the user's settings store when
// constructed, saved when destroyed, and kept in step with the settings dock.
class SettingsStorage : public QObject {
    Q_OBJECT

public:
    SettingsStorage();
    ~SettingsStorage() override;

    int responseRoll = 50;
    int responsePitch = 50;
    int zeroRoll = 127;
    int zeroPitch = 127;
    int minRoll = 0;
    int minPitch = 0;
    int maxRoll = 255;
    int maxPitch = 255;
    bool invertRoll = false;
    bool invertPitch = false;
    int cameraId = -1;
    int fpsId = 1;
    int resolutionId = 0;

public slots:
    void somethingChanged(Ui::SettingsWindow* ui);
    void updateUi(Ui::SettingsWindow* ui);
    void load();
    void save();

private:
    struct AxisLimits {
        int minimum;
        int zero;
        int maximum;
    };
    struct AxisSliders {
        QSlider* minimum;
        QSlider* zero;
        QSlider* maximum;
    };

    void orderPitch(AxisLimits& pitch, const AxisSliders& sliders);
    void orderRoll(AxisLimits& roll, const AxisSliders& sliders);
    void storeFromUi(Ui::SettingsWindow* ui, const AxisLimits& pitch, const AxisLimits& roll);
};
