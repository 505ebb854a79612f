#include "view/TGAImage.h"

#include <QFile>
#include <array>

namespace {

constexpr int kHeaderSize = 18;
constexpr int kTypeOffset = 2;
constexpr unsigned char kTrueColourType = 2;
constexpr unsigned char kGreyType = 3;

// The first twelve bytes must match exactly: no image id, no colour map,
// uncompressed, origin zero. Only the image type byte may vary.
bool acceptedPrefix(const QByteArray& header) {
    for (int i = 0; i < 12; ++i) {
        const auto byte = static_cast<unsigned char>(header[i]);
        if (i == kTypeOffset ? byte != kTrueColourType && byte != kGreyType : byte != 0)
            return false;
    }
    return true;
}

int littleEndian16(const QByteArray& header, int offset) {
    return static_cast<unsigned char>(header[offset]) |
           static_cast<unsigned char>(header[offset + 1]) << 8;
}

} // namespace

bool TGAImage::load(const QString& path) {
    data.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() != kHeaderSize || !acceptedPrefix(header))
        return false;

    const bool grey = static_cast<unsigned char>(header[kTypeOffset]) == kGreyType;
    const int bits = static_cast<unsigned char>(header[16]);
    if (grey) {
        format = GL_LUMINANCE;
        components = 1;
        if (bits != 8)
            return false;
    } else {
        format = bits == 32 ? GL_RGBA : GL_RGB;
        components = bits == 32 ? 4 : 3;
        if (bits != 32 && bits != 24)
            return false;
    }
    width = littleEndian16(header, 12);
    height = littleEndian16(header, 14);
    bytesPerPixel = bits / 8;

    // A header may announce up to 65535 x 65535 pixels; reading asks for the
    // whole amount at once, so a file that cannot hold it is refused first.
    const qint64 size = qint64(width) * height * bytesPerPixel;
    if (size == 0 || file.size() - kHeaderSize < size)
        return false;
    const QByteArray pixels = file.read(size);
    if (pixels.size() != size)
        return false;
    data.assign(pixels.begin(), pixels.end());
    // Stored blue-green-red; GL wants red first.
    if (bytesPerPixel >= 3) {
        for (size_t i = 0; i + 2 < data.size(); i += static_cast<size_t>(bytesPerPixel))
            std::swap(data[i], data[i + 2]);
    }
    return true;
}
