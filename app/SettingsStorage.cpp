#include "app/SettingsStorage.h"

#include "app/UiSettingsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kLimitSliderMaximum = 255;

const char* const kResponseRollKey = "settings/ResponseRoll";
const char* const kResponsePitchKey = "settings/ResponsePitch";
const char* const kZeroRollKey = "settings/ZeroRoll";
const char* const kZeroPitchKey = "settings/ZeroPitch";
const char* const kMinRollKey = "settings/MinRoll";
const char* const kMinPitchKey = "settings/MinPitch";
const char* const kMaxRollKey = "settings/MaxRoll";
const char* const kMaxPitchKey = "settings/MaxPitch";
const char* const kInvertRollKey = "settings/InvertRoll";
const char* const kInvertPitchKey = "settings/InvertPitch";
const char* const kCameraIdKey = "settings/CameraId";
const char* const kFpsIdKey = "settings/FPSId";
const char* const kResolutionIdKey = "settings/ResolutionId";

// A value that is not a number reads as 0, as QVariant's conversion gives it.
int readInt(const QSettings& store, const char* key, int defaultValue) {
    return store.value(key, defaultValue).toInt();
}

bool readBool(const QSettings& store, const char* key, bool defaultValue) {
    return store.value(key, defaultValue).toBool();
}

void warnAbout(const QSettings& store, const char* problem) {
    std::fprintf(stderr, "zaredezid: settings file %s %s\n", qPrintable(store.fileName()), problem);
}

bool holdsAnySetting(const QSettings& store) {
    for (const char* key : {kResponseRollKey, kResponsePitchKey, kZeroRollKey, kZeroPitchKey,
                            kMinRollKey, kMinPitchKey, kMaxRollKey, kMaxPitchKey, kInvertRollKey,
                            kInvertPitchKey, kCameraIdKey, kFpsIdKey, kResolutionIdKey}) {
        if (store.contains(key))
            return true;
    }
    return false;
}

void moveSlider(QSlider* slider, int value) {
    slider->setValue(value);
    slider->setSliderPosition(value);
}

// Puts limits into the sliders without re-entering the change handler: used
// only when the handler itself must not run again on a half-settled axis.
void moveSliderQuietly(QSlider* slider, int value) {
    const QSignalBlocker blocker(slider);
    moveSlider(slider, value);
}

} // namespace

SettingsStorage::SettingsStorage() {
    load();
}

SettingsStorage::~SettingsStorage() {
    save();
}

void SettingsStorage::load() {
    const QSettings store;
    responseRoll = readInt(store, kResponseRollKey, 50);
    responsePitch = readInt(store, kResponsePitchKey, 50);
    zeroRoll = readInt(store, kZeroRollKey, 127);
    zeroPitch = readInt(store, kZeroPitchKey, 127);
    minRoll = readInt(store, kMinRollKey, 0);
    minPitch = readInt(store, kMinPitchKey, 0);
    maxRoll = readInt(store, kMaxRollKey, 255);
    maxPitch = readInt(store, kMaxPitchKey, 255);
    invertRoll = readBool(store, kInvertRollKey, false);
    invertPitch = readBool(store, kInvertPitchKey, false);
    cameraId = readInt(store, kCameraIdKey, -1);
    fpsId = readInt(store, kFpsIdKey, 1);
    resolutionId = readInt(store, kResolutionIdKey, 0);
    // QSettings skips what it cannot parse, often without reporting an error,
    // so a file of noise reads as an empty store. Every save writes all the
    // keys: a file that holds none of them is damaged too.
    if (store.status() != QSettings::NoError)
        warnAbout(store, "could not be read; starting with the default settings");
    else if (QFileInfo::exists(store.fileName()) && !holdsAnySetting(store))
        warnAbout(store, "holds no settings; starting with the default settings");
}

void SettingsStorage::save() {
    QSettings store;
    store.setValue(kResponseRollKey, responseRoll);
    store.setValue(kResponsePitchKey, responsePitch);
    store.setValue(kZeroRollKey, zeroRoll);
    store.setValue(kZeroPitchKey, zeroPitch);
    store.setValue(kMinRollKey, minRoll);
    store.setValue(kMinPitchKey, minPitch);
    store.setValue(kMaxRollKey, maxRoll);
    store.setValue(kMaxPitchKey, maxPitch);
    store.setValue(kInvertRollKey, invertRoll);
    store.setValue(kInvertPitchKey, invertPitch);
    store.setValue(kCameraIdKey, cameraId);
    store.setValue(kFpsIdKey, fpsId);
    store.setValue(kResolutionIdKey, resolutionId);
    // The store replaces its file in one step, so a failed write leaves the
    // previous settings intact; the user is told they were not saved. A format
    // error comes from the old file and was already reported when it was loaded.
    store.sync();
    if (store.status() == QSettings::AccessError)
        warnAbout(store, "could not be written; the settings of this run are lost");
}

