#include "tools/pictures/Lettering.h"

#include "tools/pictures/CoverageMask.h"

#include <QPainterPath>
#include <QPainterPathStroker>

#include <cmath>

namespace {

// In glyph units: the x-height is 1, capitals and ascenders reach kCapHeight.
constexpr double kCapHeight = 1.4;
constexpr double kStrokeWidth = 0.24;
constexpr double kDotRadius = 0.16;
constexpr double kLetterGap = 0.36;
constexpr double kBowlRadius = 0.5;
constexpr double kDegreesPerArcStep = 6.0;

} // namespace

Lettering::Polyline Lettering::arc(const QPointF& centre, double radius, double fromDegrees,
                                   double toDegrees) {
    constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
    const int steps = std::max(
        2, static_cast<int>(std::ceil(std::fabs(toDegrees - fromDegrees) / kDegreesPerArcStep)));
    Polyline points;
    for (int i = 0; i <= steps; ++i) {
        const double angle =
            (fromDegrees + (toDegrees - fromDegrees) * i / steps) * kRadiansPerDegree;
        points.emplace_back(centre.x() + radius * std::cos(angle),
                            centre.y() + radius * std::sin(angle));
    }
    return points;
}

// Centre lines in glyph units, y up from the baseline.
Lettering::Glyph Lettering::glyph(QChar letter) {
    const QPointF bowlCentre(kBowlRadius, kBowlRadius);
    switch (letter.unicode()) {
    case 'Z':
        return {{{{0.0, kCapHeight}, {0.95, kCapHeight}, {0.0, 0.0}, {0.95, 0.0}}}, {}, 0.95};
    case 'z':
        return {{{{0.0, 1.0}, {0.8, 1.0}, {0.0, 0.0}, {0.8, 0.0}}}, {}, 0.8};
    case 'a':
        return {{arc(bowlCentre, kBowlRadius, 0.0, 360.0), {{1.0, 1.0}, {1.0, 0.0}}}, {}, 1.0};
    case 'd':
        return {
            {arc(bowlCentre, kBowlRadius, 0.0, 360.0), {{1.0, kCapHeight}, {1.0, 0.0}}}, {}, 1.0};
    case 'e':
        return {{arc(bowlCentre, kBowlRadius, 0.0, 320.0), {{0.0, 0.5}, {1.0, 0.5}}}, {}, 1.0};
    case 'r':
        return {{{{0.0, 1.0}, {0.0, 0.0}}, arc(bowlCentre, kBowlRadius, 180.0, 55.0)}, {}, 0.8};
    case 'i':
        return {{{{0.0, 1.0}, {0.0, 0.0}}}, {{0.0, kCapHeight - 0.05}}, 0.0};
    default:
        return {{}, {}, 0.6};
    }
}

void Lettering::addWord(CoverageMask& mask, const QString& word, const QPointF& origin,
                        double xHeight) {
    QPainterPathStroker stroker;
    stroker.setWidth(kStrokeWidth * xHeight);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    double penX = origin.x();
    for (const QChar letter : word) {
        const Glyph shape = glyph(letter);
        const auto toPixels = [&](const QPointF& point) {
            return QPointF(penX + point.x() * xHeight, origin.y() - point.y() * xHeight);
        };
        for (const Polyline& stroke : shape.strokes) {
            QPainterPath centreLine(toPixels(stroke.front()));
            for (std::size_t i = 1; i < stroke.size(); ++i) {
                centreLine.lineTo(toPixels(stroke[i]));
            }
            mask.add(stroker.createStroke(centreLine));
        }
        for (const QPointF& dot : shape.dots) {
            QPainterPath disc;
            disc.addEllipse(toPixels(dot), kDotRadius * xHeight, kDotRadius * xHeight);
            mask.add(disc);
        }
        penX += (shape.width + kLetterGap) * xHeight;
    }
}

double Lettering::width(const QString& word, double xHeight) {
    double units = 0.0;
    for (const QChar letter : word) {
        units += glyph(letter).width + kLetterGap;
    }
    return (units - kLetterGap) * xHeight;
}
