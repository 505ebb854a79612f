#include "tools/model/AircraftModel.h"

#include <cmath>

namespace {

enum MaterialId {
    kWhitePaint,
    kRedPaint,
    kDarkMetal,
    kBrightMetal,
    kRubber,
    kGlass,
    kRedLamp,
    kGreenLamp,
    kWhiteLamp,
    kYellowPaint,
};

constexpr double kPi = 3.14159265358979323846;

// Fuselage: nose at kNoseZ, rounded nose up to kNoseEnd of the length, a
// straight cabin up to kCabinEnd, then a tail cone rising toward the tail.
constexpr double kNoseZ = -0.21;
constexpr double kFuselageLength = 0.44;
constexpr double kNoseEnd = 0.28;
constexpr double kCabinEnd = 0.46;
constexpr double kCabinHalfWidth = 0.034;
constexpr double kCabinHalfHeight = 0.040;
constexpr double kTailHalfWidth = 0.006;
constexpr double kTailHalfHeight = 0.008;
constexpr double kTailLift = 0.024;
constexpr double kNoseDroop = 0.010;

constexpr double kWingSpan = 0.28; // per side
constexpr double kWingY = -0.022;
constexpr double kWingZ = -0.02; // quarter chord at the root
constexpr double kWingDihedral = 0.08;
constexpr double kEngineX = 0.1;
constexpr double kEngineY = -0.014;
constexpr double kNacelleFrontZ = -0.15;
constexpr double kNacelleLength = 0.17;
constexpr double kNacelleRadius = 0.019;
constexpr double kPropellerZ = -0.158;

const Vec3 kRight{1.0, 0.0, 0.0};
const Vec3 kUp{0.0, 1.0, 0.0};
const Vec3 kDown{0.0, -1.0, 0.0};
const Vec3 kBack{0.0, 0.0, 1.0};
const Vec3 kForward{0.0, 0.0, -1.0};

double smoothStep(double t) {
    return t * t * (3.0 - 2.0 * t);
}

PartShapes::Section fuselageSection(double share) {
    const double axial = share * kFuselageLength;
    if (share < kNoseEnd) {
        const double toCabin = 1.0 - share / kNoseEnd;
        const double bulge = std::sqrt(1.0 - toCabin * toCabin);
        return {axial, -kNoseDroop * toCabin * toCabin, kCabinHalfWidth * bulge,
                kCabinHalfHeight * std::pow(bulge, 0.8), 2.4};
    }
    if (share < kCabinEnd) {
        return {axial, 0.0, kCabinHalfWidth, kCabinHalfHeight, 2.4};
    }
    const double alongCone = (share - kCabinEnd) / (1.0 - kCabinEnd);
    const double taper = smoothStep(std::pow(alongCone, 0.8));
    return {axial, kTailLift * std::pow(alongCone, 1.5),
            kCabinHalfWidth + (kTailHalfWidth - kCabinHalfWidth) * taper,
            kCabinHalfHeight + (kTailHalfHeight - kCabinHalfHeight) * taper, 2.4 - 0.4 * taper};
}

PartShapes::Section nacelleSection(double share) {
    constexpr double kCowlEnd = 0.2;
    constexpr double kBodyEnd = 0.55;
    const double axial = share * kNacelleLength;
    double radius = kNacelleRadius;
    double lift = 0.0;
    if (share < kCowlEnd) {
        const double toBody = 1.0 - share / kCowlEnd;
        radius *= 0.7 + 0.3 * std::sqrt(1.0 - toBody * toBody);
    } else if (share > kBodyEnd) {
        const double alongTail = (share - kBodyEnd) / (1.0 - kBodyEnd);
        radius *= std::sqrt(1.0 - std::pow(alongTail, 1.8));
        lift = 0.008 * alongTail;
    }
    return {axial, lift, radius, radius * 1.1, 2.2};
}

PartShapes::LiftingSurface wingSurface(const Vec3& root, double span, double rootChord,
                                       double tipChord, int stations, int around) {
    PartShapes::LiftingSurface surface{};
    surface.root = root;
    surface.spanAxis = kRight;
    surface.chordAxis = kBack;
    surface.thicknessAxis = kUp;
    surface.span = span;
    surface.rootChord = rootChord;
    surface.tipChord = tipChord;
    surface.thickness = 0.12;
    surface.bothSides = true;
    surface.stations = stations;
    surface.around = around;
    return surface;
}

AircraftModel::Material paint(double red, double green, double blue, double shininess,
                              double alpha = 1.0) {
    return {{red * 0.3, green * 0.3, blue * 0.3},
            {red, green, blue},
            {0.5, 0.5, 0.5},
            {0.0, 0.0, 0.0},
            shininess,
            alpha};
}

AircraftModel::Material lamp(double red, double green, double blue) {
    return {{red * 0.3, green * 0.3, blue * 0.3},
            {red, green, blue},
            {0.8, 0.8, 0.8},
            {red * 0.8, green * 0.8, blue * 0.8},
            80.0,
            1.0};
}

} // namespace

