#include "app/UiSettingsWindow.h"

#include "app/ResponsePage.h"
#include "app/SliderValueLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kWindowWidth = 965;
constexpr int kWindowHeight = 516;
constexpr int kMenuBarHeight = 21;
constexpr int kLayoutSpacing = 6;
constexpr int kLayoutMargin = 11;
constexpr int kDockContentMargin = 2;
constexpr int kStyleDefaultMargin = -1;
constexpr int kSliderPageStep = 10;
constexpr int kLimitSliderMaximum = 255;
constexpr int kCameraTabIndex = 2;
const QSize kDockMinimumSize(348, 473);
const QSize kCameraPictureSize(320, 240);

QAction* makeAction(QMainWindow* window, const char* name) {
    auto* action = new QAction(window);
    action->setObjectName(name);
    return action;
}

QAction* makeCheckableAction(QMainWindow* window, const char* name) {
    QAction* action = makeAction(window, name);
    action->setCheckable(true);
    return action;
}

QLabel* makeLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

// Every slider of the form is horizontal with ticks below the groove and a
// minimum of 0; they differ only in range and start value.
QSlider* makeSlider(QWidget* parent, const char* name, int maximum, int value) {
    auto* slider = new QSlider(parent);
    slider->setObjectName(name);
    slider->setMinimum(0);
    slider->setMaximum(maximum);
    slider->setPageStep(kSliderPageStep);
    slider->setValue(value);
    slider->setOrientation(Qt::Horizontal);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

QComboBox* makeDisabledList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEnabled(false);
    return list;
}

QFormLayout* makeFormLayout(QWidget* page, const char* name) {
    auto* layout = new QFormLayout(page);
    layout->setSpacing(kLayoutSpacing);
    layout->setContentsMargins(kLayoutMargin, kLayoutMargin, kLayoutMargin, kLayoutMargin);
    layout->setObjectName(name);
    return layout;
}

QWidget* makePage(const char* name) {
    auto* page = new QWidget();
    page->setObjectName(name);
    return page;
}

QString tr(const char* text) {
    return QCoreApplication::translate("SettingsWindow", text);
}

} // namespace

