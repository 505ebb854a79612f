#pragma once

#include <QString>

enum class OutputKind { Joystick, Opentrack, FlightGear };

// One output the user asked for: its kind and, for the network outputs, where
// the updates go. The host and port are checked when the output opens.
struct OutputRequest {
    OutputKind kind = OutputKind::Joystick;
    QString host;
    int port = 0;
};

// The ports opentrack's "UDP over network" input and the FlightGear option
// shipped with the protocol file listen on.
constexpr int kOpentrackDefaultPort = 4242;
constexpr int kFlightGearDefaultPort = 5500;
