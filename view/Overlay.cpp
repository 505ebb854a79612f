#include "view/Overlay.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kRollNeutral = 90.0;
// Every 5 units of roll tilt the symbol by about one degree.
constexpr double kRollPerTilt = -5.0;
constexpr int kTickCount = 7;
constexpr float kScaleLineWidth = 2.0f;
constexpr float kSymbolLineWidth = 1.5f;
constexpr int kMarkerShoulder = 16;
constexpr int kMarkerLength = 50;
constexpr int kMarkerHalfHeight = 8;
// The V of the aircraft symbol reaches this fraction of the centre height down.
constexpr double kSymbolDepth = 0.13;
constexpr int kReadoutMargin = 6;

void segment(double x1, double y1, double x2, double y2) {
    glBegin(GL_LINES);
    glVertex2f(static_cast<float>(x1), static_cast<float>(y1));
    glVertex2f(static_cast<float>(x2), static_cast<float>(y2));
    glEnd();
}

} // namespace

void Overlay::draw() {
    const int w = viewWidth, h = std::max(viewHeight, 1);
    const int k = std::min(w, h) / 2 - std::min(w, h) / 4;
    const float aspect = static_cast<float>(w) / static_cast<float>(h);
    const float cx = static_cast<float>(w / 2);
    const float cy = h / (2 * aspect);
    const float tick = static_cast<float>(k / 20);
    const float step = static_cast<float>((2 * k) / 8);
    const float x0 = cx - k * aspect;
    const float xr = x0 + 2 * k * aspect;
    const float y0 = cy - k;

    const auto ratio = static_cast<float>(devicePixelRatio);
    glLineWidth(kScaleLineWidth * ratio);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(255, 255, 255);
    drawScales(x0, xr, y0, y0 + 2 * k, tick, step);
    drawPitchMarkers(x0, xr, y0, k, tick);
    glLineWidth(kSymbolLineWidth * ratio);
    glColor3ub(255, 255, 255);
    drawAircraftSymbol(cx, cy, aspect, k);
    drawReadout();
    // No flush here: the frame goes on drawing, and a flush would make the
    // software renderer rasterise the overlay as a scene of its own.
    glEnable(GL_TEXTURE_2D);
}

void Overlay::drawScales(float x0, float xr, float y0, float y1, float tick, float step) const {
    segment(x0, y0, x0 + tick, y0);
    segment(x0 + tick, y0, x0 + tick, y1);
    segment(x0, y1, x0 + tick, y1);
    segment(xr - tick, y0, xr, y0);
    segment(xr - tick, y0, xr - tick, y1);
    segment(xr - tick, y1, xr, y1);
    // Odd ticks reach further out than even ones.
    float y = y0;
    for (int i = 1; i <= kTickCount; ++i) {
        y += step;
        const float overhang = i % 2 == 1 ? 2 * tick : 0.0f;
        segment(x0 - overhang, y, x0 + tick, y);
        segment(xr - tick, y, xr + overhang, y);
    }
}

void Overlay::drawPitchMarkers(float x0, float xr, float y0, int k, float tick) const {
    // Each unit of pitch moves the markers two units down; nothing clamps them.
    const int py = static_cast<int>(y0 + k - 2 * pitch);
    const int pl = static_cast<int>(x0 - 2 * tick);
    const int pr = static_cast<int>(xr + 2 * tick);
    for (const int side : {-1, 1}) {
        const int tip = side < 0 ? pl : pr;
        glBegin(GL_POLYGON);
        glVertex2i(tip, py);
        glVertex2i(tip + side * kMarkerShoulder, py + kMarkerHalfHeight);
        glVertex2i(tip + side * kMarkerLength, py + kMarkerHalfHeight);
        glVertex2i(tip + side * kMarkerLength, py - kMarkerHalfHeight);
        glVertex2i(tip + side * kMarkerShoulder, py - kMarkerHalfHeight);
        glEnd();
    }
}

void Overlay::drawAircraftSymbol(float cx, float cy, float aspect, int k) const {
    const float theta = static_cast<float>((roll - kRollNeutral) * 3.14 / 180 / kRollPerTilt);
    const float c = std::cos(theta), s = std::sin(theta);
    // (u, v) turned by theta about the centre, the x offset stretched by the
    // aspect ratio so the symbol keeps its shape in the stretched projection.
    const auto line = [&](double u1, double v1, double u2, double v2) {
        segment(cx + aspect * (u1 * c - v1 * s), cy + (u1 * s + v1 * c),
                cx + aspect * (u2 * c - v2 * s), cy + (u2 * s + v2 * c));
    };
    const double depth = -kSymbolDepth * cy;
    line(-0.8 * k, 0, -0.2 * k, 0);
    line(0.8 * k, 0, 0.2 * k, 0);
    line(0.2 * k, 0, 0.07 * k, depth);
    line(-0.2 * k, 0, -0.07 * k, depth);
}

void Overlay::drawReadout() {
    // The projection's top edge: T = min(w, h) * h / w.
    const int w = std::max(viewWidth, 1), h = std::max(viewHeight, 1);
    const int top = std::min(w, h) * h / w;
    readout.show(roll, pitch, devicePixelRatio);
    readout.draw(kReadoutMargin, top - 1);
}
