#pragma once

#include "tools/model/Mesh.h"
#include "tools/model/PartShapes.h"

#include <QString>

#include <array>
#include <vector>

// A light twin-engined aircraft in nine parts, "OBJECT1" to "OBJECT9": fuselage,
// wing, tailplane, fin, engine nacelles, propellers, canopy, landing gear and
// the small fittings (lights, beacon, aerial).
//
// Model units: the flight view scales the model by 500, so the wingspan of
// 0.56 units becomes 280 pixels in a 400-pixel view. The origin lies at the
// wing root, x toward the right wing tip, y up and the nose toward -z, the
// direction the view looks in.
class AircraftModel {
public:
    struct Material {
        std::array<double, 3> ambient;
        std::array<double, 3> diffuse;
        std::array<double, 3> specular;
        std::array<double, 3> emission;
        double shininess;
        double alpha;
    };

    AircraftModel();

    const std::vector<Mesh>& meshes() const { return parts; }
    // Indexed by material id.
    const std::vector<Material>& materials() const { return paints; }

private:
    Mesh fuselage() const;
    Mesh wing() const;
    Mesh tailplane() const;
    Mesh fin() const;
    Mesh nacelles() const;
    Mesh propellers() const;
    Mesh canopy() const;
    Mesh landingGear() const;
    Mesh fittings() const;

    std::vector<Mesh> parts;
    std::vector<Material> paints;
};
