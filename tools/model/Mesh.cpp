#include "tools/model/Mesh.h"

namespace {

// Triangles smaller than this (in squared model units) are slivers at the
// closed ends of a grid and would carry no visible surface.
constexpr double kDegenerateArea = 1e-14;

Vec3 normalised(const Vec3& v) {
    const double size = length(v);
    return size > 0.0 ? v * (1.0 / size) : Vec3{0.0, 1.0, 0.0};
}

Vec3 rowCentre(const std::vector<Vec3>& row) {
    Vec3 sum;
    for (const Vec3& point : row) {
        sum = sum + point;
    }
    return sum * (1.0 / static_cast<double>(row.size()));
}

} // namespace

int Mesh::addPoint(const Vec3& position, const Vec3& normal) {
    positions.push_back(position);
    pointNormals.push_back(normal);
    return static_cast<int>(positions.size()) - 1;
}

void Mesh::addTriangle(int first, int second, int third, int material) {
    const Vec3 edgeA = positions[second] - positions[first];
    const Vec3 edgeB = positions[third] - positions[first];
    if (dot(cross(edgeA, edgeB), cross(edgeA, edgeB)) < kDegenerateArea * kDegenerateArea) {
        return;
    }
    faces.push_back({{first, second, third}, material});
}

// The normal comes from central differences along and around the grid. Where
// a row shrinks to a point (a nose or a tail tip) that cross product
// vanishes, and the normal points away from the neighbouring row instead.
Vec3 Mesh::gridNormal(const PointGrid& grid, std::size_t row, std::size_t column) {
    const std::size_t rows = grid.size();
    const std::size_t columns = grid[row].size();
    const std::size_t nextRow = row + 1 < rows ? row + 1 : row;
    const std::size_t previousRow = row > 0 ? row - 1 : row;
    const Vec3 along = grid[nextRow][column] - grid[previousRow][column];
    const Vec3 around =
        grid[row][(column + 1) % columns] - grid[row][(column + columns - 1) % columns];
    const Vec3 normal = cross(around, along);
    if (length(normal) > 1e-12 * length(along) * length(around) && length(around) > 1e-12) {
        return normalised(normal);
    }
    const std::size_t neighbour = row > 0 ? row - 1 : row + 1;
    return normalised(grid[row][column] - rowCentre(grid[neighbour]));
}

void Mesh::addSurface(const PointGrid& grid, int material) {
    addSurface(grid, [material](std::size_t, std::size_t) { return material; });
}

void Mesh::addSurface(const PointGrid& grid, const MaterialAt& materialAt) {
    std::vector<std::vector<int>> ids(grid.size());
    for (std::size_t row = 0; row < grid.size(); ++row) {
        for (std::size_t column = 0; column < grid[row].size(); ++column) {
            ids[row].push_back(addPoint(grid[row][column], gridNormal(grid, row, column)));
        }
    }
    for (std::size_t row = 0; row + 1 < grid.size(); ++row) {
        const std::size_t columns = grid[row].size();
        for (std::size_t column = 0; column < columns; ++column) {
            const std::size_t next = (column + 1) % columns;
            const int material = materialAt(row, column);
            addTriangle(ids[row][column], ids[row][next], ids[row + 1][column], material);
            addTriangle(ids[row][next], ids[row + 1][next], ids[row + 1][column], material);
        }
    }
}

void Mesh::addCap(const std::vector<Vec3>& ring, const Vec3& outward, int material) {
    const Vec3 normal = normalised(outward);
    const int centre = addPoint(rowCentre(ring), normal);
    std::vector<int> ids;
    for (const Vec3& point : ring) {
        ids.push_back(addPoint(point, normal));
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const int first = ids[i];
        const int second = ids[(i + 1) % ids.size()];
        const Vec3 faceNormal =
            cross(positions[first] - positions[centre], positions[second] - positions[centre]);
        if (dot(faceNormal, normal) >= 0.0) {
            addTriangle(centre, first, second, material);
        } else {
            addTriangle(centre, second, first, material);
        }
    }
}
