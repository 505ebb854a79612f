#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <cstdlib>

namespace fuzz {

// A current OpenGL context on an offscreen surface, for targets whose code
// under test issues GL calls. Made once per process, after the application
// object; needs an X display (the fuzz runs use a virtual one).
inline void makeGLContextCurrent() {
    static QOffscreenSurface* surface = nullptr;
    static QOpenGLContext* context = nullptr;
    if (context) {
        context->makeCurrent(surface);
        return;
    }
    surface = new QOffscreenSurface;
    surface->create();
    context = new QOpenGLContext;
    if (!context->create() || !context->makeCurrent(surface))
        std::abort();
}

} // namespace fuzz
