#pragma once

#include <QObject>
#include <QSize>
#include <QString>

class QComboBox;

// The camera page's lists: the camera to capture from, the frame rate and
// the picture size. A machine without a camera gets the painted demo in its
// place. While capture is stopped the camera list follows cameras plugged in
// or out at once; while it runs the lists are held, as capture keeps talking
// to the device it set up, and the camera list catches up at the stop. What
// the window must do about it comes out as signals.
class CaptureChoices : public QObject {
    Q_OBJECT

public:
    // Fills the lists, with the demo camera when no camera is found.
    CaptureChoices(QComboBox& cameras, QComboBox& rates, QComboBox& sizes, QObject& parent);
    ~CaptureChoices() override;

    // Makes the stored positions current where they are listed; a frame
    // rate that is not falls back to 30 fps, the others to the first.
    void restore(int cameraId, int rateId, int sizeId);
    // From now on follows the capture layer's notices of cameras coming and
    // going.
    void watch();
    // The demo camera's name while it stands in for a missing camera, else
    // empty.
    const QString& demoInPlaceOfCamera() const { return demoStandIn; }

    int deviceIndex() const;
    QString camera() const;
    int framesPerSecond() const;
    QSize pictureSize() const;

public slots:
    // Brings the camera list up to date and holds the lists while the camera
    // then chosen runs.
    void captureStarting();
    void captureStopped();

signals:
    // A refill moved the camera chosen to another position.
    void choiceMoved();
    void demoInPlaceOfCameraChanged(const QString& name);
    // The camera in use has gone; capture must stop.
    void cameraInUseUnplugged();

private slots:
    void camerasChanged();

private:
    void fillFormats();
    void offerDemoWithoutCamera();
    void addCameras();
    void refresh();
    void setEnabled(bool enabled);

    QComboBox& cameraList;
    QComboBox& rateList;
    QComboBox& sizeList;
    bool capturing = false;
    // The camera capture was started on, as the list named it then.
    QString cameraInUse;
    // Cameras came or went while the list was held.
    bool stale = false;
    // The demo camera's name when it was added because no camera was found.
    QString demoStandIn;
};
