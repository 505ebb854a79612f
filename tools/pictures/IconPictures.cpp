#include "tools/pictures/IconPictures.h"

#include "tools/pictures/Canvas.h"
#include "tools/pictures/CoverageMask.h"
#include "tools/pictures/Pictogram.h"

#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>

namespace {

const QPointF kCentre(IconPictures::kSize / 2.0, IconPictures::kSize / 2.0);
constexpr double kDiscRadius = 15.0;
constexpr double kRimWidth = 1.1;

CoverageMask disc(double radius, const QPointF& centre = kCentre) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    CoverageMask mask(IconPictures::kSize, IconPictures::kSize);
    mask.add(path);
    return mask;
}

double share(double from, double to, double value) {
    return std::clamp((value - from) / (to - from), 0.0, 1.0);
}

// A darker ring at the disc's edge and a soft light on its upper half give
// the flat disc some depth.
void paintRimAndSheen(Canvas& canvas, const Rgba& rim) {
    CoverageMask ring = disc(kDiscRadius);
    ring.subtract(disc(kDiscRadius - kRimWidth));
    canvas.paint(ring, rim);
    QPainterPath sheen;
    sheen.addEllipse(QPointF(kCentre.x(), kCentre.y() - 6.5), 10.5, 7.0);
    CoverageMask sheenMask(IconPictures::kSize, IconPictures::kSize);
    sheenMask.add(sheen);
    sheenMask.intersect(disc(kDiscRadius - kRimWidth));
    canvas.paint(sheenMask, [](double, double y) {
        return rgb(0xffffff, 0.28 * (1.0 - share(2.0, 14.0, y)));
    });
}

} // namespace

QImage IconPictures::aboutIcon() {
    Canvas canvas(kSize, kSize, rgb(0x000000, 0.0));
    canvas.paint(disc(kDiscRadius), [](double x, double y) {
        return mix(rgb(0x74b6ff), rgb(0x1b55bd), share(4.0, 30.0, 0.35 * x + 0.65 * y));
    });
    paintRimAndSheen(canvas, rgb(0x123f8f));

    CoverageMask letter = disc(2.4, QPointF(kCentre.x(), 9.0));
    QPainterPath stem(QPointF(kCentre.x(), 14.5));
    stem.lineTo(kCentre.x(), 24.0);
    QPainterPathStroker pen;
    pen.setWidth(4.4);
    pen.setCapStyle(Qt::RoundCap);
    letter.add(pen.createStroke(stem));
    canvas.paint(letter, rgb(0xffffff));
    return canvas.toImage();
}

QImage IconPictures::emblem() {
    Canvas canvas(kSize, kSize, rgb(0x000000, 0.0));
    canvas.paint(disc(kDiscRadius), [](double, double y) {
        return mix(rgb(0x2a2372), rgb(0xb49cf2), share(2.0, 30.0, y));
    });
    CoverageMask person(kSize, kSize);
    Pictogram::addPerson(person, QPointF(kCentre.x(), 27.5), 22.0, 0.24);
    canvas.paint(person, rgb(0xffffff));
    paintRimAndSheen(canvas, rgb(0x1c1650));
    return canvas.toImage();
}