AircraftModel::AircraftModel() {
    paints.resize(kYellowPaint + 1);
    paints[kWhitePaint] = paint(0.92, 0.92, 0.94, 40.0);
    paints[kRedPaint] = paint(0.78, 0.08, 0.06, 40.0);
    paints[kDarkMetal] = paint(0.18, 0.18, 0.2, 20.0);
    paints[kBrightMetal] = paint(0.7, 0.72, 0.75, 90.0);
    paints[kRubber] = paint(0.06, 0.06, 0.06, 4.0);
    paints[kGlass] = paint(0.12, 0.22, 0.35, 120.0, 0.7);
    paints[kRedLamp] = lamp(1.0, 0.1, 0.05);
    paints[kGreenLamp] = lamp(0.1, 1.0, 0.2);
    paints[kWhiteLamp] = lamp(1.0, 1.0, 0.95);
    paints[kYellowPaint] = paint(0.95, 0.78, 0.1, 40.0);

    parts = {fuselage(),   wing(),   tailplane(),   fin(),     nacelles(),
             propellers(), canopy(), landingGear(), fittings()};
}

// A red cheat line runs along both sides just below the widest part.
Mesh AircraftModel::fuselage() const {
    constexpr int kRows = 44;
    constexpr int kAround = 32;
    std::vector<PartShapes::Section> sections;
    for (int i = 0; i < kRows; ++i) {
        // Rows crowd toward the nose, where the shape bends most.
        sections.push_back(fuselageSection(std::pow(static_cast<double>(i) / (kRows - 1), 1.3)));
    }
    const auto frame = PartShapes::frameAlong({0.0, 0.0, kNoseZ}, kBack, kRight);
    const PointGrid grid = PartShapes::loft(frame, sections, kAround);
    Mesh mesh("OBJECT1");
    mesh.addSurface(grid, [](std::size_t row, std::size_t column) {
        const bool stripeColumn = column == kAround - 1 || column == kAround / 2;
        const bool stripeRow = row > kRows / 5 && row < kRows - 3;
        return stripeColumn && stripeRow ? kRedPaint : kWhitePaint;
    });
    mesh.addCap(grid.back(), kBack, kWhitePaint);
    return mesh;
}

// Red wing tips.
Mesh AircraftModel::wing() const {
    constexpr int kStations = 20;
    auto surface = wingSurface({0.0, kWingY, kWingZ}, kWingSpan, 0.085, 0.048, kStations, 32);
    surface.sweep = 0.006;
    surface.dihedral = kWingDihedral;
    surface.camber = 0.02;
    surface.thickness = 0.14;
    Mesh mesh("OBJECT2");
    mesh.addSurface(PartShapes::liftingSurface(surface), [](std::size_t row, std::size_t) {
        const bool nearTip = row < 2 || row >= 2 * kStations - 1;
        return nearTip ? kRedPaint : kWhitePaint;
    });
    return mesh;
}

