#include "app/CaptureChoices.h"

#include "app/ProcessObjects.h"
#include "capture/VideoInputThr.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>
#include <iterator>

namespace {

// The frame-rate and picture-size lists, in the order of their positions.
// The store keeps positions, so new choices only ever go at the end; any
// other position, as an empty list gives, counts as the first.
const int kFrameRates[] = {15, 30, 60};
const QSize kPictureSizes[] = {{160, 120}, {320, 240}, {640, 480}};
constexpr int kFps30Position = 1;

template <typename T, std::size_t N> const T& choiceAt(const T (&choices)[N], int position) {
    return position >= 0 && position < int(N) ? choices[position] : choices[0];
}

} // namespace

CaptureChoices::CaptureChoices(QComboBox& cameras, QComboBox& rates, QComboBox& sizes,
                               QObject& parent)
    : QObject(&parent)
    , cameraList(cameras)
    , rateList(rates)
    , sizeList(sizes) {
    offerDemoWithoutCamera();
    addCameras();
    fillFormats();
    if (cameraList.count() > 0)
        setEnabled(true);
}

CaptureChoices::~CaptureChoices() {
    videoInputThr.watchDevices(false);
}

// Device ids equal list positions, so a stored id that is still listed is
// also the position to select.
void CaptureChoices::restore(int cameraId, int rateId, int sizeId) {
    if (cameraList.findData(cameraId) >= 0)
        cameraList.setCurrentIndex(cameraId);

    if (rateList.itemData(rateId).isValid())
        rateList.setCurrentIndex(rateId);
    else
        rateList.setCurrentIndex(kFps30Position);

    if (sizeList.itemData(sizeId).isValid())
        sizeList.setCurrentIndex(sizeId);
}

// Cameras plugged in or out are learnt from the capture thread's notices,
// taken here in the event loop whatever thread they come from.
void CaptureChoices::watch() {
    connect(&videoInputThr, &VideoInputThr::devicesChanged, this, &CaptureChoices::camerasChanged,
            Qt::QueuedConnection);
    videoInputThr.watchDevices(true);
}

int CaptureChoices::deviceIndex() const {
    return cameraList.currentIndex();
}

QString CaptureChoices::camera() const {
    return cameraList.currentText();
}

int CaptureChoices::framesPerSecond() const {
    return choiceAt(kFrameRates, rateList.currentIndex());
}

QSize CaptureChoices::pictureSize() const {
    return choiceAt(kPictureSizes, sizeList.currentIndex());
}

// A camera plugged in or out just now may not have reached the list yet; the
// device is opened by its position, so the list is brought up to date first.
void CaptureChoices::captureStarting() {
    refresh();
    capturing = true;
    cameraInUse = cameraList.currentText();
    setEnabled(false);
}

void CaptureChoices::captureStopped() {
    capturing = false;
    setEnabled(true);
    if (stale)
        refresh();
}

void CaptureChoices::fillFormats() {
    for (int position = 0; position < int(std::size(kFrameRates)); ++position)
        rateList.addItem(tr("%1 fps").arg(kFrameRates[position]), position);
    for (int position = 0; position < int(std::size(kPictureSizes)); ++position) {
        const QSize& size = kPictureSizes[position];
        sizeList.addItem(tr("%1x%2").arg(size.width()).arg(size.height()), position);
    }
}

void CaptureChoices::addCameras() {
    const QMap<int, QString> devices = videoInputThr.deviceList();
    for (auto device = devices.cbegin(); device != devices.cend(); ++device)
        cameraList.addItem(device.value(), device.key());
}

// A machine without a camera gets the painted demo in its place, listed and
// chosen like a camera, so that a first start shows what the program does
// rather than a still window. A camera plugged in later joins the list before
// it.
void CaptureChoices::offerDemoWithoutCamera() {
    if (!videoInputThr.deviceList().isEmpty())
        return;
    videoInputThr.addDemoCamera();
    demoStandIn = videoInputThr.deviceList().value(0);
}

// The refilled list keeps the chosen camera when it is still there, by
// position if it has not moved, else by name; the store follows a move.
void CaptureChoices::refresh() {
    stale = false;
    const QString chosen = cameraList.currentText();
    const int chosenPosition = cameraList.currentIndex();
    {
        const QSignalBlocker quiet(cameraList);
        cameraList.clear();
        addCameras();
        const int kept = cameraList.itemText(chosenPosition) == chosen
                             ? chosenPosition
                             : cameraList.findText(chosen);
        cameraList.setCurrentIndex(std::max(kept, 0));
    }
    if (cameraList.currentIndex() != chosenPosition)
        emit choiceMoved();
    if (cameraList.count() > 0)
        setEnabled(true);
    // Once a camera has come, the demo is one source among others.
    if (!demoStandIn.isEmpty() && cameraList.count() > 1) {
        demoStandIn.clear();
        emit demoInPlaceOfCameraChanged({});
    }
}

// Only the loss of the very camera in use stops capture; everything else
// waits for the next stop.
void CaptureChoices::camerasChanged() {
    if (!capturing) {
        refresh();
        return;
    }
    stale = true;
    if (!cameraInUse.isEmpty() && !videoInputThr.deviceList().values().contains(cameraInUse))
        emit cameraInUseUnplugged();
}

void CaptureChoices::setEnabled(bool enabled) {
    cameraList.setEnabled(enabled);
    rateList.setEnabled(enabled);
    sizeList.setEnabled(enabled);
}
