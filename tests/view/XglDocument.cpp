#include "tests/view/XglDocument.h"

namespace xgl {

QString point(int id, const QString& xyz) {
    return QStringLiteral("<P ID=\"%1\">%2</P>").arg(id).arg(xyz);
}

QString normal(int id, const QString& xyz) {
    return QStringLiteral("<N ID=\"%1\">%2</N>").arg(id).arg(xyz);
}

QString face(int p1, int n1, int p2, int n2, int p3, int n3, int material) {
    const auto corner = [](const char* tag, int p, int n) {
        return QStringLiteral("<%1><PREF>%2</PREF><NREF>%3</NREF></%1>")
            .arg(QLatin1String(tag))
            .arg(p)
            .arg(n);
    };
    return "<F><MATREF>" + QString::number(material) + "</MATREF>" + corner("FV1", p1, n1) +
           corner("FV2", p2, n2) + corner("FV3", p3, n3) + "</F>";
}

QString object(const QString& name, const QString& meshBody) {
    const QString label =
        name.isEmpty() ? QString() : "<DATA><STR NAME=\"Mesh Name\">" + name + "</STR></DATA>";
    return "<OBJECT>" + label + "<MESH>" + meshBody + "</MESH></OBJECT>";
}

QString material(int id, const QString& amb, const QString& diff, const QString& specular,
                 const QString& emiss, const QString& shine, const QString& alpha) {
    return QStringLiteral("<MAT ID=\"%1\"><AMB>%2</AMB><DIFF>%3</DIFF><SPEC>%4</SPEC>"
                          "<EMISS>%5</EMISS><SHINE>%6</SHINE><ALPHA>%7</ALPHA></MAT>")
        .arg(id)
        .arg(amb, diff, specular, emiss, shine, alpha);
}

QString triangleMesh(const QString& p1) {
    return point(0, p1) + point(1, "1,0,0") + point(2, "0,1,0") + normal(0, "0,0,1") +
           normal(1, "0,1,0") + normal(2, "1,0,0") + face(0, 0, 1, 1, 2, 2);
}

QString writeWorld(ScratchFiles& files, const QString& body) {
    return files.write("<WORLD>" + body + "</WORLD>");
}

} // namespace xgl
