#pragma once

#include "view/XGLTypes.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVector>

// Reads a model in the XML-based XGL format into triangles grouped by mesh
// name, plus a material table, and emits a mesh as immediate-mode GL calls.
// Only the subset of XGL the aircraft model uses is read; everything else in
// the file is ignored, and a file that cannot be read yields an empty model.
class CXGLReader : public QObject {
    Q_OBJECT
public:
    // A plain literal: the process-wide reader is built during static
    // initialisation, when other files' QString constants may not exist yet.
    static constexpr const char* kCompiledInModel = ":/gl/Scene/plane.xgl";
    // The model's only transform: file units to view units.
    static constexpr double kModelScale = 500.0;

    explicit CXGLReader(const QString& fileName = QLatin1String(kCompiledInModel));

    // Mesh names in ascending order, each once.
    QList<QString> meshNames() const;
    // Emits every triangle of the mesh `name` into the current GL context or
    // the display list being compiled. Needs a current context.
    void drawMesh(const QString& name);

    QVector<XGLFace> faces(const QString& name) const { return meshes.value(name); }
    const QHash<int, XGLMaterial>& materialTable() const { return materials; }
    // Box around every face corner of every mesh; all zeros for an empty model.
    XGLBox boundingBox() const;

private:
    QHash<int, XGLMaterial> materials;
    QMap<QString, QVector<XGLFace>> meshes;
};
