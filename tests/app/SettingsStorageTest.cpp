#include "app/SettingsStorage.h"
#include "app/UiSettingsWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QSettings>
#include <QSlider>
#include <gtest/gtest.h>

#include <memory>

namespace {

class SettingsStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        QSettings().clear();
        ui.setupUi(&window);
    }

    void store(const char* key, const QVariant& value) {
        QSettings settings;
        settings.setValue(key, value);
    }

    static QVariant stored(const char* key) { return QSettings().value(key); }

    // As in the main window, every slider change runs the handler again, so
    // a correction made by the handler re-enters it.
    void reactToSliders(SettingsStorage& storage) {
        for (QSlider* slider : window.findChildren<QSlider*>())
            QObject::connect(slider, &QSlider::valueChanged, slider,
                             [&storage, this] { storage.somethingChanged(&ui); });
    }

    QMainWindow window;
    Ui::SettingsWindow ui;
};

TEST_F(SettingsStorageTest, FirstRunWritesExactlyTheThirteenDefaults) {
    { SettingsStorage storage; }
    const QSettings settings;
    const QStringList expectedKeys = {
        "settings/CameraId",      "settings/FPSId",        "settings/InvertPitch",
        "settings/InvertRoll",    "settings/MaxPitch",     "settings/MaxRoll",
        "settings/MinPitch",      "settings/MinRoll",      "settings/ResolutionId",
        "settings/ResponsePitch", "settings/ResponseRoll", "settings/ZeroPitch",
        "settings/ZeroRoll"};
    QStringList keys = settings.allKeys();
    keys.sort();
    EXPECT_EQ(keys, expectedKeys);
    EXPECT_EQ(stored("settings/ResponseRoll").toInt(), 50);
    EXPECT_EQ(stored("settings/ResponsePitch").toInt(), 50);
    EXPECT_EQ(stored("settings/ZeroRoll").toInt(), 127);
    EXPECT_EQ(stored("settings/ZeroPitch").toInt(), 127);
    EXPECT_EQ(stored("settings/MinRoll").toInt(), 0);
    EXPECT_EQ(stored("settings/MinPitch").toInt(), 0);
    EXPECT_EQ(stored("settings/MaxRoll").toInt(), 255);
    EXPECT_EQ(stored("settings/MaxPitch").toInt(), 255);
    EXPECT_FALSE(stored("settings/InvertRoll").toBool());
    EXPECT_FALSE(stored("settings/InvertPitch").toBool());
    EXPECT_EQ(stored("settings/CameraId").toInt(), -1);
    EXPECT_EQ(stored("settings/FPSId").toInt(), 1);
    EXPECT_EQ(stored("settings/ResolutionId").toInt(), 0);
}

TEST_F(SettingsStorageTest, StoredValuesReachTheWidgets) {
    store("settings/ResponsePitch", 33);
    store("settings/ZeroRoll", 100);
    store("settings/MaxPitch", 200);
    store("settings/InvertPitch", true);
    SettingsStorage storage;
    storage.updateUi(&ui);
    EXPECT_EQ(ui.horizontalSliderResponsePitch->value(), 33);
    EXPECT_EQ(ui.horizontalSliderResponseRoll->value(), 50);
    EXPECT_EQ(ui.horizontalSliderZeroRoll->value(), 100);
    EXPECT_EQ(ui.horizontalSliderMaxPitch->value(), 200);
    EXPECT_EQ(ui.horizontalSliderMinPitch->value(), 0);
    EXPECT_TRUE(ui.checkBoxInvertPitch->isChecked());
    EXPECT_FALSE(ui.checkBoxInvertRoll->isChecked());
}

TEST_F(SettingsStorageTest, ClampedValueIsKeptUntilSomethingChanges) {
    store("settings/ResponseRoll", 200);
    {
        SettingsStorage storage;
        storage.updateUi(&ui);
        EXPECT_EQ(ui.horizontalSliderResponseRoll->value(), 99);
    }
    EXPECT_EQ(stored("settings/ResponseRoll").toInt(), 200);
    {
        SettingsStorage storage;
        storage.updateUi(&ui);
        storage.somethingChanged(&ui);
    }
    EXPECT_EQ(stored("settings/ResponseRoll").toInt(), 99);
}

TEST_F(SettingsStorageTest, ValueThatIsNotANumberReadsAsZero) {
    store("settings/ZeroPitch", "level");
    SettingsStorage storage;
    EXPECT_EQ(storage.zeroPitch, 0);
}