namespace Ui {

void SettingsWindow::setupUi(QMainWindow* window) {
    if (window->objectName().isEmpty())
        window->setObjectName("SettingsWindow");
    window->resize(kWindowWidth, kWindowHeight);
    setupActions(window);
    setupCentralArea(window);
    setupMenus(window);
    statusBar = new QStatusBar(window);
    statusBar->setObjectName("statusBar");
    window->setStatusBar(statusBar);
    setupDock(window);

    menuBar->addAction(menuOutputs->menuAction());
    menuBar->addAction(menuSettings->menuAction());
    menuBar->addAction(menuHelp->menuAction());
    menuHelp->addAction(actionHelp);
    menuHelp->addSeparator();
    menuHelp->addAction(actionAbout);
    menuSettings->addAction(actionShow);
    menuOutputs->addAction(actionJoystick);
    menuOutputs->addAction(actionOpentrack);
    menuOutputs->addAction(actionFlightGear);
    menuOutputs->addSeparator();
    menuOutputs->addAction(actionPauseOutputs);
    menuOutputs->addAction(actionNetworkAddresses);

    retranslateUi(window);
    tabWidget->setCurrentIndex(kCameraTabIndex);
}

void SettingsWindow::setupActions(QMainWindow* window) {
    actionHelp = makeAction(window, "actionHelp");
    actionHelp->setEnabled(false);
    actionAbout = makeAction(window, "actionAbout");
    actionShow = makeAction(window, "actionShow");
    actionJoystick = makeCheckableAction(window, "actionJoystick");
    actionOpentrack = makeCheckableAction(window, "actionOpentrack");
    actionFlightGear = makeCheckableAction(window, "actionFlightGear");
    actionNetworkAddresses = makeAction(window, "actionNetworkAddresses");
    actionPauseOutputs = makeCheckableAction(window, "actionPauseOutputs");
    actionPauseOutputs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // In no menu, so it is added to the window itself for its shortcut to
    // work wherever the window has the focus.
    actionCentre = makeAction(window, "actionCentre");
    actionCentre->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    window->addAction(actionCentre);
}

void SettingsWindow::setupCentralArea(QMainWindow* window) {
    centralWidget = new QWidget(window);
    centralWidget->setObjectName("centralWidget");
    verticalLayout_2 = new QVBoxLayout(centralWidget);
    verticalLayout_2->setSpacing(kLayoutSpacing);
    verticalLayout_2->setContentsMargins(kLayoutMargin, kLayoutMargin, kLayoutMargin,
                                         kLayoutMargin);
    verticalLayout_2->setObjectName("verticalLayout_2");

    frameGL = new QFrame(centralWidget);
    frameGL->setObjectName("frameGL");
    frameGL->setFrameShape(QFrame::Box);
    frameGL->setFrameShadow(QFrame::Plain);
    horizontalLayout = new QHBoxLayout(frameGL);
    horizontalLayout->setSpacing(0);
    horizontalLayout->setContentsMargins(0, 0, 0, 0);
    horizontalLayout->setObjectName("horizontalLayout");
    verticalLayout_2->addWidget(frameGL);

    window->setCentralWidget(centralWidget);
}

void SettingsWindow::setupMenus(QMainWindow* window) {
    menuBar = new QMenuBar(window);
    menuBar->setObjectName("menuBar");
    menuBar->setGeometry(QRect(0, 0, kWindowWidth, kMenuBarHeight));
    menuOutputs = new QMenu(menuBar);
    menuOutputs->setObjectName("menuOutputs");
    menuHelp = new QMenu(menuBar);
    menuHelp->setObjectName("menuHelp");
    menuSettings = new QMenu(menuBar);
    menuSettings->setObjectName("menuSettings");
    menuSettings->setEnabled(false);
    window->setMenuBar(menuBar);
}

void SettingsWindow::setupDock(QMainWindow* window) {
    dockWidgetSettings = new QDockWidget(window);
    dockWidgetSettings->setObjectName("dockWidgetSettings");
    dockWidgetSettings->setMinimumSize(kDockMinimumSize);
    dockWidgetSettings->setFeatures(QDockWidget::DockWidgetClosable |
                                    QDockWidget::DockWidgetMovable |
                                    QDockWidget::DockWidgetFloatable);
    dockWidgetSettings->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    dockWidgetContents = new QWidget();
    dockWidgetContents->setObjectName("dockWidgetContents");
    verticalLayout = new QVBoxLayout(dockWidgetContents);
    verticalLayout->setSpacing(kLayoutSpacing);
    verticalLayout->setContentsMargins(kLayoutMargin, kLayoutMargin, kLayoutMargin, kLayoutMargin);
    verticalLayout->setObjectName("verticalLayout");
    verticalLayout->setContentsMargins(kDockContentMargin, kDockContentMargin, kDockContentMargin,
                                       kStyleDefaultMargin);

    tabWidget = new QTabWidget(dockWidgetContents);
    tabWidget->setObjectName("tabWidget");
    setupAdjustmentsPage();
    setupInvertPage();
    setupCameraPage();
    // After the original tabs, whose positions keep their meaning.
    setupResponsePage();
    verticalLayout->addWidget(tabWidget);

    buttonBox = new QDialogButtonBox(dockWidgetContents);
    buttonBox->setObjectName("buttonBox");
    buttonBox->setEnabled(false);
    buttonBox->setStandardButtons(QDialogButtonBox::Cancel | QDialogButtonBox::Reset |
                                  QDialogButtonBox::Save);
    buttonBox->setCenterButtons(true);
    verticalLayout->addWidget(buttonBox);

    dockWidgetSettings->setWidget(dockWidgetContents);
    window->addDockWidget(Qt::RightDockWidgetArea, dockWidgetSettings);
}

void SettingsWindow::setupAdjustmentsPage() {
    adj = makePage("adj");
    formLayout_2 = makeFormLayout(adj, "formLayout_2");
    formLayout_2->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    labelAdjustmnet = makeLabel(adj, "labelAdjustmnet");
    formLayout_2->setWidget(0, QFormLayout::SpanningRole, labelAdjustmnet);
    labelRoll = makeLabel(adj, "labelRoll");
    horizontalSliderResponseRoll = makeSlider(adj, "horizontalSliderResponseRoll", 99, 0);
    addSliderRow(1, labelRoll, horizontalSliderResponseRoll, labelResponseRollValue,
                 "labelResponseRollValue");
    label = makeLabel(adj, "label");
    horizontalSliderResponsePitch = makeSlider(adj, "horizontalSliderResponsePitch", 99, 0);
    addSliderRow(2, label, horizontalSliderResponsePitch, labelResponsePitchValue,
                 "labelResponsePitchValue");

    labelAdjustmnet_5 = makeLabel(adj, "labelAdjustmnet_5");
    formLayout_2->setWidget(3, QFormLayout::SpanningRole, labelAdjustmnet_5);
    labelRoll_4 = makeLabel(adj, "labelRoll_4");
    horizontalSliderZeroRoll =
        makeSlider(adj, "horizontalSliderZeroRoll", kLimitSliderMaximum, 127);
    addSliderRow(4, labelRoll_4, horizontalSliderZeroRoll, labelZeroRollValue,
                 "labelZeroRollValue");
    label_6 = makeLabel(adj, "label_6");
    horizontalSliderZeroPitch =
        makeSlider(adj, "horizontalSliderZeroPitch", kLimitSliderMaximum, 127);
    addSliderRow(5, label_6, horizontalSliderZeroPitch, labelZeroPitchValue, "labelZeroPitchValue");

    labelAdjustmnet_2 = makeLabel(adj, "labelAdjustmnet_2");
    formLayout_2->setWidget(6, QFormLayout::SpanningRole, labelAdjustmnet_2);
    labelRoll_2 = makeLabel(adj, "labelRoll_2");
    horizontalSliderMinRoll = makeSlider(adj, "horizontalSliderMinRoll", kLimitSliderMaximum, 0);
    addSliderRow(7, labelRoll_2, horizontalSliderMinRoll, labelMinRollValue, "labelMinRollValue");
    label_2 = makeLabel(adj, "label_2");
    horizontalSliderMinPitch = makeSlider(adj, "horizontalSliderMinPitch", kLimitSliderMaximum, 0);
    addSliderRow(8, label_2, horizontalSliderMinPitch, labelMinPitchValue, "labelMinPitchValue");

    labelAdjustmnet_3 = makeLabel(adj, "labelAdjustmnet_3");
    formLayout_2->setWidget(9, QFormLayout::SpanningRole, labelAdjustmnet_3);
    labelRoll_3 = makeLabel(adj, "labelRoll_3");
    horizontalSliderMaxRoll =
        makeSlider(adj, "horizontalSliderMaxRoll", kLimitSliderMaximum, kLimitSliderMaximum);
    addSliderRow(10, labelRoll_3, horizontalSliderMaxRoll, labelMaxRollValue, "labelMaxRollValue");
    label_3 = makeLabel(adj, "label_3");
    horizontalSliderMaxPitch =
        makeSlider(adj, "horizontalSliderMaxPitch", kLimitSliderMaximum, kLimitSliderMaximum);
    addSliderRow(11, label_3, horizontalSliderMaxPitch, labelMaxPitchValue, "labelMaxPitchValue");
    alignSliderValues();

    // Below the original rows, so that none of them moves. The main window
    // fills the list, as it does the camera page's lists.
    labelTracking = makeLabel(adj, "labelTracking");
    comboBoxTracking = new QComboBox(adj);
    comboBoxTracking->setObjectName("comboBoxTracking");
    formLayout_2->setWidget(12, QFormLayout::LabelRole, labelTracking);
    formLayout_2->setWidget(12, QFormLayout::FieldRole, comboBoxTracking);
    pushButtonCentre = new QPushButton(adj);
    pushButtonCentre->setObjectName("pushButtonCentre");
    formLayout_2->setWidget(13, QFormLayout::SpanningRole, pushButtonCentre);
    pushButtonCalibrate = new QPushButton(adj);
    pushButtonCalibrate->setObjectName("pushButtonCalibrate");
    formLayout_2->setWidget(14, QFormLayout::SpanningRole, pushButtonCalibrate);

    tabWidget->addTab(adj, QString());
}

// The slider and its number share the field, the number after the slider.
void SettingsWindow::addSliderRow(int row, QLabel* label, QSlider* slider, SliderValueLabel*& value,
                                  const char* valueName) {
    value = new SliderValueLabel(*slider, adj);
    value->setObjectName(valueName);
    auto* field = new QHBoxLayout();
    field->addWidget(slider);
    field->addWidget(value);
    formLayout_2->setWidget(row, QFormLayout::LabelRole, label);
    formLayout_2->setLayout(row, QFormLayout::FieldRole, field);
}

// The numbers all take the width of the widest, so that the sliders, of
// different ranges, still line up.
void SettingsWindow::alignSliderValues() {
    const QList<SliderValueLabel*> values = adj->findChildren<SliderValueLabel*>();
    int widest = 0;
    for (const SliderValueLabel* value : values)
        widest = std::max(widest, value->minimumWidth());
    for (SliderValueLabel* value : values)
        value->setMinimumWidth(widest);
}

void SettingsWindow::setupInvertPage() {
    invert = makePage("invert");
    formLayout_4 = makeFormLayout(invert, "formLayout_4");
    label_7 = makeLabel(invert, "label_7");
    formLayout_4->setWidget(0, QFormLayout::LabelRole, label_7);
    checkBoxInvertRoll = new QCheckBox(invert);
    checkBoxInvertRoll->setObjectName("checkBoxInvertRoll");
    formLayout_4->setWidget(1, QFormLayout::LabelRole, checkBoxInvertRoll);
    checkBoxInvertPitch = new QCheckBox(invert);
    checkBoxInvertPitch->setObjectName("checkBoxInvertPitch");
    formLayout_4->setWidget(1, QFormLayout::FieldRole, checkBoxInvertPitch);
    tabWidget->addTab(invert, QString());
}

void SettingsWindow::setupCameraPage() {
    camera = makePage("camera");
    formLayout_3 = makeFormLayout(camera, "formLayout_3");
    formLayout_3->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    labelAdjustmnet_4 = makeLabel(camera, "labelAdjustmnet_4");
    formLayout_3->setWidget(0, QFormLayout::SpanningRole, labelAdjustmnet_4);
    comboBoxCameraSelect = makeDisabledList(camera, "comboBoxCameraSelect");
    comboBoxCameraSelect->setEditable(false);
    formLayout_3->setWidget(1, QFormLayout::SpanningRole, comboBoxCameraSelect);
    label_5 = makeLabel(camera, "label_5");
    formLayout_3->setWidget(2, QFormLayout::LabelRole, label_5);
    comboBoxResolution = makeDisabledList(camera, "comboBoxResolution");
    formLayout_3->setWidget(2, QFormLayout::FieldRole, comboBoxResolution);
    label_4 = makeLabel(camera, "label_4");
    formLayout_3->setWidget(3, QFormLayout::LabelRole, label_4);
    comboBoxFPS = makeDisabledList(camera, "comboBoxFPS");
    formLayout_3->setWidget(3, QFormLayout::FieldRole, comboBoxFPS);

    pushButtonSystemCameraSettings = new QPushButton(camera);
    pushButtonSystemCameraSettings->setObjectName("pushButtonSystemCameraSettings");
    pushButtonSystemCameraSettings->setEnabled(false);
    formLayout_3->setWidget(4, QFormLayout::SpanningRole, pushButtonSystemCameraSettings);

    labelOut = makeLabel(camera, "labelOut");
    labelOut->setMinimumSize(kCameraPictureSize);
    labelOut->setMaximumSize(kCameraPictureSize);
    labelOut->setFrameShape(QFrame::Panel);
    labelOut->setAlignment(Qt::AlignCenter);
    formLayout_3->setWidget(5, QFormLayout::SpanningRole, labelOut);

    tabWidget->addTab(camera, QString());
}

void SettingsWindow::setupResponsePage() {
    response = new ResponsePage();
    response->setObjectName("response");
    tabWidget->addTab(response, QString());
}

void SettingsWindow::retranslateUi(QMainWindow* window) {
    window->setWindowTitle(tr("Zaredezid Settings"));
    actionHelp->setText(tr("Help"));
    actionAbout->setText(tr("About"));
    actionShow->setText(tr("Edit"));
    actionJoystick->setText(tr("Virtual joystick"));
    actionOpentrack->setText(tr("opentrack (UDP)"));
    actionFlightGear->setText(tr("FlightGear"));
    actionNetworkAddresses->setText(tr("Network addresses…"));
    actionPauseOutputs->setText(tr("Pause outputs"));
    actionCentre->setText(tr("Centre"));
    menuOutputs->setTitle(tr("Outputs"));
    menuHelp->setTitle(tr("Help"));
    menuSettings->setTitle(tr("Settings"));
    dockWidgetSettings->setWindowTitle(tr("Settings"));
    labelAdjustmnet->setText(tr("Response adjustments:"));
    for (QLabel* rollLabel : {labelRoll, labelRoll_4, labelRoll_2, labelRoll_3})
        rollLabel->setText(tr("Roll"));
    for (QLabel* pitchLabel : {label, label_6, label_2, label_3})
        pitchLabel->setText(tr("Pitch"));
    labelAdjustmnet_5->setText(tr("Zeroes:"));
    labelAdjustmnet_2->setText(tr("Minimums:"));
    labelAdjustmnet_3->setText(tr("Maximums:"));
    labelTracking->setText(tr("Tracking:"));
    pushButtonCentre->setText(tr("Centre"));
    pushButtonCalibrate->setText(tr("Calibrate…"));
    tabWidget->setTabText(tabWidget->indexOf(adj), tr("Adjustments"));
    checkBoxInvertRoll->setText(tr("Roll"));
    checkBoxInvertPitch->setText(tr("Pitch"));
    label_7->setText(tr("Invert Axis:"));
    tabWidget->setTabText(tabWidget->indexOf(invert), tr("Invert"));
    labelAdjustmnet_4->setText(tr("Camera selection:"));
    label_5->setText(tr("Resolution:"));
    label_4->setText(tr("FPS:"));
    pushButtonSystemCameraSettings->setText(tr("System camera settings window"));
    labelOut->setText(QString());
    tabWidget->setTabText(tabWidget->indexOf(camera), tr("Camera"));
    tabWidget->setTabText(tabWidget->indexOf(response), tr("Response"));
}

} // namespace Ui
