#include "view/TerrainBatch.h"

void TerrainBatch::clear() {
    positions.clear();
    texCoords.clear();
    indices.clear();
    stripStart = 0;
}

void TerrainBatch::beginStrip() {
    stripStart = static_cast<GLuint>(positions.size() / 3);
}

void TerrainBatch::addCorner(float s, float t, float x, float y, float z) {
    const auto corner = static_cast<GLuint>(positions.size() / 3);
    positions.insert(positions.end(), {x, y, z});
    texCoords.insert(texCoords.end(), {s, t});
    const GLuint inStrip = corner - stripStart;
    if (inStrip < 2)
        return;
    // A strip's odd triangles swap their first two corners, which keeps every
    // triangle's winding the same as the first one's.
    if (inStrip % 2 == 0)
        indices.insert(indices.end(), {corner - 2, corner - 1, corner});
    else
        indices.insert(indices.end(), {corner - 1, corner - 2, corner});
}

void TerrainBatch::draw() const {
    if (indices.empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT,
                   indices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
