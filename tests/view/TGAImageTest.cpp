#include "view/TGAImage.h"

#include "tests/view/ScratchFiles.h"

#include <gtest/gtest.h>

namespace {

class TGAImageTest : public ::testing::Test {
protected:
    ScratchFiles files;
    TGAImage image;
};

// True colour comes out red first, 32 bits keep their alpha, grey is luminance.
TEST_F(TGAImageTest, ReadsTrueColourAndGreyPicturesAndRefusesTheRest) {
    struct Case {
        int type, width, bits;
        QByteArray pixels;
        GLenum format;
        int components;
        std::vector<unsigned char> data;
    };
    const Case cases[] = {
        {2, 2, 24, QByteArray("\x01\x02\x03\x04\x05\x06", 6), GL_RGB, 3, {3, 2, 1, 6, 5, 4}},
        {2, 1, 32, QByteArray("\x0a\x0b\x0c\x0d", 4), GL_RGBA, 4, {0x0c, 0x0b, 0x0a, 0x0d}},
        {3, 3, 8, QByteArray("\x10\x20\x30", 3), GL_LUMINANCE, 1, {0x10, 0x20, 0x30}},
    };
    for (const Case& expected : cases) {
        ASSERT_TRUE(image.load(
            files.writeTga(expected.type, expected.width, 1, expected.bits, expected.pixels)));
        EXPECT_EQ(image.format, expected.format);
        EXPECT_EQ(image.components, expected.components);
        EXPECT_EQ(image.width, expected.width);
        EXPECT_EQ(image.height, 1);
        EXPECT_EQ(image.data, expected.data);
    }

    // What the loader does not read is refused.
    const QByteArray pixel("\x01\x02\x03\x04", 4);
    EXPECT_FALSE(image.load(files.writeTga(10, 1, 1, 24, pixel))) << "run-length encoded";
    EXPECT_FALSE(image.load(files.writeTga(2, 1, 1, 24, pixel, 1))) << "non-zero id length";
    EXPECT_FALSE(image.load(files.writeTga(2, 1, 1, 16, pixel))) << "16-bit true colour";
    EXPECT_FALSE(image.load(files.writeTga(3, 1, 1, 16, pixel))) << "16-bit grey";
    EXPECT_FALSE(image.load(files.writeTga(2, 2, 2, 24, pixel))) << "short pixel data";
    EXPECT_FALSE(image.load(files.missing()));
    EXPECT_FALSE(image.isLoaded());
}

} // namespace
