#include "tools/common/OutputFile.h"
#include "tools/pictures/GifEncoder.h"
#include "tools/pictures/IconPictures.h"
#include "tools/pictures/PngBytes.h"
#include "tools/pictures/SplashPicture.h"

#include <QImage>
#include <QString>

#include <cstdio>

// Writes the splash picture and the two icons into one folder:
//   zaredezid_make_pictures <folder>
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    // Transparent edges of the window icon are blended over a light grey,
    // close to the backgrounds it is shown on.
    const QRgb iconMatte = qRgb(0xE0, 0xE0, 0xE4);
    const bool written =
        OutputFile::write(folder + "/splash.png", PngBytes::of(SplashPicture::render())) &&
        OutputFile::write(folder + "/fileinfo-32.png", PngBytes::of(IconPictures::aboutIcon())) &&
        OutputFile::write(folder + "/favicon.gif",
                          GifEncoder::encode(IconPictures::emblem(), iconMatte));
    return written ? 0 : 1;
}
