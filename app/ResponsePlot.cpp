#include "app/ResponsePlot.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCurveSamples = 200;
constexpr double kDefaultRefreshHz = 60;
constexpr int kMargin = 4;
constexpr double kDotRadius = 3.5;
// Two plots side by side must fit the settings dock with their controls.
const QSize kMinimumSize(110, 110);
const QSize kPreferredSize(150, 150);
const QColor kDeadZoneShade(128, 128, 128, 60);

} // namespace

ResponsePlot::ResponsePlot(QWidget* parent)
    : QWidget(parent) {
    setMinimumSize(kMinimumSize);
    // Square, so that the layout spends no height on an empty band above
    // and below the plot.
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    repaintTimer.setSingleShot(true);
    connect(&repaintTimer, &QTimer::timeout, this, &ResponsePlot::repaintNow);
    sinceRepaint.start();
}

QSize ResponsePlot::sizeHint() const {
    return kPreferredSize;
}

void ResponsePlot::setResponse(const AxisResponse& newResponse) {
    response = newResponse;
    update();
}

// A point that arrives while a repaint waits only replaces the one it will
// draw; one that arrives while the plot is out of sight is drawn when it
// comes back into sight.
void ResponsePlot::setLivePoint(double input, double output) {
    live = {input, output};
    if (repaintTimer.isActive() || !canBeSeen())
        return;
    const qint64 wait = std::max<qint64>(0, frameIntervalMs() - sinceRepaint.elapsed());
    repaintTimer.start(int(wait));
}

void ResponsePlot::repaintNow() {
    sinceRepaint.restart();
    update();
}

// A minimised window keeps its widgets "visible", so it is asked apart.
bool ResponsePlot::canBeSeen() const {
    return isVisible() && !window()->isMinimized();
}

int ResponsePlot::frameIntervalMs() const {
    const QScreen* display = screen();
    const double refreshHz =
        display && display->refreshRate() > 0 ? display->refreshRate() : kDefaultRefreshHz;
    return int(std::ceil(1000 / refreshHz));
}

// Restoring a minimised window repaints only what was marked for repainting
// before, which the points that came meanwhile were not; so the plot
// watches the window it is in, which changes when the dock floats.
void ResponsePlot::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    window()->installEventFilter(this);
    update();
}

bool ResponsePlot::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && event->type() == QEvent::WindowStateChange &&
        !window()->isMinimized())
        update();
    return QWidget::eventFilter(watched, event);
}

// The largest square that fits, centred, so both axes have the same scale.
QRectF ResponsePlot::plotArea() const {
    const double side = std::min(width(), height()) - 2 * kMargin;
    return {(width() - side) / 2, (height() - side) / 2, side, side};
}

QPointF ResponsePlot::toWidget(QPointF point, const QRectF& area) const {
    return {area.center().x() + point.x() * area.width() / 2,
            area.center().y() - point.y() * area.height() / 2};
}

void ResponsePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = plotArea();
    painter.fillRect(area, palette().base());

    const double deadZoneWidth = response.deadZone * area.width();
    painter.fillRect(
        QRectF(area.center().x() - deadZoneWidth / 2, area.top(), deadZoneWidth, area.height()),
        kDeadZoneShade);

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);
    painter.drawLine(toWidget({-1, 0}, area), toWidget({1, 0}, area));
    painter.drawLine(toWidget({0, -1}, area), toWidget({0, 1}, area));

    QPainterPath curve;
    for (int sample = 0; sample <= kCurveSamples; ++sample) {
        const double input = -1 + 2.0 * sample / kCurveSamples;
        const QPointF point = toWidget({input, response.shape(input)}, area);
        if (sample == 0)
            curve.moveTo(point);
        else
            curve.lineTo(point);
    }
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawPath(curve);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::red);
    painter.drawEllipse(toWidget(live, area), kDotRadius, kDotRadius);
}
