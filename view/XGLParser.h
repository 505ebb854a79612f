#pragma once

#include "view/XGLTypes.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QVector>
#include <QXmlStreamReader>
#include <vector>

class QIODevice;

// Reads the XGL subset of the aircraft model in one pass over the file. It
// gives what a reading of the whole document tree would give, without
// building that tree: at start-up the tree alone took longer than reading
// and compiling the model may.
//
// What is read: the root WORLD; its OBJECT children, each named by the text
// of OBJECT/DATA/STR when that STR's NAME is "Mesh Name", else "aa", "aaa",
// ... in document order; the first MESH of each with its P (indexed by
// position), N (keyed by ID) and F elements; and the MAT children of WORLD.
// Everything else is skipped. A file that is not well-formed gives nothing.
class XGLParser {
public:
    using Meshes = QMap<QString, QVector<XGLFace>>;
    using Materials = QHash<int, XGLMaterial>;

    // False, with nothing stored, when the document is not well-formed.
    bool parse(QIODevice* device, Meshes& meshes, Materials& materials);

private:
    // A corner as the file gives it, resolved once the whole mesh is known:
    // faces may come before the points and normals they refer to.
    struct CornerRefs {
        int point = 0;
        int normal = 0;
    };
    struct FaceRefs {
        CornerRefs corners[3];
        int material = 0;
    };
    struct MeshData {
        std::vector<XGLVector> points;
        QHash<int, XGLVector> normals;
        std::vector<FaceRefs> faces;
    };

    void readWorld(Meshes& meshes, Materials& materials);
    void readObject(Meshes& meshes);
    bool readLabel(QString& name);
    void readMesh(MeshData& mesh);
    FaceRefs readFace();
    CornerRefs readCorner();
    void readMaterial(Materials& materials);
    QString nextGeneratedName();
    static QVector<XGLFace> resolve(const MeshData& mesh);

    QXmlStreamReader xml;
    // Grows by one "a" for every object that carries no name of its own.
    QString generatedName = QStringLiteral("a");
};
