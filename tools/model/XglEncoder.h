#pragma once

#include <QByteArray>

class AircraftModel;
class Mesh;

// Writes a model as XGL: one OBJECT per mesh, named through its "Mesh Name"
// string, with points, one normal per point and triangles that refer to
// both by their position in the object, then the materials.
class XglEncoder {
public:
    static QByteArray encode(const AircraftModel& model);

private:
    static void appendObject(QByteArray& xml, const Mesh& mesh);
    static void appendMaterials(QByteArray& xml, const AircraftModel& model);
};
