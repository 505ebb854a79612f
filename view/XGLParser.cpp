#include "view/XGLParser.h"

#include <algorithm>
#include <array>

namespace {

// A literal, not a QString: the process-wide reader parses during static
// initialisation.
constexpr char kMeshNameLabel[] = "Mesh Name";

// A number list is the text split at commas, empty parts kept; components
// past the third are ignored and missing ones read as zero. Splitting at a
// single character gives the same parts as splitting at the pattern ",".
template <typename Number, typename Parse>
std::array<Number, 3> numberList(const QString& text, Parse parse) {
    std::array<Number, 3> values{};
    const QList<QStringView> parts = QStringView(text).split(u',', Qt::KeepEmptyParts);
    const qsizetype used = std::min<qsizetype>(parts.size(), 3);
    for (qsizetype i = 0; i < used; ++i)
        values[static_cast<size_t>(i)] = parse(parts[i]);
    return values;
}

XGLVector vectorList(const QString& text) {
    return numberList<double>(text, [](QStringView part) { return part.toDouble(); });
}

XGLColour colourWithAlpha(const QString& text, float alpha) {
    const auto rgb = numberList<float>(text, [](QStringView part) { return part.toFloat(); });
    return {rgb[0], rgb[1], rgb[2], alpha};
}

// A missing or unparsable text counts as 0.
int toInt(const QString& text) {
    return text.toInt(nullptr, 10);
}

} // namespace

bool XGLParser::parse(QIODevice* device, Meshes& meshes, Materials& materials) {
    xml.setDevice(device);
    Meshes readMeshes;
    Materials readMaterials;
    if (xml.readNextStartElement() && xml.name() == QLatin1String("WORLD"))
        readWorld(readMeshes, readMaterials);
    // Read on to the end: a fault anywhere in the file voids all of it.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return false;
    meshes = readMeshes;
    materials = readMaterials;
    return true;
}

void XGLParser::readWorld(Meshes& meshes, Materials& materials) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("OBJECT"))
            readObject(meshes);
        else if (xml.name() == QLatin1String("MAT"))
            readMaterial(materials);
        else
            xml.skipCurrentElement();
    }
}

QString XGLParser::nextGeneratedName() {
    generatedName += QLatin1Char('a');
    return generatedName;
}

void XGLParser::readObject(Meshes& meshes) {
    bool seenData = false, seenMesh = false, named = false;
    QString name;
    MeshData mesh;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("DATA") && !seenData) {
            seenData = true;
            named = readLabel(name);
        } else if (xml.name() == QLatin1String("MESH") && !seenMesh) {
            seenMesh = true;
            readMesh(mesh);
        } else {
            xml.skipCurrentElement();
        }
    }
    // Unnamed objects use up a generated name even when they add no mesh.
    if (!named)
        name = nextGeneratedName();
    if (!mesh.faces.empty())
        meshes[name].append(resolve(mesh));
}

bool XGLParser::readLabel(QString& name) {
    bool seenLabel = false, named = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("STR") && !seenLabel) {
            seenLabel = true;
            named = xml.attributes().value(QLatin1String("NAME")) == QLatin1String(kMeshNameLabel);
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (named)
                name = text;
        } else {
            xml.skipCurrentElement();
        }
    }
    return named;
}

void XGLParser::readMesh(MeshData& mesh) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("P")) {
            mesh.points.push_back(
                vectorList(xml.readElementText(QXmlStreamReader::IncludeChildElements)));
        } else if (xml.name() == QLatin1String("N")) {
            const int id = toInt(xml.attributes().value(QLatin1String("ID")).toString());
            mesh.normals.insert(
                id, vectorList(xml.readElementText(QXmlStreamReader::IncludeChildElements)));
        } else if (xml.name() == QLatin1String("F")) {
            mesh.faces.push_back(readFace());
        } else {
            xml.skipCurrentElement();
        }
    }
}

XGLParser::FaceRefs XGLParser::readFace() {
    FaceRefs face;
    bool seen[4] = {false, false, false, false};
    const QLatin1String tags[3] = {QLatin1String("FV1"), QLatin1String("FV2"),
                                   QLatin1String("FV3")};
    while (xml.readNextStartElement()) {
        const auto tag = std::find(std::begin(tags), std::end(tags), xml.name());
        const auto index = static_cast<size_t>(tag - std::begin(tags));
        if (tag != std::end(tags) && !seen[index]) {
            seen[index] = true;
            face.corners[index] = readCorner();
        } else if (xml.name() == QLatin1String("MATREF") && !seen[3]) {
            seen[3] = true;
            face.material = toInt(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else {
            xml.skipCurrentElement();
        }
    }
    return face;
}

XGLParser::CornerRefs XGLParser::readCorner() {
    CornerRefs corner;
    bool seenPoint = false, seenNormal = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("PREF") && !seenPoint) {
            seenPoint = true;
            corner.point = toInt(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else if (xml.name() == QLatin1String("NREF") && !seenNormal) {
            seenNormal = true;
            corner.normal = toInt(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else {
            xml.skipCurrentElement();
        }
    }
    return corner;
}

QVector<XGLFace> XGLParser::resolve(const MeshData& mesh) {
    // A reference to a point or normal the object does not have reads as zeros.
    const auto point = [&](int index) {
        return index >= 0 && index < static_cast<int>(mesh.points.size())
                   ? mesh.points[static_cast<size_t>(index)]
                   : XGLVector{};
    };
    QVector<XGLFace> faces;
    faces.reserve(static_cast<int>(mesh.faces.size()));
    for (const FaceRefs& refs : mesh.faces) {
        XGLFace face;
        face.pos1 = point(refs.corners[0].point);
        face.pos2 = point(refs.corners[1].point);
        face.pos3 = point(refs.corners[2].point);
        face.norm1 = mesh.normals.value(refs.corners[0].normal, XGLVector{});
        face.norm2 = mesh.normals.value(refs.corners[1].normal, XGLVector{});
        face.norm3 = mesh.normals.value(refs.corners[2].normal, XGLVector{});
        face.material = refs.material;
        faces.append(face);
    }
    return faces;
}

void XGLParser::readMaterial(Materials& materials) {
    const int id = toInt(xml.attributes().value(QLatin1String("ID")).toString());
    QHash<QString, QString> parts;
    while (xml.readNextStartElement()) {
        const QString tag = xml.name().toString();
        const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        // The first element of each kind counts.
        if (!parts.contains(tag))
            parts.insert(tag, text);
    }
    XGLMaterial material;
    material.alpha = parts.value(QStringLiteral("ALPHA")).toFloat();
    material.shininess = parts.value(QStringLiteral("SHINE")).toFloat();
    material.ambient = colourWithAlpha(parts.value(QStringLiteral("AMB")), material.alpha);
    material.diffuse = colourWithAlpha(parts.value(QStringLiteral("DIFF")), material.alpha);
    material.specular = colourWithAlpha(parts.value(QStringLiteral("SPEC")), material.alpha);
    material.emission = colourWithAlpha(parts.value(QStringLiteral("EMISS")), material.alpha);
    materials.insert(id, material);
}
