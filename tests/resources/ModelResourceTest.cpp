#include "tests/resources/ResourceFiles.h"

#include <QDomDocument>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <QVector3D>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kObjectCount = 9;
// The flight view scales the model by 500 and shows it in a view of about
// 400 pixels, so every coordinate must stay within 0.4 units.
constexpr double kLargestCoordinate = 0.4;

QVector3D vectorFrom(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 3) {
        return {};
    }
    return {parts[0].toFloat(), parts[1].toFloat(), parts[2].toFloat()};
}

struct Face {
    int points[3];
    int normals[3];
    int material;
};

// One OBJECT, read the way the model reader finds its parts.
struct ObjectContent {
    std::vector<QVector3D> points;
    QMap<int, QVector3D> normals;
    std::vector<Face> faces;
};

ObjectContent readObject(const QDomElement& object) {
    ObjectContent content;
    const QDomElement mesh = object.firstChildElement("MESH");
    for (QDomElement p = mesh.firstChildElement("P"); !p.isNull(); p = p.nextSiblingElement("P")) {
        content.points.push_back(vectorFrom(p.text()));
    }
    for (QDomElement n = mesh.firstChildElement("N"); !n.isNull(); n = n.nextSiblingElement("N")) {
        content.normals[n.attribute("ID").toInt()] = vectorFrom(n.text());
    }
    static const char* const kCorners[] = {"FV1", "FV2", "FV3"};
    for (QDomElement f = mesh.firstChildElement("F"); !f.isNull(); f = f.nextSiblingElement("F")) {
        Face face{};
        for (int corner = 0; corner < 3; ++corner) {
            const QDomElement fv = f.firstChildElement(kCorners[corner]);
            face.points[corner] = fv.firstChildElement("PREF").text().toInt();
            face.normals[corner] = fv.firstChildElement("NREF").text().toInt();
        }
        face.material = f.firstChildElement("MATREF").text().toInt();
        content.faces.push_back(face);
    }
    return content;
}

// The model resource, parsed once for all cases.
struct Model {
    Model() {
        parsed = document.setContent(ResourceFiles::read(":/gl/Scene/plane.xgl"));
        world = document.namedItem("WORLD").toElement();
        for (QDomElement object = world.firstChildElement("OBJECT"); !object.isNull();
             object = object.nextSiblingElement("OBJECT")) {
            objects.push_back(readObject(object));
        }
    }
    static const Model& instance() {
        static const Model parsedOnce;
        return parsedOnce;
    }

    QDomDocument document;
    bool parsed = false;
    QDomElement world;
    std::vector<ObjectContent> objects;
};

// Every corner refers to a point, normal and material that exist, and the
// normals agree with the winding the view culls by. The names are checked
// through the view's reader, which draws by them.
TEST(ModelResource, NineObjectsOfManyTrianglesWhoseCornersReferToWhatExists) {
    const Model& model = Model::instance();
    ASSERT_TRUE(model.parsed);
    ASSERT_EQ(static_cast<int>(model.objects.size()), kObjectCount);
    QSet<int> materials;
    for (QDomElement mat = model.world.firstChildElement("MAT"); !mat.isNull();
         mat = mat.nextSiblingElement("MAT")) {
        materials.insert(mat.attribute("ID").toInt());
        for (const char* colour : {"AMB", "DIFF", "SPEC", "EMISS"})
            EXPECT_EQ(mat.firstChildElement(colour).text().split(',').size(), 3);
        EXPECT_FALSE(mat.firstChildElement("ALPHA").isNull());
        EXPECT_FALSE(mat.firstChildElement("SHINE").isNull());
    }
    int faces = 0;
    int agreeing = 0;
    for (const ObjectContent& object : model.objects) {
        EXPECT_GT(object.faces.size(), 100u);
        EXPECT_EQ(static_cast<std::size_t>(object.normals.size()), object.points.size());
        for (const Face& face : object.faces) {
            QVector3D corners[3];
            QVector3D normalSum;
            for (int corner = 0; corner < 3; ++corner) {
                ASSERT_GE(face.points[corner], 0);
                ASSERT_LT(face.points[corner], static_cast<int>(object.points.size()));
                ASSERT_TRUE(object.normals.contains(face.normals[corner]));
                corners[corner] = object.points[static_cast<std::size_t>(face.points[corner])];
                normalSum += object.normals[face.normals[corner]];
            }
            ASSERT_TRUE(materials.contains(face.material)) << face.material;
            const QVector3D winding =
                QVector3D::crossProduct(corners[1] - corners[0], corners[2] - corners[0]);
            agreeing += QVector3D::dotProduct(winding, normalSum) > 0.0f ? 1 : 0;
            ++faces;
        }
    }
    EXPECT_GE(faces, 5000);
    EXPECT_LE(faces, 30000);
    EXPECT_GT(agreeing, faces * 99 / 100);
}

// Sized for the view: wider than a quarter of it, never beyond its edges.
TEST(ModelResource, UnitNormalsAndPointsThatFitTheFlightViewAtItsScale) {
    float lowestX = 0.0f;
    float highestX = 0.0f;
    for (const ObjectContent& object : Model::instance().objects) {
        for (const QVector3D& normal : object.normals)
            ASSERT_NEAR(normal.length(), 1.0, 1e-3);
        for (const QVector3D& point : object.points) {
            EXPECT_LE(std::max({std::fabs(point.x()), std::fabs(point.y()), std::fabs(point.z())}),
                      kLargestCoordinate);
            lowestX = std::min(lowestX, point.x());
            highestX = std::max(highestX, point.x());
        }
    }
    EXPECT_GT(highestX - lowestX, 0.2f);
}

} // namespace
