#include "capture/Image.h"

#include <cstring>

namespace I {

namespace {
bool isPixelFormat(int32_t format) {
    return format == Image::Gray8 || format == Image::Rgb32;
}
} // namespace

Image::Image(const uchar* src, int32_t& width, int32_t& height, int32_t& format)
    : width(width)
    , height(height)
    , colorTable(nullptr)
    , format(format)
    , data(nullptr) {
    if (!isPixelFormat(format)) {
        becomeEmpty();
        return;
    }
    data = new uchar[byteCount()];
    // A picture without pixels may come with no source buffer at all.
    if (byteCount() > 0)
        std::memcpy(data, src, byteCount());
}

Image::Image(const Image& shape, int32_t& format)
    : width(shape.width)
    , height(shape.height)
    , colorTable(nullptr)
    , format(format)
    , data(nullptr) {
    if (!isPixelFormat(format)) {
        becomeEmpty();
        return;
    }
    data = new uchar[byteCount()]();
}

Image::Image(int32_t width, int32_t height, Format format)
    : width(width)
    , height(height)
    , colorTable(nullptr)
    , format(format)
    , data(nullptr) {
    if (!isPixelFormat(format)) {
        becomeEmpty();
        return;
    }
    data = new uchar[byteCount()];
}

Image::Image(const Image& other)
    : width(other.width)
    , height(other.height)
    , colorTable(other.colorTable)
    , format(other.format)
    , data(nullptr)
    , captureTime(other.captureTime) {
    if (!isPixelFormat(format)) {
        becomeEmpty();
        return;
    }
    data = new uchar[byteCount()];
    std::memcpy(data, other.data, byteCount());
}

Image::~Image() {
    delete[] data;
}

void Image::becomeEmpty() {
    width = 0;
    height = 0;
    colorTable = nullptr;
    format = Empty;
    data = nullptr;
}

qsizetype Image::bytesPerPixel(int32_t format) {
    return format == Rgb32 ? 4 : 1;
}

qsizetype Image::byteCount() const {
    return qsizetype(width) * height * bytesPerPixel(format);
}

} // namespace I