Mesh AircraftModel::tailplane() const {
    auto surface = wingSurface({0.0, kTailLift, 0.2}, 0.1, 0.055, 0.034, 8, 24);
    surface.sweep = 0.012;
    surface.thickness = 0.1;
    Mesh mesh("OBJECT3");
    mesh.addSurface(PartShapes::liftingSurface(surface), kWhitePaint);
    return mesh;
}

// The fin's upper half is painted red.
Mesh AircraftModel::fin() const {
    constexpr int kStations = 10;
    PartShapes::LiftingSurface surface{};
    // The root stays ahead of the tail cone's end so that its open edge is
    // hidden inside the fuselage.
    surface.root = {0.0, 0.015, 0.172};
    surface.spanAxis = kUp;
    surface.chordAxis = kBack;
    surface.thicknessAxis = kRight;
    surface.span = 0.095;
    surface.rootChord = 0.075;
    surface.tipChord = 0.04;
    surface.sweep = 0.045;
    surface.thickness = 0.1;
    surface.stations = kStations;
    surface.around = 24;
    Mesh mesh("OBJECT4");
    mesh.addSurface(PartShapes::liftingSurface(surface), [](std::size_t row, std::size_t) {
        return row >= kStations / 2 ? kRedPaint : kWhitePaint;
    });
    return mesh;
}

// Red cowlings in front, the intakes dark.
Mesh AircraftModel::nacelles() const {
    constexpr int kRows = 22;
    constexpr int kCowlRows = 5;
    Mesh mesh("OBJECT5");
    for (const double side : {-1.0, 1.0}) {
        std::vector<PartShapes::Section> sections;
        for (int i = 0; i < kRows; ++i) {
            sections.push_back(nacelleSection(static_cast<double>(i) / (kRows - 1)));
        }
        const auto frame =
            PartShapes::frameAlong({side * kEngineX, kEngineY, kNacelleFrontZ}, kBack, kRight);
        const PointGrid grid = PartShapes::loft(frame, sections, 24);
        mesh.addSurface(grid, [](std::size_t row, std::size_t) {
            return row < kCowlRows ? kRedPaint : kWhitePaint;
        });
        mesh.addCap(grid.front(), kForward, kDarkMetal);
    }
    return mesh;
}

// Three-bladed propellers with red spinners and yellow blade tips.
Mesh AircraftModel::propellers() const {
    constexpr int kStations = 10;
    constexpr int kBlades = 3;
    constexpr double kSpinnerLength = 0.028;
    Mesh mesh("OBJECT6");
    for (const double side : {-1.0, 1.0}) {
        const Vec3 hub{side * kEngineX, kEngineY, kPropellerZ};
        std::vector<PartShapes::Section> spinner;
        for (const auto& section : PartShapes::ellipsoid(kSpinnerLength, 0.012, 0.012, 2.0, 17)) {
            if (section.axial <= 0.0) {
                spinner.push_back(section);
            }
        }
        const Vec3 spinnerBase = hub + kBack * 0.006;
        const auto frame = PartShapes::frameAlong(spinnerBase, kBack, kRight);
        const PointGrid grid = PartShapes::loft(frame, spinner, 20);
        mesh.addSurface(grid, kRedPaint);
        mesh.addCap(grid.back(), kBack, kRedPaint);

        const double firstBlade = side < 0.0 ? 0.2 : 1.1;
        for (int blade = 0; blade < kBlades; ++blade) {
            const double angle = firstBlade + 2.0 * kPi * blade / kBlades;
            const Vec3 radial{std::cos(angle), std::sin(angle), 0.0};
            PartShapes::LiftingSurface surface{};
            surface.root = hub + radial * 0.006;
            surface.spanAxis = radial;
            surface.chordAxis = {-std::sin(angle), std::cos(angle), 0.0};
            surface.thicknessAxis = kForward;
            surface.span = 0.05;
            surface.rootChord = 0.012;
            surface.tipChord = 0.007;
            surface.rootTwist = 0.95;
            surface.tipTwist = 0.3;
            surface.thickness = 0.1;
            surface.camber = 0.03;
            surface.stations = kStations;
            surface.around = 16;
            mesh.addSurface(PartShapes::liftingSurface(surface), [](std::size_t row, std::size_t) {
                return row >= kStations - 1 ? kYellowPaint : kDarkMetal;
            });
        }
    }
    return mesh;
}

