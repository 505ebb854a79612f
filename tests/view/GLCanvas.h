#pragma once

#include <GL/gl.h>
#include <QImage>
#include <QOpenGLWidget>
#include <functional>
#include <vector>

// A shown GL widget, single-sampled in a compatibility context like the
// view's, whose context and picture tests draw into directly, then read the
// pixels back from (QWidget::grab does not see GL content).
class GLCanvas : public QOpenGLWidget {
public:
    explicit GLCanvas(int width = 400, int height = 400);

    // Makes the context current, sets a projection of one unit per pixel
    // with y up, runs `draw` and reads the picture, top row first.
    QImage render(const std::function<void()>& draw);
    // Makes the context current, fills the window with the viewport and
    // shows the given box of model space in it, with an identity model view.
    void ortho(double left, double right, double bottom, double top, double nearZ, double farZ);

protected:
    void initializeGL() override {}
    void resizeGL(int, int) override {}
    void paintGL() override {}
};

// One corner of a polygon that GL's feedback mode reports, in window
// coordinates, with its colour and its texture coordinates as the texture
// matrix leaves them.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t;
};
using FeedbackPolygon = std::vector<FeedbackVertex>;

// Runs `draw`, which may draw filled polygons only, in feedback mode in the
// current context and returns those that survived clipping, in drawing order.
std::vector<FeedbackPolygon> feedbackPolygons(const std::function<void()>& draw);

// Pixel helpers with y counted upward from the bottom row, as GL does.
QRgb pixelAt(const QImage& image, int x, int y);
bool isWhite(QRgb pixel);
