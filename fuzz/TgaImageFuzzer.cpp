// The terrain texture loader fed arbitrary files: a picture it accepts must
// hold exactly the pixels its header announces, and a header that promises
// more than the file holds must be refused without reading that much.
#include "fuzz/FuzzSupport.h"
#include "view/TGAImage.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeScratchFile(QStringLiteral("texture.tga"), data, size);
    TGAImage image;
    if (!image.load(path))
        return 0;
    const size_t pixelBytes =
        static_cast<size_t>(image.width) * image.height * static_cast<size_t>(image.bytesPerPixel);
    fuzz::require(pixelBytes > 0 && image.data.size() == pixelBytes);
    fuzz::require(image.components == image.bytesPerPixel);
    return 0;
}
