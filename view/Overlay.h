#pragma once

#include "view/ValueReadout.h"

// The flight view's 2D instruments, drawn in white at depth 0 so that the
// terrain drawn after them stays behind: two vertical scales with ticks, two
// pitch markers that move with the pitch value, an aircraft symbol that tilts
// with the roll value, and a text read-out of both values in the corner.
// It shows the values as they arrive, not the eased flight state.
class Overlay {
public:
    // Draws in the widget's projection: x from 0 to R, y from 0 to T, y up.
    void draw();

    // Set by the widget's resize; the height is at least 1 once set.
    int viewWidth = 0;
    int viewHeight = 0;
    // Device pixels to one unit of the view, where lines and text are as
    // thick and as large as on a screen of ordinary density.
    double devicePixelRatio = 1.0;
    // Roll with 90 as level, and pitch, as last received.
    float roll = 0.0f;
    float pitch = 0.0f;

private:
    void drawScales(float x0, float xr, float y0, float y1, float tick, float step) const;
    void drawPitchMarkers(float x0, float xr, float y0, int k, float tick) const;
    void drawAircraftSymbol(float cx, float cy, float aspect, int k) const;
    void drawReadout();

    ValueReadout readout;
};
