#include "app/SettingsWindow.h"

#include "analysis/VideoProcessor.h"
#include "app/CalibrationDialog.h"
#include "app/CameraControlsLauncher.h"
#include "app/ProcessObjects.h"
#include "app/ResponsePage.h"
#include "app/SliderValueLabel.h"
#include "app/StatusBarReport.h"
#include "app/UiSettingsWindow.h"
#include "app/remote/RemoteControl.h"
#include "capture/VideoInputThr.h"
#include "view/GLWidget.h"
#include "view/RunnerThr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>

#include <iterator>

namespace {

// The frame-rate and resolution lists, in the order of their positions. The
// store keeps positions, so new choices only ever go at the end; any other
// position, as an empty list gives, counts as the first.
const int kFrameRates[] = {15, 30, 60};
const QSize kPictureSizes[] = {{160, 120}, {320, 240}, {640, 480}};
constexpr int kFps30Position = 1;

// The response sliders run 0..99; the estimator takes a weight out of 200.
constexpr int kResponseSliderDivisor = 4;
constexpr int kAboutBoxMinimumWidth = 300;

QString aboutText() {
    return QCoreApplication::translate(
               "SettingsWindow",
               "<img align=left src='://images/Icons/favicon.gif'>\t\t"
               "<center><h2>Zaredezid</h2></center>\t\t"
               "<p align=center>Technology preview</p>\t\t"
               "<p align=left>Made by <a href='https://ruveviv.example.org'>Ruveviv</a>, "
               "who turn ordinary webcams into controllers.</p>\t\t"
               "<p align=left>This application was created with Qt %1 LGPL edition. "
               "<br>Qt can be obtained from Nokia at "
               "<a href='https://www.qt.io'>https://www.qt.io</a></p>")
        .arg(QString::fromLatin1(qVersion()));
}

template <typename T, std::size_t N> const T& choiceAt(const T (&choices)[N], int position) {
    return position >= 0 && position < int(N) ? choices[position] : choices[0];
}

} // namespace

SettingsWindow::SettingsWindow(QWidget* parent)
    : QMainWindow(parent, Qt::WindowFlags())
    , ui(std::make_unique<Ui::SettingsWindow>()) {
    ui->setupUi(this);
    glWidget = new GLWidget(nullptr);
    ui->horizontalLayout->addWidget(glWidget);

    connect(ui->actionHelp, &QAction::triggered, this, &SettingsWindow::showHelp);
    connect(ui->actionAbout, &QAction::triggered, this, &SettingsWindow::showAbout);
    connect(ui->dockWidgetSettings, &QDockWidget::visibilityChanged, this,
            &SettingsWindow::hideSettings);
    connect(ui->actionShow, &QAction::triggered, this, &SettingsWindow::showSettings);

    // The limit sliders report only when released; the response sliders
    // keep tracking so the estimator follows every step of a drag.
    for (QSlider* slider :
         {ui->horizontalSliderMaxPitch, ui->horizontalSliderMaxRoll, ui->horizontalSliderMinPitch,
          ui->horizontalSliderMinRoll, ui->horizontalSliderZeroPitch, ui->horizontalSliderZeroRoll})
        slider->setTracking(false);

    storage.updateUi(ui.get());
    applyResponses();
    fillLists();
    fillTrackingChoices();
    restoreListChoices();
    outputs = std::make_unique<OutputsController>(*ui, *this);
    applyCalibration();
    connectControls();
    connectResponsePage();
    reportStatus();
    controlsLauncher = new CameraControlsLauncher(*ui->pushButtonSystemCameraSettings,
                                                  *ui->comboBoxCameraSelect, *this);

    running = false;
    connect(&videoProcessor, &VideoProcessor::dataUpdate, glWidget, &GLWidget::updateData);
    connect(&videoProcessor, &VideoProcessor::dataUpdate, this, &SettingsWindow::rememberAttitude);
    outputLabel = ui->labelOut;
}

// The form record goes first, then the settings are saved by the outputs,
// tracking and storage members, then the base destroys the widgets. Destroying a
// visible window hides the dock, which reports that to hideSettings(); by
// then the form record is gone, so the dock is cut off from this window
// first. The published label pointer is withdrawn so no late frame draws
// into a destroyed label; an open calibration dialog goes before that, as it
// hands the picture back to this window's label.
SettingsWindow::~SettingsWindow() {
    videoInputThr.watchDevices(false);
    delete calibrationDialog;
    disconnect(ui->dockWidgetSettings, nullptr, this, nullptr);
    if (outputLabel == ui->labelOut)
        outputLabel = nullptr;
    ui.reset();
}

void SettingsWindow::saveSettings() {
    outputs->saveSettings();
    tracking.save();
    storage.save();
}

