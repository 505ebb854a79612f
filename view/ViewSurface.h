#pragma once

#include <QOpenGLWindow>

class ViewPainter;

// The native window the flight view draws into. It is shown inside the view's
// widget, and its frames go straight to the screen like any native window's:
// no second pass composes them into the top-level window's picture, a pass
// that costs the software renderer as much again as a small frame.
class ViewSurface : public QOpenGLWindow {
    Q_OBJECT
public:
    ViewSurface(ViewPainter& painter, const QSurfaceFormat& format);

    // Paints one frame and shows it, now, once the window is on the screen
    // with its context.
    void paintNow();
    // Paints one frame, reads it back in device pixels and shows it; a null
    // image before the window has its context.
    QImage paintAndGrab();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    ViewPainter& painter;
};
