// The aircraft model reader fed arbitrary files: it must read what it can,
// never crash, and draw whatever it read.
#include "fuzz/FuzzGLContext.h"
#include "fuzz/FuzzSupport.h"
#include "view/CXGLReader.h"

#include <QGuiApplication>
#include <cmath>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QGuiApplication(*argc, *argv);
    fuzz::makeGLContextCurrent();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeScratchFile(QStringLiteral("model.xgl"), data, size);
    CXGLReader reader(path);

    const QList<QString> names = reader.meshNames();
    int faceCount = 0;
    for (const QString& name : names)
        faceCount += reader.faces(name).size();
    const XGLBox box = reader.boundingBox();
    if (faceCount == 0) {
        for (int axis = 0; axis < 3; ++axis)
            fuzz::require(box.min[axis] == 0 && box.max[axis] == 0);
    }

    // Compiled into a display list and thrown away, as the view does at start.
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    for (const QString& name : names)
        reader.drawMesh(name);
    glEndList();
    glDeleteLists(list, 1);
    return 0;
}