void SettingsWindow::followRemote(RemoteControl& remote) {
    remote.attach(outputs->dispatcher());
    connect(&remote, &RemoteControl::centreRequested, this, &SettingsWindow::centre);
    connect(&remote, &RemoteControl::activationRequested, this, &SettingsWindow::activate);
    // The notice of a start comes from the capture thread, and may arrive
    // after a stop that followed the start at once.
    connect(&videoInputThr, &VideoInputThr::captureStarted, &remote,
            [this, &remote](const QString& name, const QSize& size) {
                remote.setSource(running && size.isValid() ? name : QString());
            });
    connect(this, &SettingsWindow::captureStopped, &remote, [&remote] { remote.setSource({}); });
    connect(&videoProcessor, &VideoProcessor::trackingUpdate, &remote,
            [&remote](TrackingState state) { remote.setTracking(trackingStateName(state)); });
}

// A second start of the program asks the first to come forward instead.
void SettingsWindow::activate() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void SettingsWindow::addCameras() {
    const QMap<int, QString> devices = videoInputThr.deviceList();
    for (auto device = devices.cbegin(); device != devices.cend(); ++device)
        ui->comboBoxCameraSelect->addItem(device.value(), device.key());
}

void SettingsWindow::fillLists() {
    offerDemoWithoutCamera();
    addCameras();

    for (int position = 0; position < int(std::size(kFrameRates)); ++position)
        ui->comboBoxFPS->addItem(tr("%1 fps").arg(kFrameRates[position]), position);
    for (int position = 0; position < int(std::size(kPictureSizes)); ++position) {
        const QSize& size = kPictureSizes[position];
        ui->comboBoxResolution->addItem(tr("%1x%2").arg(size.width()).arg(size.height()), position);
    }

    if (ui->comboBoxCameraSelect->count() > 0)
        setListsEnabled(true);
}

// A machine without a camera gets the painted demo in its place, listed and
// chosen like a camera, so that a first start shows what the program does
// rather than a still window. A camera plugged in later joins the list before
// it.
void SettingsWindow::offerDemoWithoutCamera() {
    if (!videoInputThr.deviceList().isEmpty())
        return;
    videoInputThr.addDemoCamera();
    demoInPlaceOfCamera = videoInputThr.deviceList().value(0);
}

// The refilled list keeps the chosen camera when it is still there, by
// position if it has not moved, else by name; the store follows a move.
void SettingsWindow::refreshCameraList() {
    cameraListStale = false;
    QComboBox* list = ui->comboBoxCameraSelect;
    const QString chosen = list->currentText();
    const int chosenPosition = list->currentIndex();
    {
        const QSignalBlocker quiet(list);
        list->clear();
        addCameras();
        const int kept =
            list->itemText(chosenPosition) == chosen ? chosenPosition : list->findText(chosen);
        list->setCurrentIndex(std::max(kept, 0));
    }
    if (list->currentIndex() != chosenPosition)
        somethingChanged();
    if (list->count() > 0)
        setListsEnabled(true);
    // Once a camera has come, the demo is one source among others.
    if (!demoInPlaceOfCamera.isEmpty() && list->count() > 1) {
        demoInPlaceOfCamera.clear();
        statusReport->setDemoInPlaceOfCamera({});
    }
}

// Capture keeps talking to the device it set up whatever the list does, so
// only the loss of that very camera stops it; everything else waits for the
// next stop.
void SettingsWindow::camerasChanged() {
    if (!running) {
        refreshCameraList();
        return;
    }
    cameraListStale = true;
    if (!cameraInUse.isEmpty() && !videoInputThr.deviceList().values().contains(cameraInUse)) {
        stopCapture();
        statusReport->sourceUnplugged();
    }
}

void SettingsWindow::sourceEnded(const QString& why) {
    if (!running)
        return;
    stopCapture();
    statusReport->sourceEnded(why);
}

// Cameras plugged in or out are learnt from the capture thread's notices,
// taken here in the event loop whatever thread they come from.
void SettingsWindow::reportStatus() {
    auto* label = new QLabel(ui->statusBar);
    label->setObjectName("labelStatus");
    ui->statusBar->addPermanentWidget(label);
    statusReport = new StatusBarReport(*label, this);
    statusReport->setDemoInPlaceOfCamera(demoInPlaceOfCamera);
    connect(&videoInputThr, &VideoInputThr::captureStarted, statusReport,
            &StatusBarReport::captureStarted);
    connect(&videoProcessor, &VideoProcessor::frameAnalysed, statusReport,
            &StatusBarReport::frameAnalysed);
    connect(&videoProcessor, &VideoProcessor::outputDelay, statusReport,
            &StatusBarReport::outputDelay);
    connect(&videoProcessor, &VideoProcessor::trackingUpdate, statusReport,
            &StatusBarReport::setTracking);
    connect(outputs.get(), &OutputsController::outputsChanged, statusReport,
            [this] { statusReport->setOutputs(outputs->outputsOn()); });
    connect(&outputs->dispatcher(), &OutputDispatcher::pausedChanged, statusReport,
            &StatusBarReport::setPaused);
    statusReport->setOutputs(outputs->outputsOn());

    connect(&videoInputThr, &VideoInputThr::sourceEnded, this, &SettingsWindow::sourceEnded,
            Qt::QueuedConnection);
    connect(&videoInputThr, &VideoInputThr::devicesChanged, this, &SettingsWindow::camerasChanged,
            Qt::QueuedConnection);
    videoInputThr.watchDevices(true);
}

