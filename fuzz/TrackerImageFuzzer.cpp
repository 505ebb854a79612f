// The offline tracker's picture input fed arbitrary files, decoded the way
// zaredezid-track decodes them, by content. A picture that decodes must turn
// into a capture frame of width x height pixels with the fourth byte 0; any
// other file must be refused with a message naming it.
#include "app/tracker/FrameSource.h"
#include "fuzz/FuzzSupport.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TrackerOptions options;
    options.inputPath = fuzz::writeScratchFile(QStringLiteral("recorded-picture"), data, size);
    options.repeat = 2;

    FrameSource source;
    QString error;
    if (!source.open(options, error)) {
        fuzz::require(error.contains(options.inputPath));
        return 0;
    }
    for (int frame = 0; frame < options.repeat; ++frame) {
        const std::unique_ptr<I::Image> image = source.next(error);
        fuzz::require(image != nullptr);
        fuzz::require(image->format == I::Image::Rgb32 && image->width > 0 && image->height > 0);
        const std::size_t bytes = std::size_t(image->width) * std::size_t(image->height) * 4;
        for (std::size_t pixel = 3; pixel < bytes; pixel += 4)
            fuzz::require(image->data[pixel] == 0);
    }
    fuzz::require(source.atEnd());
    return 0;
}
