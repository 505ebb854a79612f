#pragma once

#include "output/OutputRequest.h"
#include "output/ResponseShaping.h"

#include <QString>

#include <array>

// Which outputs are switched on, where the network ones send and how each
// axis responds, kept in a
// group of their own in the same store as the thirteen settings so that those
// keys and their layout stay as they are. Loaded when constructed and saved
// when destroyed, like SettingsStorage.
class OutputSettings {
public:
    // One output as the user left it. The joystick has no address.
    struct Choice {
        bool enabled = false;
        QString host;
        int port = 0;
    };

    OutputSettings();
    ~OutputSettings();
    OutputSettings(const OutputSettings&) = delete;
    OutputSettings& operator=(const OutputSettings&) = delete;

    Choice& choice(OutputKind kind);
    ResponseShaping response;

    void load();
    void save();

private:
    std::array<Choice, 3> choices;
};
