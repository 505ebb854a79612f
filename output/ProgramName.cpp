#include "output/ProgramName.h"

#include <QCoreApplication>
#include <QFileInfo>

QString programName() {
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QString("zaredezid") : QFileInfo(path).fileName();
}
