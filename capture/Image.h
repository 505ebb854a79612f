#pragma once

#include <QRgb>
#include <QVector>
#include <QtGlobal>
#include <cstdint>

namespace I {

// One picture handed between capture and analysis. A plain record on purpose:
// analysis reads the fields directly and frees frames it receives.
class Image {
public:
    enum Format : int32_t { Gray8 = 0, Rgb32 = 1, Empty = 2 };

    // Copies width x height pixels of the given format from src; any other
    // format code gives an Empty image.
    Image(const uchar* src, int32_t& width, int32_t& height, int32_t& format);
    // A zero-filled picture of the same size as shape, in the given format.
    Image(const Image& shape, int32_t& format);
    // Room for width x height pixels of the given format, left unset for the
    // caller to fill.
    Image(int32_t width, int32_t height, Format format);
    // Deep copy of the pixels; the colour table is shared, never copied.
    Image(const Image& other);
    ~Image();

    Image& operator=(const Image&) = delete;

    int32_t width;
    int32_t height;
    // Not owned: points at a palette that outlives every picture.
    QVector<QRgb>* colorTable;
    int32_t format;
    // Owned, allocated with new[]; null when the image is Empty.
    uchar* data;
    // When the camera took the picture, in nanoseconds on the monotonic clock
    // (capture/MonotonicClock.h); kUnknownTime for pictures that were never
    // captured, such as the analysis's own and those read from files. A copy
    // keeps it.
    int64_t captureTime = kUnknownTime;

    static constexpr int64_t kUnknownTime = -1;

private:
    void becomeEmpty();
    static qsizetype bytesPerPixel(int32_t format);
    qsizetype byteCount() const;
};

} // namespace I
