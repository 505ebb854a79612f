#include "app/SettingsWindow.h"

#include "analysis/VideoProcessor.h"
#include "app/AboutBox.h"
#include "app/CalibrationDialog.h"
#include "app/CameraControlsLauncher.h"
#include "app/CaptureChoices.h"
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
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>

namespace {

// The response sliders run 0..99; the estimator takes a weight out of 200.
constexpr int kResponseSliderDivisor = 4;

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
    choices = new CaptureChoices(*ui->comboBoxCameraSelect, *ui->comboBoxFPS,
                                 *ui->comboBoxResolution, *this);
    fillTrackingChoices();
    choices->restore(storage.cameraId, storage.fpsId, storage.resolutionId);
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

// The capture lists' keeper goes first, ending the watch for cameras before
// the lists it refills are gone; then the form record, then the settings are
// saved by the outputs, tracking and storage members, then the base destroys
// the widgets. Destroying a visible window hides the dock, which reports that
// to hideSettings(); by then the form record is gone, so the dock is cut off
// from this window first. The published label pointer is withdrawn so no
// late frame draws into a destroyed label; an open calibration dialog goes
// before that, as it hands the picture back to this window's label.
SettingsWindow::~SettingsWindow() {
    delete choices;
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

void SettingsWindow::cameraUnplugged() {
    stopCapture();
    statusReport->sourceUnplugged();
}

void SettingsWindow::sourceEnded(const QString& why) {
    if (!running)
        return;
    stopCapture();
    statusReport->sourceEnded(why);
}

void SettingsWindow::reportStatus() {
    auto* label = new QLabel(ui->statusBar);
    label->setObjectName("labelStatus");
    ui->statusBar->addPermanentWidget(label);
    statusReport = new StatusBarReport(*label, this);
    statusReport->setDemoInPlaceOfCamera(choices->demoInPlaceOfCamera());
    connect(choices, &CaptureChoices::demoInPlaceOfCameraChanged, statusReport,
            &StatusBarReport::setDemoInPlaceOfCamera);
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
    connect(choices, &CaptureChoices::cameraInUseUnplugged, this, &SettingsWindow::cameraUnplugged);
    choices->watch();
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
    connect(choices, &CaptureChoices::choiceMoved, this, &SettingsWindow::somethingChanged);

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
        choices->captureStarting();
        running = true;
        // The camera keeps its control values across streaming, so the saved
        // ones are set before the first frame.
        controlsLauncher->applySaved(choices->deviceIndex(), choices->camera());
        const QSize picture = choices->pictureSize();
        videoInputThr.startDevice(choices->deviceIndex(), picture.width(), picture.height(),
                                  choices->framesPerSecond());
        return true;
    }
    stopCapture();
    statusReport->captureStopped();
    return false;
}

void SettingsWindow::stopCapture() {
    running = false;
    emit captureStopped();
    videoInputThr.stopDevice();
    choices->captureStopped();
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
    AboutBox().exec();
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