// The stored choice is made current and applied before the list is
// connected, so a start restarts the estimator once, not twice.
void SettingsWindow::fillTrackingChoices() {
    ui->comboBoxTracking->addItem(tr("Precise"), estimatorKindName(EstimatorKind::Precise));
    ui->comboBoxTracking->addItem(tr("Classic"), estimatorKindName(EstimatorKind::Classic));
    ui->comboBoxTracking->setCurrentIndex(
        ui->comboBoxTracking->findData(estimatorKindName(tracking.estimator)));
    videoProcessor.setEstimator(tracking.estimator);
}

// Device ids equal list positions, so a stored id that is still listed is
// also the position to select.
void SettingsWindow::restoreListChoices() {
    if (ui->comboBoxCameraSelect->findData(storage.cameraId) >= 0)
        ui->comboBoxCameraSelect->setCurrentIndex(storage.cameraId);

    if (ui->comboBoxFPS->itemData(storage.fpsId).isValid())
        ui->comboBoxFPS->setCurrentIndex(storage.fpsId);
    else
        ui->comboBoxFPS->setCurrentIndex(kFps30Position);

    if (ui->comboBoxResolution->itemData(storage.resolutionId).isValid())
        ui->comboBoxResolution->setCurrentIndex(storage.resolutionId);
}

void SettingsWindow::connectControls() {
    for (QComboBox* list : {ui->comboBoxCameraSelect, ui->comboBoxFPS, ui->comboBoxResolution})
        connect(list, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &SettingsWindow::somethingChanged);
    for (QSlider* slider : {ui->horizontalSliderMaxPitch, ui->horizontalSliderMaxRoll,
                            ui->horizontalSliderMinPitch, ui->horizontalSliderMinRoll,
                            ui->horizontalSliderResponsePitch, ui->horizontalSliderResponseRoll,
                            ui->horizontalSliderZeroPitch, ui->horizontalSliderZeroRoll})
        connect(slider, &QSlider::valueChanged, this, &SettingsWindow::somethingChanged);
    for (QCheckBox* box : {ui->checkBoxInvertPitch, ui->checkBoxInvertRoll})
        connect(box, &QCheckBox::toggled, this, &SettingsWindow::somethingChanged);
    connect(ui->comboBoxTracking, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SettingsWindow::trackingChosen);
    connect(ui->pushButtonCentre, &QPushButton::clicked, this, &SettingsWindow::centre);
    connect(ui->actionCentre, &QAction::triggered, this, &SettingsWindow::centre);
    connect(ui->pushButtonCalibrate, &QPushButton::clicked, this, &SettingsWindow::openCalibration);

    // Both ends of the frame pipeline outlive any one window; a window built
    // after another must not add a second delivery of the same frame.
    connect(&videoInputThr, &VideoInputThr::capturedFrame, &videoProcessor,
            &VideoProcessor::processFrame, Qt::UniqueConnection);
}

// The page shows the response the outputs start with, and from then on
// every change goes straight to them.
void SettingsWindow::connectResponsePage() {
    ui->response->setResponse(outputs->response());
    connect(ui->response, &ResponsePage::responseChanged, outputs.get(),
            &OutputsController::setResponse);
    connect(&outputs->dispatcher(), &OutputDispatcher::responded, ui->response,
            &ResponsePage::showLive);
}

bool SettingsWindow::startStop() {
    if (!running) {
        // A camera plugged in or out just now may not have reached the list
        // yet; the device is opened by its position, so the list is brought
        // up to date first.
        refreshCameraList();
        running = true;
        cameraInUse = ui->comboBoxCameraSelect->currentText();
        const int frameRate = choiceAt(kFrameRates, ui->comboBoxFPS->currentIndex());
        const QSize& picture = choiceAt(kPictureSizes, ui->comboBoxResolution->currentIndex());
        // The camera keeps its control values across streaming, so the saved
        // ones are set before the first frame.
        const int deviceIndex = ui->comboBoxCameraSelect->currentIndex();
        controlsLauncher->applySaved(deviceIndex, cameraInUse);
        videoInputThr.startDevice(deviceIndex, picture.width(), picture.height(), frameRate);
        setListsEnabled(false);
        return true;
    }
    stopCapture();
    statusReport->captureStopped();
    return false;
}

