#pragma once

#include "tools/model/Vec3.h"

#include <QString>

#include <functional>
#include <vector>

// A grid of points: rows run along a part (nose to tail, tip to tip), each
// row closes around the part's cross-section, its last point joined back to
// the first.
using PointGrid = std::vector<std::vector<Vec3>>;

// One named part of the model: points with one normal each, and triangles
// whose corners are wound counter-clockwise when seen from outside.
class Mesh {
public:
    struct Triangle {
        int corners[3];
        int material;
    };

    explicit Mesh(const QString& name)
        : meshName(name) {}

    const QString& name() const { return meshName; }
    const std::vector<Vec3>& points() const { return positions; }
    const std::vector<Vec3>& normals() const { return pointNormals; }
    const std::vector<Triangle>& triangles() const { return faces; }

    // Material of the two triangles that start at a grid point.
    using MaterialAt = std::function<int(std::size_t row, std::size_t column)>;

    // Adds a smooth surface over the grid. Within a row the points turn about
    // the direction in which the rows advance by the right-hand rule; the
    // normals then face outward.
    void addSurface(const PointGrid& grid, int material);
    void addSurface(const PointGrid& grid, const MaterialAt& materialAt);
    // Closes a ring with a flat fan around its centre, facing `outward`.
    void addCap(const std::vector<Vec3>& ring, const Vec3& outward, int material);

private:
    int addPoint(const Vec3& position, const Vec3& normal);
    void addTriangle(int first, int second, int third, int material);
    static Vec3 gridNormal(const PointGrid& grid, std::size_t row, std::size_t column);

    QString meshName;
    std::vector<Vec3> positions;
    std::vector<Vec3> pointNormals;
    std::vector<Triangle> faces;
};
