#include "view/GLWidget.h"

#include "app/ProcessObjects.h"
#include "view/CXGLReader.h"
#include "view/MainWindowControls.h"
#include "view/RunnerThr.h"
#include "view/ViewSurface.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QSurfaceFormat>
#include <QWindow>
#include <QtMath>
#include <algorithm>

namespace {

// The estimator reports a level line as 127.5, while the view's steering and
// instruments count 90 as level.
constexpr float kEstimatorLevelRoll = 127.5f;
constexpr float kViewLevelRoll = 90.0f;
// The projection's far plane, beyond the terrain's farthest slice.
constexpr double kFarPlane = 8192.0;
// The terrain's slices lie at z = 10 - d, so those nearer than 10 are clipped.
constexpr float kTerrainShift = 10.0f;

void setSkyClearColour() {
    glClearColor(0.8f, 0.7f, 1.0f, 1.0f);
}

// The view draws with fixed-function GL, display lists and GLU, which only a
// compatibility context keeps.
QSurfaceFormat viewFormat(int samples) {
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSamples(samples);
    return format;
}

} // namespace

GLWidget::GLWidget(QWidget* parent)
    : GLWidget(std::make_unique<MainWindowControls>(), parent) {}

GLWidget::GLWidget(std::unique_ptr<ViewControls> viewControls, QWidget* parent, int samples)
    : QWidget(parent)
    , multisampled(samples > 1)
    , controls(std::move(viewControls))
    , surface(new ViewSurface(*this, viewFormat(samples))) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(QWidget::createWindowContainer(surface, this));
    QMutexLocker locker(&mutex);
    connect(&runnerThr, &RunnerThr::ping, this, &GLWidget::update, Qt::BlockingQueuedConnection);
}

// A view that is its own top-level window hides it while the bases destroy
// it, and the news must not reach this half-destroyed object. The pacing
// thread outlives the view; a pause the view asked for must not hold back
// the next view's repaints.
GLWidget::~GLWidget() {
    // The surface paints with this object, which is going.
    delete surface;
    if (topLevelWindow) {
        disconnect(topLevelWindow, nullptr, this, nullptr);
        topLevelWindow->removeEventFilter(this);
    }
    if (concealed)
        controls->resumePacing();
}

void GLWidget::compileModel() {
    modelList = glGenLists(1);
    qDebug().nospace() << "LIST=" << (modelList == GL_INVALID_OPERATION);
    glNewList(modelList, GL_COMPILE);
    for (const QString& name : xglReader.meshNames())
        xglReader.drawMesh(name);
    glEndList();
    aircraft.measure(xglReader);
}

// Before the first showing there is no context to paint with.
void GLWidget::update() {
    if (!concealed)
        surface->paintNow();
}

bool GLWidget::isValid() const {
    return surface->isValid();
}

QImage GLWidget::grabFramebuffer() {
    return surface->paintAndGrab();
}

void GLWidget::updateData(float _roll, float _pitch) {
    const float roll = _roll - (kEstimatorLevelRoll - kViewLevelRoll);
    QMutexLocker locker(&mutex);
    terrain.steer(roll, _pitch);
    overlay.roll = roll;
    overlay.pitch = _pitch;
}

void GLWidget::mousePressEvent(QMouseEvent* event) {
    // Qt hands double clicks to mousePressEvent through the default
    // mouseDoubleClickEvent; single presses of any button do nothing.
    if (event->type() != QEvent::MouseButtonDblClick)
        return;
    event->accept();
    doubleClicked();
}

void GLWidget::doubleClicked() {
    if (controls->startStop())
        controls->startPacing();
    else
        controls->stopPacing();
}

void GLWidget::mouseMoveEvent(QMouseEvent*) {}

void GLWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    watchTopLevelWindow();
}

