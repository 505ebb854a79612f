#include "capture/Image.h"

#include <algorithm>
#include <cstring>

namespace I {

namespace {
bool isPixelFormat(int32_t format) {
    return format == Image::Gray8 || format == Image::Rgb32;
}
} // namespace

Image::Image(const uchar* src, int32_t& width, int32_t& height, int32_t& format)
    : Image(width, height, Format(format)) {
    // A picture without pixels may come with no source buffer at all.
    if (byteCount() > 0)
        std::memcpy(data, src, byteCount());
}

Image::Image(const Image& shape, int32_t& format)
    : Image(shape.width, shape.height, Format(format)) {
    std::fill_n(data, byteCount(), uchar(0));
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
    : Image(other.width, other.height, Format(other.format)) {
    if (isPixelFormat(format)) {
        colorTable = other.colorTable;
    }
    captureTime = other.captureTime;
    if (byteCount() > 0)
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
