#pragma once

#include <GL/gl.h>
#include <cstddef>
#include <vector>

// Collects a frame's terrain strips and draws them in one call. Each strip's
// triangles become indexed triangles with the corners in the order GL takes
// them from a strip, so the picture is the one the strips would give, without
// the cost of thousands of immediate-mode calls.
class TerrainBatch {
public:
    void clear();
    void beginStrip();
    // A corner at (x, y, z) in view units with texture coordinates (s, t).
    void addCorner(float s, float t, float x, float y, float z);
    // Draws every strip collected since clear(), in the order added.
    void draw() const;

    std::size_t triangleCount() const { return indices.size() / 3; }

private:
    std::vector<GLfloat> positions;
    std::vector<GLfloat> texCoords;
    std::vector<GLuint> indices;
    // Index of the current strip's first corner.
    GLuint stripStart = 0;
};
