#pragma once

#include "tests/view/ScratchFiles.h"

#include <QString>

// Builders for small XGL documents, so each reader test states its input.
namespace xgl {

QString point(int id, const QString& xyz);
QString normal(int id, const QString& xyz);
// A face whose corners refer to the given points and normals.
QString face(int p1, int n1, int p2, int n2, int p3, int n3, int material = -1);
// An object with the mesh body; an empty name leaves the object unnamed.
QString object(const QString& name, const QString& meshBody);
QString material(int id, const QString& amb, const QString& diff, const QString& specular,
                 const QString& emiss, const QString& shine, const QString& alpha);
// A mesh body with three points, three normals and one face over them.
QString triangleMesh(const QString& p1 = QStringLiteral("0,0,0"));

// Writes a document whose root holds the body.
QString writeWorld(ScratchFiles& files, const QString& body);

} // namespace xgl
