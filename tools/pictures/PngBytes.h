#pragma once

#include <QByteArray>
#include <QImage>

// The PNG file of a painted picture, as the generators write it.
class PngBytes {
public:
    static QByteArray of(const QImage& image);
};
