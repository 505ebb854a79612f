#pragma once

#include "view/Aircraft.h"
#include "view/Overlay.h"
#include "view/Terrain.h"
#include "view/ViewControls.h"

#include <QGLWidget>
#include <QMutex>
#include <QPointer>
#include <memory>

class QWindow;

// The flight view: a first-person flight over the terrain where roll steers
// the heading and pitch moves the horizon, with the instrument overlay and
// the aircraft on top. Repainted by the pacing thread through update(); a
// double click starts or stops the whole controller. While its top-level
// window is minimised or hidden nobody can see it, so it paints nothing and
// pauses the pacing until the window is shown again.
class GLWidget : public QGLWidget {
    Q_OBJECT
public:
    explicit GLWidget(QWidget* parent = nullptr);
    // For tests and benchmarks: the controls to switch instead of the main
    // window's, and the context's format options (multisampled by default).
    explicit GLWidget(std::unique_ptr<ViewControls> controls, QWidget* parent = nullptr,
                      QGL::FormatOptions formatOptions = QGL::SampleBuffers);
    ~GLWidget() override;

    QSize sizeHint() const override { return {400, 400}; }
    QSize minimumSizeHint() const override { return {50, 50}; }

    // The flight and instrument state as the next frame will show it.
    const Terrain& flightState() const { return terrain; }
    const Overlay& instruments() const { return overlay; }

public slots:
    // Paints one frame at once, in the calling thread, without a paint event.
    void update();
    // Takes the estimator's roll (127.5 level) and pitch.
    void updateData(float _roll, float _pitch);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

private:
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
    Aircraft aircraft;
    std::unique_ptr<ViewControls> controls;
    // The window whose state decides whether the view can be seen. Its
    // exposure comes only as events, so the last one is kept; both flags
    // start false so that the first showing, which passes through states
    // that are not yet exposed, pauses nothing.
    QPointer<QWindow> topLevelWindow;
    bool topLevelUnmapped = false;
    bool concealed = false;
};
