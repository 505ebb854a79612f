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

TEST(ImageTest, FromBufferCopiesOneByteGrayOrFourByteRgbPixels) {
    struct Case {
        int32_t format;
        std::size_t bytesPerPixel;
    };
    for (const Case& known : {Case{Image::Gray8, 1}, Case{Image::Rgb32, 4}}) {
        const auto source = countingBytes(3 * 2 * known.bytesPerPixel);
        int32_t width = 3, height = 2, format = known.format;
        const Image image(source.data(), width, height, format);

        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.format, known.format);
        EXPECT_EQ(image.colorTable, nullptr);
        ASSERT_NE(image.data, source.data());
        EXPECT_EQ(pixelsOf(image, source.size()), source);
    }
}

// A camera reporting a zero size gives a frame without pixels and without a
// source buffer; copying nothing from nowhere must not touch the pointer.
TEST(ImageTest, FromNoBufferWithZeroSizeGivesAPictureWithoutPixels) {
    int32_t width = 0, height = 7, format = Image::Rgb32;
    Image image(nullptr, width, height, format);

    EXPECT_EQ(image.format, Image::Rgb32);
    EXPECT_EQ(image.width * image.height, 0);
    const Image copy(image);
    EXPECT_EQ(copy.width * copy.height, 0);
}

// An empty picture carries no palette, also when copied from one that had.
TEST(ImageTest, UnknownFormatCodeGivesEmptyImageFromABufferAShapeOrACopy) {
    const auto source = countingBytes(16);
    QVector<QRgb> palette = makeGrayPalette();
    int32_t width = 2, height = 2, unknown = 7, gray = Image::Gray8;
    const Image fromBuffer(source.data(), width, height, unknown);
    const Image shape(source.data(), width, height, gray);
    const Image fromShape(shape, unknown);
    Image withPalette(source.data(), width, height, unknown);
    withPalette.colorTable = &palette;
    const Image copy(withPalette);

    for (const Image* image : {&fromBuffer, &fromShape, &copy}) {
        EXPECT_EQ(image->format, Image::Empty);
        EXPECT_EQ(image->width, 0);
        EXPECT_EQ(image->height, 0);
        EXPECT_EQ(image->data, nullptr);
        EXPECT_EQ(image->colorTable, nullptr);
    }
}

TEST(ImageTest, BlankOfShapeIsZeroFilledInTheGivenFormat) {
    const auto source = countingBytes(4 * 3);
    int32_t width = 4, height = 3, gray = Image::Gray8, rgb = Image::Rgb32;
    const Image shape(source.data(), width, height, gray);
    Image blank(shape, rgb);

    EXPECT_EQ(blank.width, 4);
    EXPECT_EQ(blank.height, 3);
    EXPECT_EQ(blank.format, Image::Rgb32);
    EXPECT_EQ(blank.colorTable, nullptr);
    EXPECT_EQ(pixelsOf(blank, 48), std::vector<uchar>(48, 0));
}

TEST(ImageTest, CopySharesPaletteAndOwnsItsPixels) {
    QVector<QRgb> palette = makeGrayPalette();
    const auto source = countingBytes(3 * 3);
    int32_t width = 3, height = 3, format = Image::Gray8;
    auto original = std::make_unique<Image>(source.data(), width, height, format);
    original->colorTable = &palette;

    Image copy(*original);
    EXPECT_EQ(copy.colorTable, &palette);
    original.reset();
    EXPECT_EQ(pixelsOf(copy, 9), source);
}

TEST(GrayPaletteTest, HoldsTheOpaqueGreys) {
    const QVector<QRgb> palette = makeGrayPalette();
    ASSERT_EQ(palette.size(), 256);
    for (int level = 0; level < 256; ++level) {
        EXPECT_EQ(palette[level], 0xFF000000u + static_cast<QRgb>(level) * 0x010101u);
    }
}

} // namespace
