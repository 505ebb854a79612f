#include "view/TGAImage.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Writes a TGA file: the twelve-byte prefix with the given type (and id
// length), the size, the depth and the pixel bytes.
class TGAImageTest : public ::testing::Test {
protected:
    QString write(int type, int width, int height, int bits, const QByteArray& pixels,
                  int idLength = 0) {
        QByteArray bytes(18, '\0');
        bytes[0] = static_cast<char>(idLength);
        bytes[2] = static_cast<char>(type);
        bytes[12] = static_cast<char>(width & 0xff);
        bytes[13] = static_cast<char>(width >> 8);
        bytes[14] = static_cast<char>(height & 0xff);
        bytes[15] = static_cast<char>(height >> 8);
        bytes[16] = static_cast<char>(bits);
        const QString path = folder.filePath(QString::number(++count) + ".tga");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes + pixels);
        return path;
    }

    QTemporaryDir folder;
    int count = 0;
    TGAImage image;
};

// True colour comes out red first, 32 bits keep their alpha, grey is luminance.
TEST_F(TGAImageTest, ReadsTrueColourAndGreyPictures) {
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
        ASSERT_TRUE(
            image.load(write(expected.type, expected.width, 1, expected.bits, expected.pixels)));
        EXPECT_EQ(image.format, expected.format);
        EXPECT_EQ(image.components, expected.components);
        EXPECT_EQ(image.width, expected.width);
        EXPECT_EQ(image.height, 1);
        EXPECT_EQ(image.data, expected.data);
    }
}

TEST_F(TGAImageTest, RejectsWhatTheLoaderDoesNotRead) {
    const QByteArray pixel("\x01\x02\x03\x04", 4);
    EXPECT_FALSE(image.load(write(10, 1, 1, 24, pixel))) << "run-length encoded";
    EXPECT_FALSE(image.load(write(2, 1, 1, 24, pixel, 1))) << "non-zero id length";
    EXPECT_FALSE(image.load(write(2, 1, 1, 16, pixel))) << "16-bit true colour";
    EXPECT_FALSE(image.load(write(3, 1, 1, 16, pixel))) << "16-bit grey";
    EXPECT_FALSE(image.load(write(2, 2, 2, 24, pixel))) << "short pixel data";
    EXPECT_FALSE(image.load(folder.filePath("missing.tga")));
    EXPECT_FALSE(image.isLoaded());
}

} // namespace
