#include "view/CXGLReader.h"

#include <GL/gl.h>
#include <QDomDocument>
#include <QFile>
#include <algorithm>
#include <vector>

namespace {

constexpr QLatin1String kMeshNameLabel("Mesh Name");

// A number list is the text split at commas, empty parts kept; components
// past the third are ignored and missing ones read as zero. Splitting at a
// single character gives the same parts as splitting at the pattern ","
// without running a regular expression for each of the model's many lists.
template <typename Number, typename Parse>
std::array<Number, 3> numberList(const QString& text, Parse parse) {
    std::array<Number, 3> values{};
    const QVector<QStringRef> parts = text.splitRef(QLatin1Char(','), Qt::KeepEmptyParts);
    const int used = std::min(parts.size(), 3);
    for (int i = 0; i < used; ++i)
        values[i] = parse(parts[i]);
    return values;
}

XGLVector vectorList(const QString& text) {
    return numberList<double>(text, [](const QStringRef& part) { return part.toDouble(); });
}

std::array<float, 3> floatList(const QString& text) {
    return numberList<float>(text, [](const QStringRef& part) { return part.toFloat(); });
}

QString childText(const QDomElement& parent, const QString& tag) {
    return parent.firstChildElement(tag).text();
}

int childInt(const QDomElement& parent, const QString& tag) {
    return childText(parent, tag).toInt(nullptr, 10);
}

XGLColour colourWithAlpha(const QString& text, float alpha) {
    const std::array<float, 3> rgb = floatList(text);
    return {rgb[0], rgb[1], rgb[2], alpha};
}

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
    QFile file(fileName);
    QDomDocument document;
    // A file that is missing or not well-formed leaves the document empty,
    // and so the model empty; nothing is reported.
    // Qt keeps what it parsed before an error; a broken file counts as empty.
    if (file.open(QIODevice::ReadOnly) && !document.setContent(&file))
        document = QDomDocument();

    const QDomElement world = document.firstChildElement(QStringLiteral("WORLD"));
    for (QDomElement object = world.firstChildElement(QStringLiteral("OBJECT")); !object.isNull();
         object = object.nextSiblingElement(QStringLiteral("OBJECT"))) {
        const QDomElement label = object.firstChildElement(QStringLiteral("DATA"))
                                      .firstChildElement(QStringLiteral("STR"));
        const bool named = label.attribute(QStringLiteral("NAME")) == kMeshNameLabel;
        readObject(object, named ? label.text() : nextGeneratedName());
    }
    // Materials are read after all objects; faces refer to them by id only.
    for (QDomElement mat = world.firstChildElement(QStringLiteral("MAT")); !mat.isNull();
         mat = mat.nextSiblingElement(QStringLiteral("MAT")))
        readMaterial(mat);
}

QString CXGLReader::nextGeneratedName() {
    generatedName += QLatin1Char('a');
    return generatedName;
}

void CXGLReader::readObject(const QDomElement& object, const QString& meshName) {
    const QDomElement mesh = object.firstChildElement(QStringLiteral("MESH"));
    if (mesh.isNull())
        return;

    // Points are referred to by their position in the file, not by their id.
    std::vector<XGLVector> points;
    for (QDomElement p = mesh.firstChildElement(QStringLiteral("P")); !p.isNull();
         p = p.nextSiblingElement(QStringLiteral("P")))
        points.push_back(vectorList(p.text()));

    QHash<int, XGLVector> normals;
    for (QDomElement n = mesh.firstChildElement(QStringLiteral("N")); !n.isNull();
         n = n.nextSiblingElement(QStringLiteral("N")))
        normals.insert(n.attribute(QStringLiteral("ID")).toInt(nullptr, 10), vectorList(n.text()));

    // A reference to a point or normal the object does not have reads as zeros.
    const auto corner = [&](const QDomElement& face, const QString& tag, XGLVector& position,
                            XGLVector& normal) {
        const QDomElement vertex = face.firstChildElement(tag);
        const int pointIndex = childInt(vertex, QStringLiteral("PREF"));
        position = pointIndex >= 0 && pointIndex < static_cast<int>(points.size())
                       ? points[static_cast<size_t>(pointIndex)]
                       : XGLVector{};
        normal = normals.value(childInt(vertex, QStringLiteral("NREF")), XGLVector{});
    };

    for (QDomElement f = mesh.firstChildElement(QStringLiteral("F")); !f.isNull();
         f = f.nextSiblingElement(QStringLiteral("F"))) {
        XGLFace face;
        corner(f, QStringLiteral("FV1"), face.pos1, face.norm1);
        corner(f, QStringLiteral("FV2"), face.pos2, face.norm2);
        corner(f, QStringLiteral("FV3"), face.pos3, face.norm3);
        face.material = childInt(f, QStringLiteral("MATREF"));
        meshes[meshName].append(face);
    }
}

void CXGLReader::readMaterial(const QDomElement& mat) {
    const int id = mat.attribute(QStringLiteral("ID")).toInt(nullptr, 10);
    XGLMaterial material;
    material.alpha = childText(mat, QStringLiteral("ALPHA")).toFloat();
    material.shininess = childText(mat, QStringLiteral("SHINE")).toFloat();
    material.ambient = colourWithAlpha(childText(mat, QStringLiteral("AMB")), material.alpha);
    material.diffuse = colourWithAlpha(childText(mat, QStringLiteral("DIFF")), material.alpha);
    material.specular = colourWithAlpha(childText(mat, QStringLiteral("SPEC")), material.alpha);
    material.emission = colourWithAlpha(childText(mat, QStringLiteral("EMISS")), material.alpha);
    materials.insert(id, material);
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
