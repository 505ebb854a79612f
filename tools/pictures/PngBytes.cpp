#include "tools/pictures/PngBytes.h"

#include <QBuffer>

QByteArray PngBytes::of(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
