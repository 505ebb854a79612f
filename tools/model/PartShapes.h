#pragma once

#include "tools/model/Mesh.h"

// Point grids for the shapes the aircraft is built from: bodies lofted
// through rounded cross-sections, and wing-like surfaces with an airfoil
// section.
class PartShapes {
public:
    // Axes of a part. side x up must equal along for outward normals.
    struct Frame {
        Vec3 origin;
        Vec3 along;
        Vec3 side;
        Vec3 up;
    };

    // A rounded-rectangle cross-section (a superellipse, squareness 2 being
    // an ellipse) at `axial` along the frame, its centre lifted by `lift`.
    struct Section {
        double axial;
        double lift;
        double halfSide;
        double halfUp;
        double squareness;
    };

    struct LiftingSurface {
        Vec3 root;          // quarter-chord point at the root
        Vec3 spanAxis;      // toward the tip
        Vec3 chordAxis;     // leading edge to trailing edge
        Vec3 thicknessAxis; // toward the upper, cambered side
        double span;        // root to tip
        double rootChord;
        double tipChord;
        double sweep;     // chordwise shift of the quarter-chord line at the tip
        double dihedral;  // rise toward thicknessAxis per unit of span
        double rootTwist; // radians about the span axis
        double tipTwist;
        double thickness; // largest thickness over chord
        double camber;    // largest camber over chord
        bool bothSides;   // mirrored about the root, from tip to tip
        int stations;
        int around;
    };

    static PointGrid loft(const Frame& frame, const std::vector<Section>& sections, int around);
    // Sections of an ellipsoid centred on the frame's origin, closed at both
    // ends. A profile exponent below 1 flattens its ends (a tyre, a lamp lens).
    static std::vector<Section> ellipsoid(double halfLength, double halfSide, double halfUp,
                                          double squareness, int rows,
                                          double profileExponent = 1.0);
    // A closed cylinder from the frame's origin along it.
    static std::vector<Section> rod(double length, double radius);
    static PointGrid liftingSurface(const LiftingSurface& surface);
    static Frame frameAlong(const Vec3& origin, const Vec3& along, const Vec3& side);
};
