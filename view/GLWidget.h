#pragma once

#include "view/Aircraft.h"
#include "view/Overlay.h"
#include "view/Terrain.h"
#include "view/ViewControls.h"
#include "view/ViewPainter.h"

#include <QImage>
#include <QMutex>
#include <QPointer>
#include <QWidget>
#include <memory>

class QWindow;
class ViewSurface;

// The flight view: a first-person flight over the terrain where roll steers
// the heading and pitch moves the horizon, with the instrument overlay and
// the aircraft on top, drawn with fixed-function GL into a compatibility
// context on a native surface of its own. Repainted by the pacing thread
// through update(); a double click starts or stops the whole controller.
// While its top-level window is minimised or hidden nobody can see it, so it
// paints nothing and pauses the pacing until the window is shown again.
class GLWidget : public QWidget, private ViewPainter {
    Q_OBJECT
public:
    // Samples per pixel of the view's picture unless told otherwise.
    static constexpr int kDefaultSamples = 4;

    explicit GLWidget(QWidget* parent = nullptr);
    // For tests and benchmarks: the controls to switch instead of the main
    // window's, and the samples per pixel (0 for none).
    explicit GLWidget(std::unique_ptr<ViewControls> controls, QWidget* parent = nullptr,
                      int samples = kDefaultSamples);
    ~GLWidget() override;

    QSize sizeHint() const override { return {400, 400}; }
    QSize minimumSizeHint() const override { return {50, 50}; }

    // The flight and instrument state as the next frame will show it.
    const Terrain& flightState() const { return terrain; }
    const Overlay& instruments() const { return overlay; }
    // Whether the surface has its GL context, which it gets once shown.
    bool isValid() const;
    // Paints one frame and returns it as drawn, in device pixels.
    QImage grabFramebuffer();

public slots:
    // Paints one frame at once and puts it on the screen, in the calling
    // (GUI) thread.
    void update();
    // Takes the estimator's roll (127.5 level) and pitch.
    void updateData(float _roll, float _pitch);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void initializeGL() override;
    void resizeGL(int w, int h, double devicePixelRatio) override;
    void paintGL(bool advance) override;
    void doubleClicked() override;

    void compileModel();
    void setInitialGLState();
    void watchTopLevelWindow();
    void followTopLevelWindow();

    Terrain terrain;
    Overlay overlay;
    // Guards terrain, overlay and every sequence of GL
    // calls the widget makes.
    QMutex mutex;
    GLuint modelList = 0;
    const bool multisampled;
    Aircraft aircraft;
    std::unique_ptr<ViewControls> controls;
    ViewSurface* surface;
    // The window whose state decides whether the view can be seen. Its
    // exposure comes only as events, so the last one is kept; both flags
    // start false so that the first showing, which passes through states
    // that are not yet exposed, pauses nothing.
    QPointer<QWindow> topLevelWindow;
    bool topLevelUnmapped = false;
    bool concealed = false;
};
