#pragma once

class QAction;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDockWidget;
class QFormLayout;
class QFrame;
class QHBoxLayout;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QPushButton;
class QSlider;
class ResponsePage;
class SliderValueLabel;
class QStatusBar;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace Ui {

// The main window's form: pointers to every action, widget and layout of the
// window. It owns nothing; all objects belong to the window's object tree.
class SettingsWindow {
public:
    QAction* actionHelp;
    QAction* actionAbout;
    QAction* actionShow;
    QAction* actionJoystick;
    QAction* actionOpentrack;
    QAction* actionFlightGear;
    QAction* actionNetworkAddresses;
    QAction* actionPauseOutputs;
    QAction* actionCentre;
    QWidget* centralWidget;
    QVBoxLayout* verticalLayout_2;
    QFrame* frameGL;
    QHBoxLayout* horizontalLayout;
    QMenuBar* menuBar;
    QMenu* menuOutputs;
    QMenu* menuHelp;
    QMenu* menuSettings;
    QStatusBar* statusBar;
    QDockWidget* dockWidgetSettings;
    QWidget* dockWidgetContents;
    QVBoxLayout* verticalLayout;
    QTabWidget* tabWidget;
    QWidget* adj;
    QFormLayout* formLayout_2;
    QLabel* labelAdjustmnet;
    QLabel* labelRoll;
    QSlider* horizontalSliderResponseRoll;
    QLabel* label;
    QSlider* horizontalSliderResponsePitch;
    QLabel* labelAdjustmnet_5;
    QLabel* labelRoll_4;
    QSlider* horizontalSliderZeroRoll;
    QLabel* label_6;
    QSlider* horizontalSliderZeroPitch;
    QLabel* labelAdjustmnet_2;
    QLabel* labelRoll_2;
    QSlider* horizontalSliderMinRoll;
    QLabel* label_2;
    QSlider* horizontalSliderMinPitch;
    QLabel* labelAdjustmnet_3;
    QLabel* labelRoll_3;
    QSlider* horizontalSliderMaxRoll;
    QLabel* label_3;
    QSlider* horizontalSliderMaxPitch;
    QLabel* labelTracking;
    QComboBox* comboBoxTracking;
    QPushButton* pushButtonCentre;
    QPushButton* pushButtonCalibrate;
    SliderValueLabel* labelResponseRollValue;
    SliderValueLabel* labelResponsePitchValue;
    SliderValueLabel* labelZeroRollValue;
    SliderValueLabel* labelZeroPitchValue;
    SliderValueLabel* labelMinRollValue;
    SliderValueLabel* labelMinPitchValue;
    SliderValueLabel* labelMaxRollValue;
    SliderValueLabel* labelMaxPitchValue;
    QWidget* invert;
    QFormLayout* formLayout_4;
    QCheckBox* checkBoxInvertRoll;
    QCheckBox* checkBoxInvertPitch;
    QLabel* label_7;
    QWidget* camera;
    QFormLayout* formLayout_3;
    QLabel* labelAdjustmnet_4;
    QComboBox* comboBoxCameraSelect;
    QLabel* label_5;
    QComboBox* comboBoxResolution;
    QLabel* label_4;
    QComboBox* comboBoxFPS;
    QPushButton* pushButtonSystemCameraSettings;
    QLabel* labelOut;
    ResponsePage* response;
    QDialogButtonBox* buttonBox;

    void setupUi(QMainWindow* window);
    void retranslateUi(QMainWindow* window);

private:
    void setupActions(QMainWindow* window);
    void setupCentralArea(QMainWindow* window);
    void setupMenus(QMainWindow* window);
    void setupDock(QMainWindow* window);
    void setupAdjustmentsPage();
    void setupInvertPage();
    void setupCameraPage();
    void setupResponsePage();
    void addSliderRow(int row, QLabel* label, QSlider* slider, SliderValueLabel*& value,
                      const char* valueName);
    void alignSliderValues();
};

} // namespace Ui