TEST_F(SettingsStorageTest, PitchZeroMovedOntoMaximumIsPulledBackInside) {
    SettingsStorage storage;
    storage.updateUi(&ui);
    reactToSliders(storage);
    ui.horizontalSliderZeroPitch->setValue(255);
    EXPECT_EQ(ui.horizontalSliderZeroPitch->value(), 254);
    EXPECT_EQ(storage.zeroPitch, 254);
    EXPECT_EQ(storage.maxPitch, 255);
}

TEST_F(SettingsStorageTest, PitchLimitsMovedOntoZeroArePushedPastIt) {
    SettingsStorage storage;
    storage.updateUi(&ui);
    reactToSliders(storage);
    ui.horizontalSliderMaxPitch->setValue(100);
    EXPECT_EQ(ui.horizontalSliderMaxPitch->value(), 128);
    EXPECT_EQ(storage.maxPitch, 128);
    ui.horizontalSliderMinPitch->setValue(127);
    EXPECT_EQ(ui.horizontalSliderMinPitch->value(), 126);
    EXPECT_EQ(storage.minPitch, 126);
    EXPECT_EQ(storage.zeroPitch, 127);
}

TEST_F(SettingsStorageTest, RollZeroMayEqualItsLimitsButNotPassThem) {
    store("settings/MaxRoll", 200);
    store("settings/MinRoll", 50);
    SettingsStorage storage;
    storage.updateUi(&ui);
    reactToSliders(storage);
    ui.horizontalSliderZeroRoll->setValue(200);
    EXPECT_EQ(storage.zeroRoll, 200);
    ui.horizontalSliderZeroRoll->setValue(50);
    EXPECT_EQ(storage.zeroRoll, 50);
    ui.horizontalSliderZeroRoll->setValue(205);
    EXPECT_EQ(ui.horizontalSliderZeroRoll->value(), 199);
    EXPECT_EQ(storage.zeroRoll, 199);
    EXPECT_EQ(storage.maxRoll, 200);
}

// Limits from a damaged or hand-edited store that leave the zero no place
// settle in one pass around the zero instead of correcting each other forever.
TEST_F(SettingsStorageTest, CrossedStoredLimitsSettleAroundTheZero) {
    store("settings/MinPitch", 200);
    store("settings/MaxPitch", 100);
    store("settings/MinRoll", 200);
    store("settings/MaxRoll", 100);
    SettingsStorage storage;
    storage.updateUi(&ui);
    reactToSliders(storage);
    storage.somethingChanged(&ui);
    EXPECT_EQ(storage.minPitch, 126);
    EXPECT_EQ(storage.zeroPitch, 127);
    EXPECT_EQ(storage.maxPitch, 128);
    EXPECT_EQ(storage.minRoll, 127);
    EXPECT_EQ(storage.zeroRoll, 127);
    EXPECT_EQ(storage.maxRoll, 127);
    EXPECT_EQ(ui.horizontalSliderMinPitch->value(), 126);
    EXPECT_EQ(ui.horizontalSliderMaxRoll->value(), 127);
}

TEST_F(SettingsStorageTest, PitchWithoutRoomAtTheRangeEdgeKeepsItsLimitsInRange) {
    store("settings/MinPitch", 0);
    store("settings/ZeroPitch", 0);
    store("settings/MaxPitch", 1);
    store("settings/MinRoll", 90);
    store("settings/ZeroRoll", 10);
    store("settings/MaxRoll", 90);
    SettingsStorage storage;
    storage.updateUi(&ui);
    reactToSliders(storage);
    storage.somethingChanged(&ui);
    EXPECT_EQ(storage.minPitch, 0);
    EXPECT_EQ(storage.zeroPitch, 1);
    EXPECT_EQ(storage.maxPitch, 2);
    EXPECT_EQ(storage.minRoll, 10);
    EXPECT_EQ(storage.zeroRoll, 10);
    EXPECT_EQ(storage.maxRoll, 10);
}

// A settings path that is not a readable file (here a folder in its place)
// must neither stop the program nor pass silently.
TEST_F(SettingsStorageTest, UnusableStoreStartsWithDefaultsAndSaysSo) {
    const QString path = QSettings().fileName();
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path));
    testing::internal::CaptureStderr();
    {
        SettingsStorage storage;
        EXPECT_EQ(storage.responseRoll, 50);
        EXPECT_EQ(storage.cameraId, -1);
    }
    const std::string warnings = testing::internal::GetCapturedStderr();
    QDir(path).removeRecursively();
    EXPECT_NE(warnings.find("could not be read"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("could not be written"), std::string::npos) << warnings;
}

} // namespace
