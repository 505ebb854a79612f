#include "app/SettingsStorage.h"
#include "app/UiSettingsWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMainWindow>
#include <QSettings>
#include <QSlider>
#include <gtest/gtest.h>

#include <array>

namespace {

using Form = Ui::SettingsWindow;
using Limits = std::array<int, 6>;

// The six limit sliders, pitch then roll, each as minimum, zero and maximum.
constexpr QSlider* Form::*kLimitSliders[] = {
    &Form::horizontalSliderMinPitch, &Form::horizontalSliderZeroPitch,
    &Form::horizontalSliderMaxPitch, &Form::horizontalSliderMinRoll,
    &Form::horizontalSliderZeroRoll, &Form::horizontalSliderMaxRoll};
constexpr int SettingsStorage::*kLimitFields[] = {
    &SettingsStorage::minPitch, &SettingsStorage::zeroPitch, &SettingsStorage::maxPitch,
    &SettingsStorage::minRoll,  &SettingsStorage::zeroRoll,  &SettingsStorage::maxRoll};

class SettingsStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        QSettings().clear();
        ui.setupUi(&window);
    }

    static void store(const char* key, const QVariant& value) { QSettings().setValue(key, value); }

    // As in the main window, every slider change runs the handler again, so
    // a correction made by the handler re-enters it. The connections end
    // with the storage.
    void showAndReact(SettingsStorage& storage) {
        storage.updateUi(&ui);
        for (QSlider* slider : window.findChildren<QSlider*>())
            QObject::connect(slider, &QSlider::valueChanged, &storage,
                             [&storage, this] { storage.somethingChanged(&ui); });
    }

    Limits sliderLimits() const {
        Limits limits{};
        for (size_t i = 0; i < limits.size(); ++i)
            limits[i] = (ui.*kLimitSliders[i])->value();
        return limits;
    }

    static void setLimits(SettingsStorage& storage, const Limits& limits) {
        for (size_t i = 0; i < limits.size(); ++i)
            storage.*kLimitFields[i] = limits[i];
    }

    static Limits fieldLimits(const SettingsStorage& storage) {
        Limits limits{};
        for (size_t i = 0; i < limits.size(); ++i)
            limits[i] = storage.*kLimitFields[i];
        return limits;
    }

    QMainWindow window;
    Form ui;
};

// A value beyond its slider's range shows clamped but is kept until a control
// changes, so merely starting the program never rewrites a setting.
TEST_F(SettingsStorageTest, StoredValuesReachTheWidgetsAndClampedOnesAreKeptUntilAChange) {
    store("settings/ResponsePitch", 33);
    store("settings/ResponseRoll", 200);
    store("settings/ZeroPitch", "level");
    store("settings/InvertPitch", true);
    {
        SettingsStorage storage;
        storage.updateUi(&ui);
        EXPECT_EQ(ui.horizontalSliderResponsePitch->value(), 33);
        EXPECT_EQ(ui.horizontalSliderResponseRoll->value(), 99);
        EXPECT_EQ(ui.horizontalSliderZeroPitch->value(), 0) << "not a number reads as 0";
        EXPECT_EQ(ui.horizontalSliderZeroRoll->value(), 127);
        EXPECT_TRUE(ui.checkBoxInvertPitch->isChecked());
        EXPECT_FALSE(ui.checkBoxInvertRoll->isChecked());
    }
    EXPECT_EQ(QSettings().value("settings/ResponseRoll").toInt(), 200);
    {
        SettingsStorage storage;
        storage.updateUi(&ui);
        storage.somethingChanged(&ui);
    }
    EXPECT_EQ(QSettings().value("settings/ResponseRoll").toInt(), 99);
}

// Pitch keeps minimum < zero < maximum, roll minimum <= zero <= maximum. A
// limit that was moved is pushed past the zero; a moved zero is pulled back
// inside the limit. Nothing else moves.
TEST_F(SettingsStorageTest, MovedSliderSettlesInOrderAndNothingElseMoves) {
    struct Case {
        int slider; // position in kLimitSliders
        int movedTo;
        int settlesAt;
    };
    const Case cases[] = {{1, 255, 254}, {2, 100, 128}, {0, 127, 126},
                          {4, 200, 200}, {4, 50, 50},   {4, 205, 199}};
    for (const Case& move : cases) {
        SCOPED_TRACE(move.movedTo);
        SettingsStorage storage;
        setLimits(storage, {0, 127, 255, 50, 127, 200});
        showAndReact(storage);
        Limits expected = sliderLimits();
        expected[size_t(move.slider)] = move.settlesAt;

        (ui.*kLimitSliders[move.slider])->setValue(move.movedTo);
        EXPECT_EQ(sliderLimits(), expected);
        EXPECT_EQ(fieldLimits(storage), expected);
    }
}

// Limits from a damaged or hand-edited store that leave the zero no place
// settle in one pass around the zero instead of correcting each other forever.
TEST_F(SettingsStorageTest, StoredLimitsWithoutRoomForTheZeroSettleAroundIt) {
    struct Case {
        Limits stored;
        Limits settled;
    };
    const Case cases[] = {
        {{200, 127, 100, 200, 127, 100}, {126, 127, 128, 127, 127, 127}},
        {{0, 0, 1, 90, 10, 90}, {0, 1, 2, 10, 10, 10}},
    };
    for (const Case& damaged : cases) {
        SettingsStorage storage;
        setLimits(storage, damaged.stored);
        showAndReact(storage);
        storage.somethingChanged(&ui);
        EXPECT_EQ(fieldLimits(storage), damaged.settled);
        EXPECT_EQ(sliderLimits(), damaged.settled);
    }
}

} // namespace
