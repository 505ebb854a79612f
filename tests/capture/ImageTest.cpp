#include "capture/Image.h"
#include "capture/GrayPalette.h"

#include <gtest/gtest.h>
#include <vector>

using I::Image;

namespace {

std::vector<uchar> countingBytes(std::size_t count) {
    std::vector<uchar> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uchar>(i * 3 + 1);
    }
    return bytes;
}

std::vector<uchar> pixelsOf(const Image& image, std::size_t count) {
    return std::vector<uchar>(image.data, image.data + count);
}

// A picture owns a copy of its pixels; a copy shares the palette but not
// the pixels, which outlive the original.
TEST(ImageTest, BufferAndCopyOwnTheirPixelsAndCopiesShareThePalette) {
    QVector<QRgb> palette = makeGrayPalette();
    for (const auto& [format, bytesPerPixel] :
         {std::pair{Image::Gray8, 1}, std::pair{Image::Rgb32, 4}}) {
        const auto source = countingBytes(3 * 2 * bytesPerPixel);
        int32_t width = 3, height = 2, known = format;
        auto original = std::make_unique<Image>(source.data(), width, height, known);
        ASSERT_NE(original->data, source.data());
        EXPECT_EQ(pixelsOf(*original, source.size()), source);
        original->colorTable = &palette;
        const Image copy(*original);
        original.reset();
        EXPECT_EQ(copy.width * copy.height, 6);
        EXPECT_EQ(copy.format, format);
        EXPECT_EQ(copy.colorTable, &palette);
        EXPECT_EQ(pixelsOf(copy, source.size()), source);
    }
}

// A camera reporting a zero size gives a frame without pixels and without a
// source buffer; copying nothing from nowhere must not touch the pointer.
TEST(ImageTest, ZeroSizeAndBlankOfAShapeGiveNoPixelsOrZeroedOnes) {
    int32_t width = 0, height = 7, gray = Image::Gray8, rgb = Image::Rgb32;
    const Image empty(nullptr, width, height, rgb);
    EXPECT_EQ(Image(empty).width * Image(empty).height, 0);

    const auto source = countingBytes(4 * 3);
    width = 4;
    height = 3;
    const Image blank(Image(source.data(), width, height, gray), rgb);
    EXPECT_EQ(blank.width * blank.height, 12);
    EXPECT_EQ(blank.format, Image::Rgb32);
    EXPECT_EQ(pixelsOf(blank, 48), std::vector<uchar>(48, 0));
}

// An empty picture carries no palette, also when copied from one that had.
TEST(ImageTest, UnknownFormatCodeGivesEmptyImageFromABufferAShapeOrACopy) {
    const auto source = countingBytes(16);
    QVector<QRgb> palette = makeGrayPalette();
    int32_t width = 2, height = 2, unknown = 7, gray = Image::Gray8;
    const Image fromBuffer(source.data(), width, height, unknown);
    const Image fromShape(Image(source.data(), width, height, gray), unknown);
    Image withPalette(source.data(), width, height, unknown);
    withPalette.colorTable = &palette;
    const Image copy(withPalette);

    for (const Image* image : {&fromBuffer, &fromShape, &copy}) {
        EXPECT_EQ(image->format, Image::Empty);
        EXPECT_EQ(image->width + image->height, 0);
        EXPECT_EQ(image->data, nullptr);
        EXPECT_EQ(image->colorTable, nullptr);
    }
}

} // namespace