void SettingsStorage::updateUi(Ui::SettingsWindow* ui) {
    moveSlider(ui->horizontalSliderMaxPitch, maxPitch);
    moveSlider(ui->horizontalSliderZeroPitch, zeroPitch);
    moveSlider(ui->horizontalSliderMinPitch, minPitch);
    moveSlider(ui->horizontalSliderMaxRoll, maxRoll);
    moveSlider(ui->horizontalSliderZeroRoll, zeroRoll);
    moveSlider(ui->horizontalSliderMinRoll, minRoll);
    ui->horizontalSliderResponseRoll->setValue(responseRoll);
    ui->horizontalSliderResponsePitch->setValue(responsePitch);
    ui->checkBoxInvertPitch->setChecked(invertPitch);
    ui->checkBoxInvertRoll->setChecked(invertRoll);
}

void SettingsStorage::somethingChanged(Ui::SettingsWindow* ui) {
    AxisLimits pitch{ui->horizontalSliderMinPitch->value(), ui->horizontalSliderZeroPitch->value(),
                     ui->horizontalSliderMaxPitch->value()};
    AxisLimits roll{ui->horizontalSliderMinRoll->value(), ui->horizontalSliderZeroRoll->value(),
                    ui->horizontalSliderMaxRoll->value()};
    orderPitch(pitch, {ui->horizontalSliderMinPitch, ui->horizontalSliderZeroPitch,
                       ui->horizontalSliderMaxPitch});
    orderRoll(roll, {ui->horizontalSliderMinRoll, ui->horizontalSliderZeroRoll,
                     ui->horizontalSliderMaxRoll});
    storeFromUi(ui, pitch, roll);
}

// Pitch keeps minimum < zero < maximum. A limit that was just moved is pushed
// one step past the zero; otherwise the zero is pulled one step inside the
// limit. Each correction moves a connected slider, so the whole handler runs
// again, nested, before this run stores anything.
//
// Limits less than two steps apart leave no place for the zero, and the two
// corrections would then undo each other forever. In that case the zero keeps
// its place (kept one step inside the slider range) and both limits are set
// one step either side of it, without re-entering the handler.
void SettingsStorage::orderPitch(AxisLimits& pitch, const AxisSliders& sliders) {
    if (pitch.maximum - pitch.minimum < 2) {
        pitch.zero = std::clamp(pitch.zero, 1, kLimitSliderMaximum - 1);
        pitch.minimum = pitch.zero - 1;
        pitch.maximum = pitch.zero + 1;
        moveSliderQuietly(sliders.zero, pitch.zero);
        moveSliderQuietly(sliders.minimum, pitch.minimum);
        moveSliderQuietly(sliders.maximum, pitch.maximum);
        return;
    }
    if (pitch.maximum <= pitch.zero) {
        if (pitch.maximum != maxPitch) {
            pitch.maximum = pitch.zero + 1;
            moveSlider(sliders.maximum, pitch.maximum);
        } else {
            pitch.zero = pitch.maximum - 1;
            moveSlider(sliders.zero, pitch.zero);
        }
    }
    if (pitch.minimum >= pitch.zero) {
        if (pitch.minimum != minPitch) {
            pitch.minimum = pitch.zero - 1;
            moveSlider(sliders.minimum, pitch.minimum);
        } else {
            pitch.zero = pitch.minimum + 1;
            moveSlider(sliders.zero, pitch.zero);
        }
    }
}

// Roll keeps minimum <= zero <= maximum, with the same rule for which slider
// gives way. When the limits are crossed, or meet away from the zero, there is
// no place for the zero: both limits are then set onto the zero.
void SettingsStorage::orderRoll(AxisLimits& roll, const AxisSliders& sliders) {
    const bool limitsCrossed = roll.maximum < roll.minimum;
    const bool limitsMeetAwayFromZero = roll.maximum == roll.minimum && roll.zero != roll.maximum;
    if (limitsCrossed || limitsMeetAwayFromZero) {
        roll.minimum = roll.zero;
        roll.maximum = roll.zero;
        moveSliderQuietly(sliders.minimum, roll.minimum);
        moveSliderQuietly(sliders.maximum, roll.maximum);
        return;
    }
    if (roll.maximum < roll.zero) {
        if (roll.maximum != maxRoll) {
            roll.maximum = roll.zero + 1;
            moveSlider(sliders.maximum, roll.maximum);
        } else {
            roll.zero = roll.maximum - 1;
            moveSlider(sliders.zero, roll.zero);
        }
    }
    if (roll.minimum > roll.zero) {
        if (roll.minimum != minRoll) {
            roll.minimum = roll.zero - 1;
            moveSlider(sliders.minimum, roll.minimum);
        } else {
            roll.zero = roll.minimum + 1;
            moveSlider(sliders.zero, roll.zero);
        }
    }
}

void SettingsStorage::storeFromUi(Ui::SettingsWindow* ui, const AxisLimits& pitch,
                                  const AxisLimits& roll) {
    responsePitch = ui->horizontalSliderResponsePitch->value();
    responseRoll = ui->horizontalSliderResponseRoll->value();
    maxPitch = pitch.maximum;
    maxRoll = roll.maximum;
    minPitch = pitch.minimum;
    minRoll = roll.minimum;
    zeroPitch = pitch.zero;
    zeroRoll = roll.zero;
    invertPitch = ui->checkBoxInvertPitch->isChecked();
    invertRoll = ui->checkBoxInvertRoll->isChecked();
    cameraId = ui->comboBoxCameraSelect->currentIndex();
    fpsId = ui->comboBoxFPS->currentIndex();
    resolutionId = ui->comboBoxResolution->currentIndex();
}
