#include "view/ViewSurface.h"

#include "view/ViewPainter.h"

#include <QMouseEvent>
#include <QOpenGLContext>

ViewSurface::ViewSurface(ViewPainter& painter, const QSurfaceFormat& format)
    : painter(painter) {
    setFormat(format);
}

void ViewSurface::paintNow() {
    if (!isValid() || !isExposed())
        return;
    makeCurrent();
    painter.paintGL(true);
    context()->swapBuffers(this);
}

// The frame is read before the swap: afterwards the back buffer's content is
// undefined, and on Wayland it is another buffer altogether.
QImage ViewSurface::paintAndGrab() {
    if (!isValid())
        return {};
    makeCurrent();
    painter.paintGL(true);
    QImage frame = grabFramebuffer();
    if (isExposed())
        context()->swapBuffers(this);
    return frame;
}

void ViewSurface::initializeGL() {
    painter.initializeGL();
}

// Qt may resize the window while another context is current.
void ViewSurface::resizeGL(int w, int h) {
    if (!isValid())
        return;
    makeCurrent();
    painter.resizeGL(w, h, devicePixelRatio());
}

void ViewSurface::paintGL() {
    painter.paintGL(false);
}

void ViewSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    painter.doubleClicked();
}