Mesh AircraftModel::canopy() const {
    const auto frame = PartShapes::frameAlong({0.0, 0.03, -0.085}, kBack, kRight);
    Mesh mesh("OBJECT7");
    mesh.addSurface(PartShapes::loft(frame, PartShapes::ellipsoid(0.06, 0.025, 0.024, 2.2, 18), 24),
                    kGlass);
    return mesh;
}

// Tricycle gear, lowered: a nose wheel and one main wheel under each engine.
Mesh AircraftModel::landingGear() const {
    struct Leg {
        Vec3 top;
        double length;
        double wheelRadius;
        double wheelHalfWidth;
    };
    const Leg legs[] = {{{0.0, -0.025, -0.165}, 0.04, 0.011, 0.005},
                        {{-kEngineX, -0.03, 0.0}, 0.034, 0.014, 0.006},
                        {{kEngineX, -0.03, 0.0}, 0.034, 0.014, 0.006}};
    Mesh mesh("OBJECT8");
    for (const Leg& leg : legs) {
        const auto strutFrame = PartShapes::frameAlong(leg.top, kDown, kRight);
        mesh.addSurface(PartShapes::loft(strutFrame, PartShapes::rod(leg.length, 0.0025), 10),
                        kBrightMetal);
        const Vec3 axle = leg.top + kDown * (leg.length + leg.wheelRadius * 0.6);
        const auto wheelFrame = PartShapes::frameAlong(axle, kRight, kUp);
        const auto tyre = PartShapes::ellipsoid(leg.wheelHalfWidth, leg.wheelRadius,
                                                leg.wheelRadius, 2.0, 12, 0.3);
        mesh.addSurface(PartShapes::loft(wheelFrame, tyre, 20), kRubber);
    }
    return mesh;
}

// Navigation lights (red on the left tip, green on the right), a red beacon
// on the cabin roof, a white tail light and an aerial.
Mesh AircraftModel::fittings() const {
    const double tipY = kWingY + kWingDihedral * kWingSpan;
    struct Light {
        Vec3 centre;
        double radius;
        int material;
    };
    const Light lights[] = {
        {{-kWingSpan - 0.001, tipY, kWingZ}, 0.004, kRedLamp},
        {{kWingSpan + 0.001, tipY, kWingZ}, 0.004, kGreenLamp},
        {{0.0, kCabinHalfHeight + 0.002, -0.005}, 0.005, kRedLamp},
        {{0.0, kTailLift, kNoseZ + kFuselageLength + 0.001}, 0.004, kWhiteLamp}};
    Mesh mesh("OBJECT9");
    for (const Light& light : lights) {
        const auto frame = PartShapes::frameAlong(light.centre, kBack, kRight);
        const auto lens =
            PartShapes::ellipsoid(light.radius * 1.6, light.radius, light.radius, 2.0, 8);
        mesh.addSurface(PartShapes::loft(frame, lens, 12), light.material);
    }

    constexpr double kAerialZ = 0.06;
    const auto roof = fuselageSection((kAerialZ - kNoseZ) / kFuselageLength);
    PartShapes::LiftingSurface aerial{};
    aerial.root = {0.0, roof.lift + roof.halfUp - 0.003, kAerialZ};
    aerial.spanAxis = kUp;
    aerial.chordAxis = kBack;
    aerial.thicknessAxis = kRight;
    aerial.span = 0.028;
    aerial.rootChord = 0.01;
    aerial.tipChord = 0.005;
    aerial.sweep = 0.008;
    aerial.thickness = 0.14;
    aerial.stations = 4;
    aerial.around = 12;
    mesh.addSurface(PartShapes::liftingSurface(aerial), kDarkMetal);
    return mesh;
}
