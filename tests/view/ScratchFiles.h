#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Files the view tests hand to the readers, in a folder that lives as long
// as this object does.
class ScratchFiles {
public:
    QString write(const QByteArray& content);
    QString write(const QString& text) { return write(text.toUtf8()); }
    // A TGA picture: the header with the given image type, size, depth and
    // id length, then the pixel bytes as given.
    QString writeTga(int type, int width, int height, int bits, const QByteArray& pixels,
                     int idLength = 0);
    // A path where no file is.
    QString missing() const { return folder.filePath("missing"); }

private:
    QTemporaryDir folder;
    int count = 0;
};
