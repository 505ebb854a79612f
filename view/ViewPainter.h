#pragma once

// What draws the flight view into its surface and answers its clicks. The
// surface calls these in the GUI thread with its GL context current.
class ViewPainter {
public:
    virtual ~ViewPainter() = default;
    // Once for every new context.
    virtual void initializeGL() = 0;
    // The surface's size in logical pixels and how many device pixels make
    // one, after every change of either.
    virtual void resizeGL(int w, int h, double devicePixelRatio) = 0;
    // The pacing's frames move the flight on; Qt's repaints of a window
    // exposed or resized show it where it is.
    virtual void paintGL(bool advance) = 0;
    virtual void doubleClicked() = 0;
};
