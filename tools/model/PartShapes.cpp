#include "tools/model/PartShapes.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Share of the span at each tip over which a wing rounds off.
constexpr double kTipRounding = 0.12;

double signedPower(double value, double exponent) {
    const double magnitude = std::pow(std::fabs(value), exponent);
    return value < 0.0 ? -magnitude : magnitude;
}

// Half thickness of the classic four-digit airfoil at chord position x
// (0 = leading edge, 1 = trailing edge), closed at the trailing edge.
double halfThickness(double x, double thickness) {
    return 5.0 * thickness *
           (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
            0.1036 * x * x * x * x);
}

double camberLine(double x, double camber) {
    constexpr double kCrest = 0.4;
    if (x < kCrest) {
        return camber / (kCrest * kCrest) * (2.0 * kCrest * x - x * x);
    }
    return camber / ((1.0 - kCrest) * (1.0 - kCrest)) *
           (1.0 - 2.0 * kCrest + 2.0 * kCrest * x - x * x);
}

Vec3 unit(const Vec3& v) {
    return v * (1.0 / length(v));
}

} // namespace

PointGrid PartShapes::loft(const Frame& frame, const std::vector<Section>& sections, int around) {
    PointGrid grid;
    for (const Section& section : sections) {
        std::vector<Vec3> row;
        const double exponent = 2.0 / section.squareness;
        for (int j = 0; j < around; ++j) {
            const double angle = 2.0 * kPi * j / around;
            const double sideOffset = section.halfSide * signedPower(std::cos(angle), exponent);
            const double upOffset =
                section.lift + section.halfUp * signedPower(std::sin(angle), exponent);
            row.push_back(frame.origin + frame.along * section.axial + frame.side * sideOffset +
                          frame.up * upOffset);
        }
        grid.push_back(row);
    }
    return grid;
}

std::vector<PartShapes::Section> PartShapes::ellipsoid(double halfLength, double halfSide,
                                                       double halfUp, double squareness, int rows,
                                                       double profileExponent) {
    std::vector<Section> sections;
    for (int i = 0; i < rows; ++i) {
        const double angle = kPi * i / (rows - 1);
        const double radius = std::pow(std::fabs(std::sin(angle)), profileExponent);
        sections.push_back(
            {-halfLength * std::cos(angle), 0.0, halfSide * radius, halfUp * radius, squareness});
    }
    return sections;
}

// Rows run along the span, each row once around the airfoil starting at the
// trailing edge. Which side is walked first is chosen so that the points turn
// the right way about the span for outward normals.
std::vector<PartShapes::Section> PartShapes::rod(double length, double radius) {
    return {{0.0, 0.0, 0.0, 0.0, 2.0},
            {0.0, 0.0, radius, radius, 2.0},
            {length, 0.0, radius, radius, 2.0},
            {length, 0.0, 0.0, 0.0, 2.0}};
}

PointGrid PartShapes::liftingSurface(const LiftingSurface& surface) {
    const bool upperFirst =
        dot(cross(surface.spanAxis, surface.chordAxis), surface.thicknessAxis) > 0.0;
    PointGrid grid;
    const int firstStation = surface.bothSides ? -surface.stations : 0;
    for (int i = firstStation; i <= surface.stations; ++i) {
        const double u = static_cast<double>(i) / surface.stations;
        const double reach = std::fabs(u);
        const double tipShare = std::fmax(0.0, (reach - (1.0 - kTipRounding)) / kTipRounding);
        const double rounding = std::sqrt(std::fmax(0.0, 1.0 - tipShare * tipShare));
        const double chord = (surface.rootChord + (surface.tipChord - surface.rootChord) * reach) *
                             (0.45 + 0.55 * rounding);
        const double twist = surface.rootTwist + (surface.tipTwist - surface.rootTwist) * reach;
        const Vec3 chordAxis =
            unit(surface.chordAxis * std::cos(twist) + surface.thicknessAxis * std::sin(twist));
        const Vec3 thicknessAxis =
            unit(surface.thicknessAxis * std::cos(twist) - surface.chordAxis * std::sin(twist));
        const Vec3 pivot = surface.root + surface.spanAxis * (u * surface.span) +
                           surface.chordAxis * (surface.sweep * reach) +
                           surface.thicknessAxis * (surface.dihedral * reach * surface.span);
        std::vector<Vec3> row;
        for (int j = 0; j < surface.around; ++j) {
            const double angle = 2.0 * kPi * j / surface.around;
            const double x = 0.5 * (1.0 + std::cos(angle));
            const bool firstSide = j <= surface.around / 2;
            const double side = (firstSide == upperFirst) ? 1.0 : -1.0;
            const double offset = camberLine(x, surface.camber) +
                                  side * halfThickness(x, surface.thickness) * rounding;
            row.push_back(pivot + chordAxis * ((x - 0.25) * chord) +
                          thicknessAxis * (offset * chord));
        }
        grid.push_back(row);
    }
    return grid;
}

PartShapes::Frame PartShapes::frameAlong(const Vec3& origin, const Vec3& along, const Vec3& side) {
    const Vec3 alongUnit = unit(along);
    const Vec3 sideUnit = unit(side);
    return {origin, alongUnit, sideUnit, cross(alongUnit, sideUnit)};
}
