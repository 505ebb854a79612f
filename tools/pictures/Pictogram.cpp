#include "tools/pictures/Pictogram.h"

#include "tools/pictures/CoverageMask.h"

#include <QPainterPath>
#include <QPainterPathStroker>

#include <cmath>

namespace {

// Body proportions in units of the figure's height, y up from the feet.
constexpr double kHipHeight = 0.47;
constexpr double kShoulderHeight = 0.76;
constexpr double kNeckHeight = 0.8;
constexpr double kHeadHeight = 0.91;
constexpr double kHeadRadius = 0.085;
constexpr double kFootSpread = 0.14;
constexpr double kArmReach = 0.48;
constexpr double kLimbWidth = 0.075;
constexpr double kTorsoWidth = 0.13;

QPainterPath stroke(const QPainterPath& centreLine, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(centreLine);
}

} // namespace

void Pictogram::addPerson(CoverageMask& mask, const QPointF& feet, double height, double lean) {
    const double cosLean = std::cos(lean);
    const double sinLean = std::sin(lean);
    const auto fixed = [&](double x, double y) {
        return QPointF(feet.x() + x * height, feet.y() - y * height);
    };
    // The upper body turns about the hips; the legs stay planted.
    const auto leaning = [&](double x, double y) {
        const double up = y - kHipHeight;
        return fixed(x * cosLean + up * sinLean, kHipHeight - x * sinLean + up * cosLean);
    };

    QPainterPath legs(fixed(-kFootSpread, 0.02));
    legs.lineTo(fixed(0.0, kHipHeight));
    legs.lineTo(fixed(kFootSpread, 0.02));
    mask.add(stroke(legs, kLimbWidth * height));

    QPainterPath torso(leaning(0.0, kHipHeight));
    torso.lineTo(leaning(0.0, kNeckHeight));
    mask.add(stroke(torso, kTorsoWidth * height));

    QPainterPath arms(leaning(-kArmReach, kShoulderHeight + 0.02));
    arms.lineTo(leaning(0.0, kShoulderHeight));
    arms.lineTo(leaning(kArmReach, kShoulderHeight + 0.02));
    mask.add(stroke(arms, kLimbWidth * height));

    QPainterPath head;
    head.addEllipse(leaning(0.0, kHeadHeight), kHeadRadius * height, kHeadRadius * height);
    mask.add(head);
}
