#pragma once

#include "capture/platform/CameraControls.h"

#include <QString>

// Text about a camera's controls, for people and for the command line: the
// names of kinds, one line describing a control, and values read from text
// and written back as text that reads the same.
class CameraControlText {
public:
    // "int", "int64", "bool", "menu", "intmenu", "button", "bitmask", "string"
    static QString kindName(platform::ControlKind kind);
    // v4l2-ctl's short form of a control name: lower case, every run of other
    // than letters and digits becomes one '_', none at either end
    // ("Gain, Automatic" -> "gain_automatic").
    static QString shortName(const QString& name);
    // Whether the control switches an automatic mode ("Gain, Automatic",
    // "Auto Exposure"): those are set before the others, since a driver may
    // refuse a manual exposure or gain while its automatic mode is still on.
    static bool isAutomaticMode(const platform::CameraControl& control);
    // True when name is the control's name (case-insensitive) or its short form.
    static bool matches(const platform::CameraControl& control, const QString& name);
    // One line for --list-controls, fields two spaces apart: name, kind, range
    // (or menu entries, or string length), default, value, then the flags set.
    static QString describe(const platform::CameraControl& control);
    // Parses text as a value of control into wanted (a copy of control with
    // its value or text replaced): integers within the range and on the step
    // grid from the minimum, booleans as 0/1/true/false/on/off, menus by an
    // entry's label or index, integer menus by the number or index, bitmasks
    // in decimal or 0x hex within the mask, strings by length, buttons take
    // anything. False with why, a sentence naming the control, when the text
    // is no such value, is out of range, or the control is read-only.
    static bool parse(const platform::CameraControl& control, const QString& text,
                      platform::CameraControl& wanted, QString& why);
    // The value of control as text that parse() reads back (for saving).
    static QString valueText(const platform::CameraControl& control);
};
