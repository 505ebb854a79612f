#pragma once

#include <GL/gl.h>
#include <QString>
#include <vector>

// An uncompressed true-colour or grey TGA picture, decoded to the byte order
// GL expects (red, green, blue[, alpha]) and kept for texture uploads.
class TGAImage {
public:
    // Fails on anything but an uncompressed true-colour (24 or 32 bits) or
    // grey (8 bits) picture, or on a short read; the image is then empty.
    bool load(const QString& path);
    bool isLoaded() const { return !data.empty(); }

    std::vector<unsigned char> data;
    int bytesPerPixel = 0;
    int width = 0;
    int height = 0;
    GLenum format = GL_RGB;
    int components = 0;
};
