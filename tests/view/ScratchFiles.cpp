#include "tests/view/ScratchFiles.h"

#include <QFile>

QString ScratchFiles::write(const QByteArray& content) {
    const QString path = folder.filePath(QString::number(++count));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QString ScratchFiles::writeTga(int type, int width, int height, int bits, const QByteArray& pixels,
                               int idLength) {
    QByteArray header(18, '\0');
    header[0] = static_cast<char>(idLength);
    header[2] = static_cast<char>(type);
    header[12] = static_cast<char>(width & 0xff);
    header[13] = static_cast<char>(width >> 8);
    header[14] = static_cast<char>(height & 0xff);
    header[15] = static_cast<char>(height >> 8);
    header[16] = static_cast<char>(bits);
    return write(header + pixels);
}
