#pragma once

#include "capture/FrameCarrier.h"
#include "capture/ManualResetEvent.h"
#include "capture/VideoInput.h"

#include <QMap>
#include <QMutex>
#include <QSize>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class CapturePlatform;

// The one camera thread: woken by each frame's arrival in the device layer,
// it takes the frame at once, widens it to four bytes per pixel and emits it
// as a new I::Image, or, while the frame it emitted last waits untaken, puts
// it in that one's place.
class VideoInputThr : public QThread {
    Q_OBJECT
public:
    VideoInputThr();
    explicit VideoInputThr(std::unique_ptr<CapturePlatform> platform);
    ~VideoInputThr() override;

    // Device index -> device name, for every camera present now.
    QMap<int, QString> deviceList();

    // Sources besides the cameras; call before the device list is first read.
    void addDemoCamera();
    void addVideoFile(const QString& path);

    // The controls of the camera at device index, null when it has none.
    // They may be used from any thread and outlive this object.
    std::unique_ptr<platform::CameraControls> openControls(int index);

    // While on, devicesChanged() is emitted, from any thread, whenever a
    // camera is plugged in or unplugged.
    void watchDevices(bool on);

signals:
    // A receiver taking an I::Image* owns the frame and frees it (delete);
    // a frame no receiver takes is freed by its carrier. A receiver in
    // another thread gets the newest frame there is when it gets to the
    // signal, and no further signal waits behind it meanwhile.
    void capturedFrame(FrameCarrier _img);
    // After every start: the device's name, and the size and rate it was
    // set up with; an empty size when it could not be set up.
    void captureStarted(const QString& name, const QSize& size, int framesPerSecond);
    // The running source ended or failed by itself; the run stops. Emitted
    // from the capture thread.
    void sourceEnded(const QString& why);
    void devicesChanged();

public slots:
    void startDevice(int _id, int _width, int _height, int _framerate);
    void stopDevice();

protected:
    void run() override;

private:
    void captureFrame(int deviceIndex, std::vector<uint8_t>& source);
    bool pollDevice(int deviceIndex, std::vector<uint8_t>& source);

    void requestStop();
    // The device layer, made at its first use: a run that only prints its
    // help or its version starts no capture framework and prints nothing of
    // the layer's. Called with lock_ held.
    VideoInput& input();

    // Set by the device's streaming thread as each frame arrives, and by a
    // stop; the run sleeps on it between frames. Declared before videoInput_
    // so that it outlives every device that may set it.
    ManualResetEvent wakeUp_;
    // Handed to the device layer when it is made.
    std::unique_ptr<CapturePlatform> platform_;
    std::unique_ptr<VideoInput> videoInput_;
    // Guards platform_, videoInput_ and currentDevice_; also taken to write
    // stopRequested_, which the run loop may read without it.
    QMutex lock_;
    int currentDevice_ = -1;
    std::atomic<bool> stopRequested_{false};
    // The carrier of the frame last emitted, kept by the run so that a newer
    // frame can take the place of one its receiver has not yet got to.
    std::optional<FrameCarrier> lastEmitted_;
};
