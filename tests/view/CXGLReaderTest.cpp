#include "view/CXGLReader.h"
#include "app/ProcessObjects.h"
#include "tests/view/XglDocument.h"

#include <QVector3D>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace xgl;

namespace {

class CXGLReaderTest : public ::testing::Test {
protected:
    ScratchFiles files;
};

using Corners = std::vector<XGLVector>;

// Unnamed objects are named "aa", "aaa", ... in document order, an object
// without faces uses up a name all the same, and the names come sorted. A
// label after the mesh still names the object; only its first mesh counts.
TEST_F(CXGLReaderTest, ObjectsAreNamedByTheirMeshNameLabelOrByCount) {
    const QString commentOnly = "<OBJECT><DATA><STR NAME=\"Comment\">Wing</STR></DATA><MESH>" +
                                triangleMesh() + "</MESH></OBJECT>";
    const QString late = "<OBJECT><MESH>" + triangleMesh("3,3,3") + "</MESH><MESH>" +
                         triangleMesh("4,4,4") +
                         "</MESH><DATA><STR NAME=\"Mesh Name\">Tail</STR></DATA></OBJECT>";
    const std::pair<QString, QList<QString>> cases[] = {
        {object("", triangleMesh()) + object("", triangleMesh()) +
             object("OBJECT1", triangleMesh()),
         {"OBJECT1", "aa", "aaa"}},
        {commentOnly, {"aa"}},
        {late, {"Tail"}},
        {"<OBJECT/>" + object("", point(0, "1,1,1")) + object("", triangleMesh()), {"aaaa"}},
    };
    for (const auto& [body, names] : cases)
        EXPECT_EQ(CXGLReader(writeWorld(files, body)).meshNames(), names) << body.toStdString();
    CXGLReader lateReader(writeWorld(files, late));
    ASSERT_EQ(lateReader.faces("Tail").size(), 1);
    EXPECT_EQ(lateReader.faces("Tail")[0].pos1, (XGLVector{3, 3, 3}));
}

// The bounding box spans every corner of every object.
TEST_F(CXGLReaderTest, ObjectsSharingANameShareOneMeshWithTheirOwnPointsAllInTheBox) {
    CXGLReader reader(writeWorld(files, object("Wing", triangleMesh("-1,2,3")) +
                                            object("Wing", triangleMesh("10,-20,0"))));

    const QVector<XGLFace> faces = reader.faces("Wing");
    ASSERT_EQ(faces.size(), 2);
    EXPECT_EQ((Corners{faces[0].pos1, faces[1].pos1}), (Corners{{-1, 2, 3}, {10, -20, 0}}));
    EXPECT_EQ((Corners{reader.boundingBox().min, reader.boundingBox().max}),
              (Corners{{-1, -20, 0}, {10, 2, 3}}));
}

// A face may come before the points and normals it uses. Points are indexed
// by their position in the mesh, not by their ID; normals are keyed by ID,
// and a repeated ID replaces the first.
TEST_F(CXGLReaderTest, FaceCornersReferToPointsByPositionAndToNormalsById) {
    const QString mesh = face(2, 9, 0, 4, 1, 9, 2) + point(7, "10,0,0") + point(3, "20,0,0") +
                         point(5, "30,0,0") + normal(4, "1,0,0") + normal(9, "0,1,0") +
                         normal(4, "0,0,1");

    CXGLReader reader(writeWorld(files, object("M", mesh)));

    const XGLFace face = reader.faces("M").value(0);
    EXPECT_EQ((Corners{face.pos1, face.pos2, face.pos3}),
              (Corners{{30, 0, 0}, {10, 0, 0}, {20, 0, 0}}));
    EXPECT_EQ((Corners{face.norm1, face.norm2, face.norm3}),
              (Corners{{0, 1, 0}, {0, 0, 1}, {0, 1, 0}}));
    EXPECT_EQ(face.material, 2);
}

TEST_F(CXGLReaderTest, OutOfRangeReferencesAndShortListsReadAsZeros) {
    const QString mesh = point(0, "5,6") + point(1, "1,2,3,4") + normal(0, "7") +
                         face(0, 0, 1, 3, -1, -2) + face(2, 0, 99, 0, 1, 0);

    CXGLReader reader(writeWorld(files, object("M", mesh)));

    const QVector<XGLFace> faces = reader.faces("M");
    ASSERT_EQ(faces.size(), 2);
    EXPECT_EQ((Corners{faces[0].pos1, faces[0].norm1, faces[0].pos2, faces[0].norm2, faces[0].pos3,
                       faces[1].pos1, faces[1].pos2}),
              (Corners{{5, 6, 0}, {7, 0, 0}, {1, 2, 3}, {}, {}, {}, {}}));
}

TEST_F(CXGLReaderTest, MaterialAlphaBecomesEveryColoursFourthComponentAndRepeatsReplace) {
    CXGLReader reader(writeWorld(
        files, object("M", triangleMesh()) +
                   material(3, "0.1,0.2,0.3", "0.4,0.5,0.6", "0.7,0.8,0.9", "1,0,1", "12", "0.5") +
                   material(1, "1,1,1", "1,1,1", "1,1,1", "1,1,1", "1", "1") +
                   material(1, "0,0,1", "0,0,0", "0,0,0", "0,0,0", "2", "1")));

    ASSERT_EQ(reader.materialTable().size(), 2);
    const XGLMaterial m = reader.materialTable().value(3);
    EXPECT_EQ(m.ambient, (XGLColour{0.1f, 0.2f, 0.3f, 0.5f}));
    EXPECT_EQ(m.diffuse, (XGLColour{0.4f, 0.5f, 0.6f, 0.5f}));
    EXPECT_EQ(m.specular, (XGLColour{0.7f, 0.8f, 0.9f, 0.5f}));
    EXPECT_EQ(m.emission, (XGLColour{1.0f, 0.0f, 1.0f, 0.5f}));
    EXPECT_FLOAT_EQ(m.shininess, 12.0f);
    EXPECT_FLOAT_EQ(m.alpha, 0.5f);
    EXPECT_EQ(reader.materialTable().value(1).ambient, (XGLColour{0.0f, 0.0f, 1.0f, 1.0f}));
}

TEST_F(CXGLReaderTest, OtherRootMalformedOrMissingFileYieldsNothing) {
    const QString paths[] = {files.write("<SCENE>" + object("M", triangleMesh()) +
                                         material(1, "1,1,1", "1,1,1", "1,1,1", "1,1,1", "1", "1") +
                                         "</SCENE>"),
                             files.write("<WORLD>" + object("M", triangleMesh()) + "<WORLD>"),
                             QStringLiteral("/nonexistent/plane.xgl")};
    for (const QString& path : paths) {
        const CXGLReader reader(path);
        EXPECT_TRUE(reader.meshNames().isEmpty()) << path.toStdString();
        EXPECT_TRUE(reader.materialTable().isEmpty()) << path.toStdString();
    }
}

QVector3D vectorOf(const XGLVector& v) {
    return QVector3D(float(v[0]), float(v[1]), float(v[2]));
}

// The aircraft generator is deterministic, so these counts are fixed. The
// flight view scales the model by 500 and shows it in a view of about 400
// pixels, so every coordinate stays within 0.4 units, and the model is wider
// than a quarter of the view. The reader reads a missing point or normal as
// zeros, where the model has no point and no normal is of unit length, and a
// missing colour as black. The normals agree with the winding the view culls by.
TEST(CompiledInModelTest, ReaderHoldsNineObjectsOfWholeFacesSizedForTheView) {
    constexpr int kFaces = 13956;
    constexpr int kMaterials = 10;
    constexpr double kLargestCoordinate = 0.4;

    EXPECT_EQ(xglReader.meshNames(),
              (QList<QString>{"OBJECT1", "OBJECT2", "OBJECT3", "OBJECT4", "OBJECT5", "OBJECT6",
                              "OBJECT7", "OBJECT8", "OBJECT9"}));
    const QHash<int, XGLMaterial>& materials = xglReader.materialTable();
    EXPECT_EQ(materials.size(), kMaterials);
    for (const XGLMaterial& material : materials) {
        EXPECT_GT(material.alpha, 0.0f);
        EXPECT_GT(*std::max_element(material.diffuse.begin(), material.diffuse.end() - 1), 0.0f);
    }
    const XGLBox box = xglReader.boundingBox();
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_GE(box.min[axis], -kLargestCoordinate) << axis;
        EXPECT_LE(box.max[axis], kLargestCoordinate) << axis;
    }
    EXPECT_GT(box.max[0] - box.min[0], 0.2);

    int faces = 0, agreeing = 0;
    for (const QString& name : xglReader.meshNames()) {
        EXPECT_GT(xglReader.faces(name).size(), 100) << name.toStdString();
        for (const XGLFace& face : xglReader.faces(name)) {
            ASSERT_TRUE(materials.contains(face.material)) << face.material;
            const QVector3D a = vectorOf(face.pos1), b = vectorOf(face.pos2),
                            c = vectorOf(face.pos3);
            ASSERT_FALSE(a.isNull() || b.isNull() || c.isNull());
            QVector3D normalSum;
            for (const XGLVector& normal : {face.norm1, face.norm2, face.norm3}) {
                ASSERT_NEAR(vectorOf(normal).length(), 1.0f, 1e-3f);
                normalSum += vectorOf(normal);
            }
            const QVector3D winding = QVector3D::crossProduct(b - a, c - a);
            agreeing += QVector3D::dotProduct(winding, normalSum) > 0.0f ? 1 : 0;
            ++faces;
        }
    }
    EXPECT_EQ(faces, kFaces);
    EXPECT_GT(agreeing, faces * 99 / 100);
}

} // namespace
