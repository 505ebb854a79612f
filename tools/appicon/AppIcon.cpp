#include "tools/appicon/AppIcon.h"

#include "tools/pictures/Canvas.h"
#include "tools/pictures/CoverageMask.h"
#include "tools/pictures/Pictogram.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// Layout in units of a 32-unit square, y down.
constexpr double kGrid = 32.0;
const QPointF kCentre(16.0, 16.0);
constexpr double kBallRadius = 15.2;
constexpr double kBezelWidth = 1.6;
// The bank of the horizon and of the person's upper body, in radians: enough
// to read as a turn, little enough that the figure still stands.
constexpr double kBank = 0.26;
// The figure stands with its feet near the ball's bottom and its shoulders
// on the horizon.
const QPointF kFeet(16.0, 27.6);
constexpr double kFigureHeight = 17.5;
constexpr double kShoulderShare = 0.76;
constexpr double kHorizonLineWidth = 0.9;

double share(double from, double to, double value) {
    return std::clamp((value - from) / (to - from), 0.0, 1.0);
}

// Paints in grid units onto a canvas of any size.
class GridPainter {
public:
    explicit GridPainter(int size)
        : scale(size / kGrid)
        , canvas(size, size, rgb(0x000000, 0.0)) {}

    CoverageMask mask(const QPainterPath& gridPath) const {
        CoverageMask result(canvas.width(), canvas.height());
        result.add(QTransform::fromScale(scale, scale).map(gridPath));
        return result;
    }

    CoverageMask disc(double radius) const {
        QPainterPath path;
        path.addEllipse(kCentre, radius, radius);
        return mask(path);
    }

    // Wraps a shader written in grid units.
    Canvas::Shader inGrid(const std::function<Rgba(double, double)>& gridShader) const {
        const double pixelsPerUnit = scale;
        return [gridShader, pixelsPerUnit](double x, double y) {
            return gridShader(x / pixelsPerUnit, y / pixelsPerUnit);
        };
    }

    const double scale;
    Canvas canvas;
};

// Where the horizon meets the vertical through the centre, and its slope.
QPointF shoulderPoint() {
    const double up = (kShoulderShare - 0.47) * kFigureHeight;
    const double hipY = kFeet.y() - 0.47 * kFigureHeight;
    return QPointF(kFeet.x() + up * std::sin(kBank), hipY - up * std::cos(kBank));
}

// Signed distance below the banked horizon, in grid units.
double belowHorizon(double x, double y) {
    const QPointF shoulder = shoulderPoint();
    return (y - shoulder.y()) * std::cos(kBank) - (x - shoulder.x()) * std::sin(kBank);
}

QPainterPath groundHalf() {
    const QPointF shoulder = shoulderPoint();
    const QPointF along(std::cos(kBank), std::sin(kBank));
    const QPointF down(-std::sin(kBank), std::cos(kBank));
    QPainterPath path(shoulder - along * kGrid);
    path.lineTo(shoulder + along * kGrid);
    path.lineTo(shoulder + along * kGrid + down * kGrid * 2);
    path.lineTo(shoulder - along * kGrid + down * kGrid * 2);
    path.closeSubpath();
    return path;
}

void paintBall(GridPainter& painter) {
    const CoverageMask ball = painter.disc(kBallRadius - kBezelWidth / 2);
    painter.canvas.paint(ball, painter.inGrid([](double x, double y) {
        return mix(rgb(0x1d4f9c), rgb(0x8fd0f5), share(-14.0, 0.0, belowHorizon(x, y)));
    }));
    CoverageMask ground = painter.mask(groundHalf());
    ground.intersect(ball);
    painter.canvas.paint(ground, painter.inGrid([](double x, double y) {
        return mix(rgb(0xb7793a), rgb(0x5b3417), share(0.0, 14.0, belowHorizon(x, y)));
    }));

    const QPointF shoulder = shoulderPoint();
    const QPointF along(std::cos(kBank), std::sin(kBank));
    QPainterPath horizon(shoulder - along * kGrid);
    horizon.lineTo(shoulder + along * kGrid);
    QPainterPathStroker pen;
    pen.setWidth(kHorizonLineWidth);
    CoverageMask line = painter.mask(pen.createStroke(horizon));
    line.intersect(ball);
    painter.canvas.paint(line, rgb(0xffffff));
}

// Yellow like an attitude indicator's aircraft symbol, over a soft dark
// halo that keeps the figure apart from both sky and ground.
void paintFigure(GridPainter& painter) {
    CoverageMask figure(painter.canvas.width(), painter.canvas.height());
    Pictogram::addPerson(figure, kFeet * painter.scale, kFigureHeight * painter.scale, kBank);
    const int haloRadius = std::max(1, static_cast<int>(std::lround(0.6 * painter.scale)));
    std::vector<double> halo = painter.canvas.blurred(figure.coverage(), haloRadius);
    for (double& value : halo) {
        value = std::min(1.0, 2.2 * value);
    }
    const std::vector<double> inside = painter.disc(kBallRadius - kBezelWidth).coverage();
    for (std::size_t i = 0; i < halo.size(); ++i) {
        halo[i] = std::min(halo[i], inside[i]);
    }
    painter.canvas.paint(halo, [](double, double) { return rgb(0x10141f, 0.55); });
    painter.canvas.paint(figure, painter.inGrid([](double, double y) {
        return mix(rgb(0xffe066), rgb(0xf5a300), share(6.0, 28.0, y));
    }));
}

// A dark bezel with a lighter inner edge, and a soft gloss on the upper half.
void paintBezelAndGloss(GridPainter& painter) {
    CoverageMask bezel = painter.disc(kBallRadius);
    bezel.subtract(painter.disc(kBallRadius - kBezelWidth));
    painter.canvas.paint(bezel, painter.inGrid([](double, double y) {
        return mix(rgb(0x3a4256), rgb(0x161a24), share(2.0, 30.0, y));
    }));
    QPainterPath gloss;
    gloss.addEllipse(QPointF(kCentre.x(), kCentre.y() - 7.0), 11.0, 7.0);
    CoverageMask glossMask = painter.mask(gloss);
    glossMask.intersect(painter.disc(kBallRadius - kBezelWidth));
    painter.canvas.paint(glossMask, painter.inGrid([](double, double y) {
        return rgb(0xffffff, 0.22 * (1.0 - share(2.0, 15.0, y)));
    }));
}

} // namespace

QImage AppIcon::render(int size) {
    GridPainter painter(size);
    paintBall(painter);
    paintFigure(painter);
    paintBezelAndGloss(painter);
    return painter.canvas.toImage();
}
