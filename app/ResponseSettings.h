#pragma once

#include "output/ResponseShaping.h"

class QSettings;

// The response of each axis, kept in the outputs' group of the settings
// store. The window and the tracker read it from the same keys.
class ResponseSettings {
public:
    // A value out of its range, or not a number, is brought into range and
    // said once on standard error, headed by the program's name.
    static ResponseShaping load(const QSettings& store);
    static void save(QSettings& store, const ResponseShaping& response);
};
