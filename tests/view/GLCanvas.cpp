#include "tests/view/GLCanvas.h"

#include <QSurfaceFormat>
#include <QTest>
#include <gtest/gtest.h>

GLCanvas::GLCanvas(int width, int height) {
    QSurfaceFormat compatibility = QSurfaceFormat::defaultFormat();
    compatibility.setProfile(QSurfaceFormat::CompatibilityProfile);
    compatibility.setDepthBufferSize(24);
    setFormat(compatibility);
    setFixedSize(width, height);
    show();
    (void)QTest::qWaitForWindowExposed(this);
    makeCurrent();
}

void GLCanvas::ortho(double left, double right, double bottom, double top, double nearZ,
                     double farZ) {
    makeCurrent();
    glViewport(0, 0, width(), height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, nearZ, farZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

QImage GLCanvas::render(const std::function<void()>& draw) {
    ortho(0, width(), 0, height(), -1, 8192);
    draw();
    glFinish();
    // Read as stored, bottom row first; what the drawing left in alpha is
    // not part of the picture.
    QImage picture(width(), height(), QImage::Format_RGBX8888);
    glReadPixels(0, 0, width(), height(), GL_RGBA, GL_UNSIGNED_BYTE, picture.bits());
    return picture.mirrored();
}

std::vector<FeedbackPolygon> feedbackPolygons(const std::function<void()>& draw) {
    constexpr int kVertexFloats = 11;
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);

    std::vector<FeedbackPolygon> polygons;
    const auto vertexAt = [&](GLint at) {
        const GLfloat* v = &buffer[static_cast<size_t>(at)];
        return FeedbackVertex{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
    };
    for (GLint at = 0; at < used;) {
        // The code under test draws filled triangles only; anything else
        // would shift every entry after it, so it ends the reading loudly.
        if (static_cast<GLint>(buffer[static_cast<size_t>(at++)]) != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "feedback holds an entry that is not a polygon";
            break;
        }
        const auto count = static_cast<GLint>(buffer[static_cast<size_t>(at++)]);
        FeedbackPolygon polygon;
        for (GLint i = 0; i < count; ++i, at += kVertexFloats)
            polygon.push_back(vertexAt(at));
        polygons.push_back(polygon);
    }
    return polygons;
}

QRgb pixelAt(const QImage& image, int x, int y) {
    return image.pixel(x, image.height() - 1 - y);
}

bool isWhite(QRgb pixel) {
    constexpr int kNearlyFull = 230;
    return qRed(pixel) >= kNearlyFull && qGreen(pixel) >= kNearlyFull &&
           qBlue(pixel) >= kNearlyFull;
}
