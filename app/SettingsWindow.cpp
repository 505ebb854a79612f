#include "app/SettingsWindow.h"

#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "app/UiSettingsWindow.h"
#include "capture/VideoInputThr.h"
#include "view/GLWidget.h"

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
#include <QSlider>

namespace {

constexpr int kFps30Position = 1;
constexpr int kResolution320Position = 1;
constexpr int kSlowFrameRate = 15;
constexpr int kFastFrameRate = 30;
const QSize kSmallPicture(160, 120);
const QSize kLargePicture(320, 240);

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
    restoreListChoices();
    connectControls();

    running = false;
    connect(&videoProcessor, &VideoProcessor::dataUpdate, glWidget, &GLWidget::updateData);
    outputLabel = ui->labelOut;
}

// The form record goes first, then the settings are saved by the storage
// member, then the base destroys the widgets. Destroying a visible window
// hides the dock, which reports that to hideSettings(); by then the form
// record is gone, so the dock is cut off from this window first. The
// published label pointer is withdrawn so no late frame draws into a
// destroyed label.
SettingsWindow::~SettingsWindow() {
    disconnect(ui->dockWidgetSettings, nullptr, this, nullptr);
    if (outputLabel == ui->labelOut)
        outputLabel = nullptr;
    ui.reset();
}

void SettingsWindow::fillLists() {
    const QMap<int, QString> devices = videoInputThr.deviceList();
    for (auto device = devices.cbegin(); device != devices.cend(); ++device)
        ui->comboBoxCameraSelect->addItem(device.value(), device.key());

    ui->comboBoxFPS->addItem(tr("15 fps"), 0);
    ui->comboBoxFPS->addItem(tr("30 fps"), 1);
    ui->comboBoxResolution->addItem(tr("160x120"), 0);
    ui->comboBoxResolution->addItem(tr("320x240"), 1);

    if (!devices.isEmpty())
        setListsEnabled(true);
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
    connect(ui->pushButtonSystemCameraSettings, &QPushButton::clicked, this,
            &SettingsWindow::showCameraSettingsWindow);
    for (QSlider* slider : {ui->horizontalSliderMaxPitch, ui->horizontalSliderMaxRoll,
                            ui->horizontalSliderMinPitch, ui->horizontalSliderMinRoll,
                            ui->horizontalSliderResponsePitch, ui->horizontalSliderResponseRoll,
                            ui->horizontalSliderZeroPitch, ui->horizontalSliderZeroRoll})
        connect(slider, &QSlider::valueChanged, this, &SettingsWindow::somethingChanged);
    for (QCheckBox* box : {ui->checkBoxInvertPitch, ui->checkBoxInvertRoll})
        connect(box, &QCheckBox::toggled, this, &SettingsWindow::somethingChanged);

    // Both ends of the frame pipeline outlive any one window; a window built
    // after another must not add a second delivery of the same frame.
    connect(&videoInputThr, &VideoInputThr::capturedFrame, &videoProcessor,
            &VideoProcessor::processFrame, Qt::UniqueConnection);
}

bool SettingsWindow::startStop() {
    if (!running) {
        running = true;
        const int frameRate =
            ui->comboBoxFPS->currentIndex() == kFps30Position ? kFastFrameRate : kSlowFrameRate;
        const QSize picture = ui->comboBoxResolution->currentIndex() == kResolution320Position
                                  ? kLargePicture
                                  : kSmallPicture;
        videoInputThr.startDevice(ui->comboBoxCameraSelect->currentIndex(), picture.width(),
                                  picture.height(), frameRate);
        setListsEnabled(false);
        return true;
    }
    running = false;
    setListsEnabled(true);
    videoInputThr.stopDevice();
    return false;
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

void SettingsWindow::showCameraSettingsWindow() {
    QMessageBox::about(this, tr("Zudazuv Irarizoz"), tr("camera settings"));
}

void SettingsWindow::somethingChanged() {
    storage.somethingChanged(ui.get());
    applyResponses();
}