// The top-level window exists once it is being shown, which is also when
// this view is first shown. A window manager that minimises a window unmaps
// it, which only an expose event tells; minimising through Qt, or hiding,
// changes the window's visibility instead.
void GLWidget::watchTopLevelWindow() {
    QWindow* shownIn = window()->windowHandle();
    if (!shownIn || shownIn == topLevelWindow)
        return;
    if (topLevelWindow)
        topLevelWindow->removeEventFilter(this);
    topLevelWindow = shownIn;
    topLevelUnmapped = false;
    topLevelWindow->installEventFilter(this);
    connect(topLevelWindow, &QWindow::visibilityChanged, this, &GLWidget::followTopLevelWindow,
            Qt::UniqueConnection);
}

bool GLWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == topLevelWindow && event->type() == QEvent::Expose) {
        topLevelUnmapped = !topLevelWindow->isExposed();
        followTopLevelWindow();
    }
    return QWidget::eventFilter(watched, event);
}

void GLWidget::followTopLevelWindow() {
    if (!topLevelWindow)
        return;
    const QWindow::Visibility visibility = topLevelWindow->visibility();
    const bool nowConcealed =
        topLevelUnmapped || visibility == QWindow::Hidden || visibility == QWindow::Minimized;
    if (nowConcealed == concealed)
        return;
    concealed = nowConcealed;
    if (concealed)
        controls->pausePacing();
    else
        controls->resumePacing();
}

void GLWidget::initializeGL() {
    // A context made anew (at the first showing, or a new one after the
    // widget moved to another window) has no model list yet.
    if (!glIsList(modelList))
        compileModel();
    // The resize also builds the terrain's texture and fog.
    resizeGL(surface->width(), surface->height(), surface->devicePixelRatio());
    {
        QMutexLocker locker(&mutex);
        setInitialGLState();
    }
    // Showing the view starts the controller and the repaints; no lock is
    // held, as both reach into other threads.
    controls->startStop();
    controls->startPacing();
}

void GLWidget::setInitialGLState() {
    glShadeModel(GL_SMOOTH);
    setSkyClearColour();
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_POLYGON_SMOOTH);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The picture fills the surface's device pixels, while the projection counts
// logical ones, so everything in it keeps its size on a dense screen.
void GLWidget::resizeGL(int w, int h, double devicePixelRatio) {
    QMutexLocker locker(&mutex);
    // A zero size, either way, is drawn as one pixel; m stays zero then,
    // so GL rejects the degenerate projection and keeps the identity.
    const int m = std::min(w, h);
    w = std::max(w, 1);
    h = std::max(h, 1);
    glViewport(0, 0, qCeil(w * devicePixelRatio), qCeil(h * devicePixelRatio));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    overlay.viewWidth = w;
    overlay.viewHeight = h;
    overlay.devicePixelRatio = devicePixelRatio;
    // A square view is one unit per pixel; otherwise the shorter side
    // keeps its pixels and the longer one is squeezed.
    const int right = (m * w) / h, top = (m * h) / w;
    glOrtho(0, right, 0, top, 0, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    terrain.setupTextureAndFog(w, h);
}

void GLWidget::paintGL(bool advance) {
    QMutexLocker locker(&mutex);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // The overlay goes first, at depth 0: everything after it lies deeper and
    // fails the depth test where it has drawn.
    overlay.draw();
    aircraft.draw(modelList, overlay.roll, overlay.viewWidth, overlay.viewHeight);
    setSkyClearColour();
    glTranslatef(0.0f, 0.0f, kTerrainShift);
    // Multisampled rasterisation ignores polygon smoothing, so opaque terrain
    // fragments would blend to exactly themselves; not blending them spares
    // reading back every sample they cover.
    const bool blendTerrain = !(multisampled && terrain.drawsOpaque());
    if (!blendTerrain)
        glDisable(GL_BLEND);
    if (advance)
        terrain.stepAndDraw();
    else
        terrain.draw();
    if (!blendTerrain)
        glEnable(GL_BLEND);
}