void SettingsWindow::stopCapture() {
    running = false;
    emit captureStopped();
    setListsEnabled(true);
    videoInputThr.stopDevice();
    if (cameraListStale)
        refreshCameraList();
}

void SettingsWindow::setListsEnabled(bool enabled) {
    ui->comboBoxCameraSelect->setEnabled(enabled);
    ui->comboBoxFPS->setEnabled(enabled);
    ui->comboBoxResolution->setEnabled(enabled);
}

void SettingsWindow::applyResponses() {
    videoProcessor.pitchResponse =
        ui->horizontalSliderResponsePitch->value() / kResponseSliderDivisor;
    videoProcessor.rollResponse =
        ui->horizontalSliderResponseRoll->value() / kResponseSliderDivisor;
}

void SettingsWindow::showHelp() {
    QMessageBox::about(this, tr("Zudazuv Irarizoz"), tr("help"));
}

void SettingsWindow::showAbout() {
    QMessageBox about;
    about.setMinimumWidth(kAboutBoxMinimumWidth);
    about.setWindowIcon(QIcon("://images/Icons/fileinfo-32.png"));
    about.setStandardButtons(QMessageBox::Ok);
    about.setTextFormat(Qt::RichText);
    about.setText(aboutText());
    about.exec();
}

void SettingsWindow::showSettings() {
    ui->dockWidgetSettings->show();
    ui->menuSettings->setEnabled(ui->dockWidgetSettings->isHidden());
}

void SettingsWindow::hideSettings() {
    ui->menuSettings->setEnabled(ui->dockWidgetSettings->isHidden());
}

// The order corrections move some sliders with their signals blocked, which
// their numbers do not hear of.
void SettingsWindow::somethingChanged() {
    storage.somethingChanged(ui.get());
    for (SliderValueLabel* value : ui->adj->findChildren<SliderValueLabel*>())
        value->showValue();
    applyResponses();
    applyCalibration();
}

// Built from the stored fields, which after any change hold the limits as
// the order corrections left them, not as the sliders briefly showed them.
void SettingsWindow::applyCalibration() {
    Calibration calibration;
    calibration.roll = {storage.zeroRoll, storage.minRoll, storage.maxRoll, storage.invertRoll};
    calibration.pitch = {storage.zeroPitch, storage.minPitch, storage.maxPitch,
                         storage.invertPitch};
    outputs->setCalibration(calibration);
}

void SettingsWindow::rememberAttitude(float _roll, float _pitch) {
    lastRoll = _roll;
    lastPitch = _pitch;
}

// Each zero slider reports its move, so the usual order corrections run and
// the calibration follows, as when the user drags it.
void SettingsWindow::centre() {
    const CentredZeros zeros = Calibration::centredZeros(lastRoll, lastPitch);
    ui->horizontalSliderZeroRoll->setValue(zeros.roll);
    ui->horizontalSliderZeroPitch->setValue(zeros.pitch);
}

// The dialog needs the camera picture, so capture is started as a double
// click on the flight view starts it, repaints included. open() rather than
// exec(): no nested event loop runs under the frames and estimates it shows.
void SettingsWindow::openCalibration() {
    if (!running && startStop())
        runnerThr.startMe();
    calibrationDialog = new CalibrationDialog(this);
    calibrationDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(calibrationDialog, &QDialog::accepted, this,
            [this, dialog = calibrationDialog.data()] { takeCalibration(dialog->measured()); });
    calibrationDialog->open();
}

// The six sliders are set without a word, then the usual change handling
// runs once on the whole set: run after each, the order corrections would
// push values of this set against the old ones still beside them.
void SettingsWindow::takeCalibration(const Calibration& measured) {
    const auto setQuietly = [](QSlider* slider, int value) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
    };
    setQuietly(ui->horizontalSliderZeroRoll, measured.roll.zero);
    setQuietly(ui->horizontalSliderMinRoll, measured.roll.minimum);
    setQuietly(ui->horizontalSliderMaxRoll, measured.roll.maximum);
    setQuietly(ui->horizontalSliderZeroPitch, measured.pitch.zero);
    setQuietly(ui->horizontalSliderMinPitch, measured.pitch.minimum);
    setQuietly(ui->horizontalSliderMaxPitch, measured.pitch.maximum);
    somethingChanged();
}

// Takes effect at once, even while capturing: the estimator starts afresh from
// level on the next frame.
void SettingsWindow::trackingChosen() {
    bool known = false;
    tracking.estimator =
        estimatorKindFromName(ui->comboBoxTracking->currentData().toString(), known);
    videoProcessor.setEstimator(tracking.estimator);
}
