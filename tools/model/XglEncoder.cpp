#include "tools/model/XglEncoder.h"

#include "tools/model/AircraftModel.h"

#include <array>
#include <cmath>

namespace {

// Six decimals keep positions finer than a thousandth of a pixel after the
// flight view's scaling by 500, and give the same text on every machine.
constexpr int kPositionDecimals = 6;
constexpr int kNormalDecimals = 4;
constexpr int kColourDecimals = 3;

QByteArray number(double value, int decimals) {
    // Values that round to zero are written without a minus sign.
    const double smallest = 0.5 * std::pow(10.0, -decimals);
    return QByteArray::number(std::fabs(value) < smallest ? 0.0 : value, 'f', decimals);
}

QByteArray triple(double first, double second, double third, int decimals) {
    return number(first, decimals) + ',' + number(second, decimals) + ',' + number(third, decimals);
}

QByteArray triple(const Vec3& v, int decimals) {
    return triple(v.x, v.y, v.z, decimals);
}

QByteArray triple(const std::array<double, 3>& v, int decimals) {
    return triple(v[0], v[1], v[2], decimals);
}

QByteArray element(const char* name, const QByteArray& text) {
    return QByteArray("<") + name + '>' + text + "</" + name + '>';
}

} // namespace

QByteArray XglEncoder::encode(const AircraftModel& model) {
    QByteArray xml = "<WORLD>\n";
    // Scene settings other XGL viewers use; the flight view sets its own.
    xml += "<BACKGROUND><BACKCOLOR>0.8,0.7,1.0</BACKCOLOR></BACKGROUND>\n";
    xml += "<LIGHTING><AMBIENT>0.3,0.3,0.3</AMBIENT><DIRECTIONALLIGHT>"
           "<DIRECTION>0.0,-1.0,-0.5</DIRECTION><SPECULAR>1.0,1.0,1.0</SPECULAR>"
           "</DIRECTIONALLIGHT></LIGHTING>\n";
    for (const Mesh& mesh : model.meshes()) {
        appendObject(xml, mesh);
    }
    appendMaterials(xml, model);
    xml += "</WORLD>\n";
    return xml;
}

void XglEncoder::appendObject(QByteArray& xml, const Mesh& mesh) {
    xml += "<OBJECT>\n<DATA><STR NAME=\"Mesh Name\">" + mesh.name().toUtf8() + "</STR></DATA>\n";
    xml += "<MESH>\n";
    for (std::size_t i = 0; i < mesh.points().size(); ++i) {
        xml += "<P ID=\"" + QByteArray::number(static_cast<qulonglong>(i)) + "\">" +
               triple(mesh.points()[i], kPositionDecimals) + "</P>\n";
    }
    for (std::size_t i = 0; i < mesh.normals().size(); ++i) {
        xml += "<N ID=\"" + QByteArray::number(static_cast<qulonglong>(i)) + "\">" +
               triple(mesh.normals()[i], kNormalDecimals) + "</N>\n";
    }
    static const char* const kCornerNames[] = {"FV1", "FV2", "FV3"};
    for (const Mesh::Triangle& triangle : mesh.triangles()) {
        xml += "<F>";
        for (int corner = 0; corner < 3; ++corner) {
            // Each point has its own normal, so both references are the same.
            const QByteArray index = QByteArray::number(triangle.corners[corner]);
            xml += element(kCornerNames[corner], element("PREF", index) + element("NREF", index));
        }
        xml += element("MATREF", QByteArray::number(triangle.material)) + "</F>\n";
    }
    xml += "</MESH>\n</OBJECT>\n";
}

void XglEncoder::appendMaterials(QByteArray& xml, const AircraftModel& model) {
    const auto& materials = model.materials();
    for (std::size_t id = 0; id < materials.size(); ++id) {
        const AircraftModel::Material& material = materials[id];
        xml += "<MAT ID=\"" + QByteArray::number(static_cast<qulonglong>(id)) + "\">";
        xml += element("AMB", triple(material.ambient, kColourDecimals));
        xml += element("DIFF", triple(material.diffuse, kColourDecimals));
        xml += element("SPEC", triple(material.specular, kColourDecimals));
        xml += element("EMISS", triple(material.emission, kColourDecimals));
        xml += element("SHINE", number(material.shininess, kColourDecimals));
        xml += element("ALPHA", number(material.alpha, kColourDecimals));
        xml += "</MAT>\n";
    }
}
