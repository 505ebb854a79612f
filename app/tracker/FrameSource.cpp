#include "app/tracker/FrameSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <vector>

namespace {

constexpr int kBytesPerPixel = 4;
constexpr int kUnusedByte = 3;
// A picture is decoded whole and then copied twice on its way to a frame,
// and a file of a few kilobytes can announce a picture of gigabytes. More
// than this, four times a 4K camera frame, is refused before decoding.
constexpr qint64 kMostPicturePixels = qint64(4096) * 4096 * 2;

QString tr(const char* text) {
    return QCoreApplication::translate("FrameSource", text);
}

QString sizeText(const QSize& size) {
    return QString("%1x%2").arg(size.width()).arg(size.height());
}

} // namespace

bool FrameSource::open(const TrackerOptions& options, QString& error) {
    frameLimit = options.frameLimit;
    const QFileInfo input(options.inputPath);
    if (!input.exists()) {
        error = tr("%1: no such file or folder").arg(options.inputPath);
        return false;
    }
    if (!input.isDir()) {
        framesLeft = options.repeat > 0 ? options.repeat : 1;
        // One decoded picture serves every repetition.
        return decode(options.inputPath, singleImage, error);
    }
    if (options.repeat > 0) {
        error = tr("%1: --repeat takes a single image, not a folder").arg(options.inputPath);
        return false;
    }
    const QDir folder(options.inputPath);
    for (const QString& name :
         folder.entryList({"*.png", "*.jpg", "*.jpeg"}, QDir::Files, QDir::Name)) {
        files.append(folder.filePath(name));
    }
    if (files.isEmpty()) {
        error = tr("%1: the folder holds no PNG or JPEG image").arg(options.inputPath);
        return false;
    }
    framesLeft = files.size();
    return true;
}

bool FrameSource::atEnd() const {
    return framesLeft <= 0 || (frameLimit > 0 && framesFed >= frameLimit);
}

std::unique_ptr<I::Image> FrameSource::next(QString& error) {
    if (atEnd()) {
        error = tr("no frame left");
        return nullptr;
    }
    --framesLeft;
    ++framesFed;
    if (files.isEmpty()) {
        return captureFrameFrom(singleImage);
    }
    const QString file = files.takeFirst();
    QImage picture;
    if (!decode(file, picture, error)) {
        return nullptr;
    }
    if (sequenceSize.isValid() && picture.size() != sequenceSize) {
        error = tr("%1: the picture is %2, but the sequence started at %3")
                    .arg(file, sizeText(picture.size()), sizeText(sequenceSize));
        return nullptr;
    }
    sequenceSize = picture.size();
    return captureFrameFrom(picture);
}

bool FrameSource::decode(const QString& file, QImage& picture, QString& error) {
    QImageReader reader(file);
    // The tracker must see the pixels as recorded, whatever the file says
    // about its orientation.
    reader.setAutoTransform(false);
    const QSize announced = reader.size();
    if (announced.isValid() &&
        qint64(announced.width()) * announced.height() > kMostPicturePixels) {
        error = tr("%1: the picture is %2, larger than the tracker takes")
                    .arg(file, sizeText(announced));
        return false;
    }
    picture = reader.read();
    if (picture.isNull()) {
        error = tr("%1: cannot read the image (%2)").arg(file, reader.errorString());
        return false;
    }
    return true;
}

std::unique_ptr<I::Image> captureFrameFrom(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    int32_t width = rgb.width();
    int32_t height = rgb.height();
    int32_t format = I::Image::Rgb32;
    const std::size_t rowBytes = std::size_t(width) * kBytesPerPixel;
    std::vector<uchar> pixels(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        // Format_RGB32 keeps each pixel as blue, green, red, 0xFF in memory on
        // this little-endian machine; capture leaves the fourth byte 0.
        uchar* row = pixels.data() + rowBytes * y;
        std::copy_n(rgb.constScanLine(y), rowBytes, row);
        for (std::size_t byte = kUnusedByte; byte < rowBytes; byte += kBytesPerPixel) {
            row[byte] = 0;
        }
    }
    return std::make_unique<I::Image>(pixels.data(), width, height, format);
}
