#pragma once

#include "analysis/EstimatorKind.h"

// The tracking choices, kept in a group of their own in the same store as the
// thirteen settings so that those keys and their layout stay as they are.
// Loaded when constructed and saved when destroyed, like SettingsStorage.
class TrackingSettings {
public:
    TrackingSettings();
    ~TrackingSettings();
    TrackingSettings(const TrackingSettings&) = delete;
    TrackingSettings& operator=(const TrackingSettings&) = delete;

    EstimatorKind estimator = EstimatorKind::Precise;

    void load();
    void save();
};
