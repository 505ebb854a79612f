#pragma once

#include "view/XGLTypes.h"

#include <GL/gl.h>

class CXGLReader;

// Shows the compiled aircraft model small, from behind, at the bottom centre
// of the view, banked like the overlay's aircraft symbol and lit. It is drawn
// between the overlay and the terrain: its depths lie just behind the
// overlay's and in front of every terrain slice past the near plane.
class Aircraft {
public:
    // Takes the model's extent, so the drawing can centre and size it.
    void measure(const CXGLReader& reader);
    bool isEmpty() const { return radius <= 0.0; }
    // Draws `modelList` into a view of the given size in pixels; roll has 90
    // as level. Leaves the projection, model-view and depth range as found.
    void draw(GLuint modelList, float roll, int viewWidth, int viewHeight) const;

private:
    void setUpLighting() const;

    // Centre and half diagonal of the model in view units (after the
    // renderer's scale).
    XGLVector centre{};
    double radius = 0.0;
};
