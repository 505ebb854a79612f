#include "view/CXGLReader.h"

#include "view/XGLParser.h"

#include <GL/gl.h>
#include <QFile>
#include <algorithm>

namespace {

void growBox(XGLBox& box, const XGLVector& point) {
    for (int axis = 0; axis < 3; ++axis) {
        box.min[axis] = std::min(box.min[axis], point[axis]);
        box.max[axis] = std::max(box.max[axis], point[axis]);
    }
}

void setMaterial(const XGLMaterial& material) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material.ambient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material.diffuse.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material.specular.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, material.emission.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material.shininess);
}

void emitCorner(const XGLVector& normal, const XGLVector& position) {
    const double s = CXGLReader::kModelScale;
    // Normals get the same factor as the positions; whoever lights the model
    // has to normalise them.
    glNormal3d(normal[0] * s, normal[1] * s, normal[2] * s);
    glVertex3d(position[0] * s, position[1] * s, position[2] * s);
}

} // namespace

CXGLReader::CXGLReader(const QString& fileName) {
    // A file that is missing or not well-formed leaves the model empty;
    // nothing is reported.
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        XGLParser().parse(&file, meshes, materials);
}

QList<QString> CXGLReader::meshNames() const {
    return meshes.keys();
}

XGLBox CXGLReader::boundingBox() const {
    XGLBox box;
    bool first = true;
    for (const QVector<XGLFace>& faces : meshes) {
        for (const XGLFace& face : faces) {
            for (const XGLVector* corner : {&face.pos1, &face.pos2, &face.pos3}) {
                if (first)
                    box = {*corner, *corner};
                first = false;
                growBox(box, *corner);
            }
        }
    }
    return box;
}

void CXGLReader::drawMesh(const QString& name) {
    // An unknown name emits nothing; the lookup leaves an empty entry behind.
    const QVector<XGLFace>& faces = meshes[name];
    for (const XGLFace& face : faces) {
        glBegin(GL_TRIANGLES);
        const std::array<std::pair<const XGLVector*, const XGLVector*>, 3> corners{
            {{&face.norm1, &face.pos1}, {&face.norm2, &face.pos2}, {&face.norm3, &face.pos3}}};
        for (const auto& corner : corners) {
            // Set at every corner: an undefined id stores and uses an
            // all-zero material.
            if (face.material != XGLFace::kNoMaterial)
                setMaterial(materials[face.material]);
            emitCorner(*corner.first, *corner.second);
        }
        glEnd();
    }
}
